// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>

#include "speech/clip_player.h"

namespace talmo {

// Passes the clips on to another player and says whether the last number
// was heard: the engine skips a clip that cannot be played without a word,
// and a drill must not score an answer to a number that was never played.
// It can also be stopped from another thread: once stopped, every clip is
// refused at once until it is resumed.
class HeardPlayer final : public ClipPlayer {
  public:
    explicit HeardPlayer(ClipPlayer& inner) : inner_(inner) {}

    bool PlaySync(ClipBytes image) override {
        if (stopped_) {
            return false;
        }
        const bool played = inner_.PlaySync(image);
        // A clip cut short on purpose was heard as far as the learner wanted.
        if (!played && !stopped_) {
            failed_ = true;
        }
        return played;
    }
    void BeginNumber() override {
        failed_ = false;
        inner_.BeginNumber();
    }
    void EndNumber() override { inner_.EndNumber(); }
    void Stop() override {
        stopped_ = true;
        inner_.Stop();
    }
    void Resume() { stopped_ = false; }

    // Whether every clip of the last number reached the sound server.
    bool LastHeard() const { return !failed_; }

  private:
    ClipPlayer& inner_;
    std::atomic<bool> stopped_ = false;
    std::atomic<bool> failed_ = false;
};

}  // namespace talmo
