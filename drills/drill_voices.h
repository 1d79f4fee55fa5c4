// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <random>
#include <span>
#include <vector>

#include "clip_player.h"
#include "speech_engine.h"
#include "speech_style.h"
#include "voice.h"

namespace talmo {

// How a drill says a number: in which of the program's voices (an index of
// EmbeddedVoices()) and in which style.
struct Rendition {
    std::size_t voice = 0;
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

// Says a number as a rendition asks; returns once it has been heard.
class DrillSpeaker {
  public:
    virtual ~DrillSpeaker() = default;
    virtual void Speak(int number, const Rendition& rendition) = 0;
};

// The real one: a speech engine for each voice, over one player.
class VoicesSpeaker final : public DrillSpeaker {
  public:
    VoicesSpeaker(std::span<const VoiceInfo> voices, ClipPlayer& player);
    void Speak(int number, const Rendition& rendition) override;

  private:
    std::vector<std::unique_ptr<SpeechEngine>> engines_;
};

}  // namespace talmo
