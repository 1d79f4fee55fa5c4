// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "clip_player.h"
#include "clip_store.h"
#include "voice.h"

namespace talmo {

// The one way the program makes a sound: clips from the store, played one at
// a time through the player, each call returning once its sound has ended.
// Each number or lone clip is said in the voice the picker gives it; a number
// said again right after itself keeps its voice, so a repeat sounds the same.
class SpeechEngine {
  public:
    SpeechEngine(VoicePicker voices, ClipPlayer& player)
        : voices_(std::move(voices)), player_(player) {}

    // Plays one clip. Note the order: the clip's name first, then its
    // category. A clip that cannot be played is skipped silently.
    void PlayNumber(std::string_view Index, std::string_view Category) const;

    // Says a whole number from 0 to 99999, clip after clip with no added
    // pause; anything outside that range says nothing.
    void SpeakNumber(int number) const;

    // The public entry the dictation quiz uses; it only forwards.
    void ReadNumber(std::int32_t number_in) const { SpeakNumber(number_in); }

  private:
    void PlayClip(std::string_view Index, std::string_view Category) const;

    const VoicePicker voices_;
    ClipPlayer& player_;
    // Set while SpeakNumber plays, so that its clips count as one number.
    mutable bool speaking_number_ = false;
    // The voice of the sound now playing or last played, and the number it
    // said, if it was a number.
    mutable const ClipStore* voice_ = nullptr;
    mutable std::optional<int> last_number_;
};

}  // namespace talmo
