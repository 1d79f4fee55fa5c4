// SPDX-License-Identifier: MIT
#include "drills/drill_voices.h"

#include <atomic>
#include <thread>
#include <utility>

namespace talmo {

VoicesSpeaker::VoicesSpeaker(std::span<const VoiceInfo> voices, ClipPlayer& player, Wait wait)
    : player_(player), wait_(std::move(wait)) {
    for (const VoiceInfo& voice : voices) {
        engines_.emplace_back(voice.name,
                              std::make_unique<SpeechEngine>(VoicePicker(voice), player_));
    }
}

void VoicesSpeaker::Run(const std::function<void()>& job) {
    if (!wait_) {
        job();
        return;
    }
    std::atomic<bool> done = false;
    std::thread playing([&] {
        job();
        done = true;
    });
    wait_([&] { return done.load(); });
    playing.join();
}

SpeechEngine* VoicesSpeaker::EngineOf(const Rendition& rendition) {
    if (engines_.empty()) {
        return nullptr;
    }
    SpeechEngine* engine = engines_.front().second.get();
    for (const auto& [name, each] : engines_) {
        if (name == rendition.voice) {
            engine = each.get();
        }
    }
    return engine;
}

void VoicesSpeaker::Speak(int number, const Rendition& rendition) {
    if (SpeechEngine* engine = EngineOf(rendition)) {
        Run([&] { engine->SpeakNumberIn(number, rendition.style); });
    }
}

void VoicesSpeaker::SpeakSaying(const Saying& saying, const Rendition& rendition) {
    if (SpeechEngine* engine = EngineOf(rendition)) {
        Run([&] { engine->SpeakSaying(saying, rendition.style); });
    }
}

void VoicesSpeaker::Pause(std::chrono::milliseconds length) {
    Run([&] {
        std::unique_lock lock(mutex_);
        stopped_.wait_for(lock, length, [this] { return stop_; });
    });
}

void VoicesSpeaker::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    stopped_.notify_all();
    player_.Stop();
}

void VoicesSpeaker::Resume() {
    const std::lock_guard lock(mutex_);
    stop_ = false;
    player_.Resume();
}

void DrillActions::Run(std::function<void()> action) {
    if (running_) {
        next_ = std::move(action);
        speaker_.Stop();
        return;
    }
    running_ = true;
    for (auto act = std::move(action); act; act = std::exchange(next_, {})) {
        speaker_.Resume();
        act();
    }
    running_ = false;
    if (done_) {
        done_();
    }
}

}  // namespace talmo
