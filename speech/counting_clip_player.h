// SPDX-License-Identifier: MIT
#pragma once

#include "speech/clip_player.h"

namespace talmo {

// Passes every clip on to another player and counts how each went: the
// engine skips a clip that cannot be played without a word, so a caller that
// wants to know wraps its player in this.
class CountingClipPlayer final : public ClipPlayer {
  public:
    explicit CountingClipPlayer(ClipPlayer& inner) : inner_(inner) {}

    bool PlaySync(ClipBytes image) override {
        const bool played = inner_.PlaySync(image);
        ++(played ? played_ : failed_);
        return played;
    }

    void BeginNumber() override { inner_.BeginNumber(); }
    void EndNumber() override { inner_.EndNumber(); }

    int Played() const { return played_; }
    int Failed() const { return failed_; }

  private:
    ClipPlayer& inner_;
    int played_ = 0;
    int failed_ = 0;
};

}  // namespace talmo
