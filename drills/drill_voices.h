// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "speech/clip_player.h"
#include "speech/heard_player.h"
#include "speech/life_readers.h"
#include "speech/speech_engine.h"
#include "speech/speech_style.h"
#include "speech/voice.h"

namespace talmo {

// How a drill says a number: in which of the program's voices (its name, as
// EmbeddedVoices() gives it) and in which style.
struct Rendition {
    std::string_view voice;
    SpeechStyle style = SpeechStyle::kClear;
    friend bool operator==(const Rendition&, const Rendition&) = default;
};

// The drills' random draws; tests give a scripted one.
class DrillRandom {
  public:
    virtual ~DrillRandom() = default;
    // A whole number from 0 up to, not including, n (n > 0).
    virtual std::size_t Below(std::size_t n) = 0;
};

// Seeded afresh at every start, so that no two sessions drill alike.
class SeededRandom final : public DrillRandom {
  public:
    SeededRandom() : engine_(std::random_device{}()) {}
    std::size_t Below(std::size_t n) override {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_);
    }

  private:
    std::mt19937 engine_;
};

// Says a number as a rendition asks; returns once it has been heard, or
// cut short.
class DrillSpeaker {
  public:
    virtual ~DrillSpeaker() = default;
    virtual void Speak(int number, const Rendition& rendition) = 0;
    // A clock time, price, phone number or year, one way of saying it: the
    // saying's clips are already of the rendition's style.
    virtual void SpeakSaying(const Saying& /*saying*/, const Rendition& /*rendition*/) {}
    // Silence: between two numbers to be compared.
    virtual void Pause(std::chrono::milliseconds /*length*/) {}
    // Whether the last number reached the sound server: an answer to one
    // that did not is a guess, and is not kept.
    virtual bool LastReached() const { return true; }
    // Cuts the sound under way short, and refuses every sound and pause after
    // it until Resume.
    virtual void Stop() {}
    virtual void Resume() {}
};

// Long enough that two numbers played to be compared are heard as two
// words, nitton and nitti included.
inline constexpr std::chrono::milliseconds kComparePause{650};

// The real one: a speech engine for each voice, over one player. Given a
// way to wait, it plays on a thread of its own and waits by running the
// window's events, so that the window stays live while a number plays.
class VoicesSpeaker final : public DrillSpeaker {
  public:
    // Runs the program's events until done() is true.
    using Wait = std::function<void(const std::function<bool()>& done)>;

    // A rendition in a voice not among `voices` is said in the first.
    VoicesSpeaker(std::span<const VoiceInfo> voices, ClipPlayer& player, Wait wait = {});
    void Speak(int number, const Rendition& rendition) override;
    void SpeakSaying(const Saying& saying, const Rendition& rendition) override;
    void Pause(std::chrono::milliseconds length) override;
    bool LastReached() const override { return player_.LastHeard(); }
    void Stop() override;
    void Resume() override;

  private:
    void Run(const std::function<void()>& job);
    SpeechEngine* EngineOf(const Rendition& rendition);

    HeardPlayer player_;
    Wait wait_;
    std::vector<std::pair<std::string_view, std::unique_ptr<SpeechEngine>>> engines_;
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stop_ = false;
};

// Runs a drill's actions one at a time. An action asked for while another
// plays its sound cuts that sound short and runs as soon as the other has
// returned, so that a key that answers never waits for a number's end.
class DrillActions {
  public:
    explicit DrillActions(DrillSpeaker& speaker) : speaker_(speaker) {}
    void Run(std::function<void()> action);
    // Called once the actions asked for have all run.
    void OnDone(std::function<void()> done) { done_ = std::move(done); }

  private:
    DrillSpeaker& speaker_;
    std::function<void()> done_;
    bool running_ = false;
    std::function<void()> next_;  // the last one asked for meanwhile
};

}  // namespace talmo
