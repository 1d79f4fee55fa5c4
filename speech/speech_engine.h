// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "speech/clip_player.h"
#include "speech/clip_store.h"
#include "speech/speaker.h"
#include "speech/voice.h"

namespace talmo {

// The one way the program makes a sound: clips from the store, played one at
// a time through the player, each call returning once its sound has ended.
// Each number or lone clip is said in the voice the picker gives it; a number
// said again right after itself keeps its voice, so a repeat sounds the same.
class SpeechEngine final : public Speaker {
  public:
    SpeechEngine(VoicePicker voices, ClipPlayer& player, SpeechStyle style = SpeechStyle::kClear)
        : voices_(std::move(voices)), player_(player), style_(style) {}

    // A clip that cannot be played is skipped silently.
    void PlayNumber(std::string_view Index, std::string_view Category) override;
    // Whole numbers in the engine's style.
    void SpeakNumber(int number) override { SpeakNumberIn(number, style_); }
    void SpeakNumberIn(int number, SpeechStyle style) override;
    // `style`: the one the saying's forms are of, for LastSaid.
    void SpeakSaying(const Saying& saying, SpeechStyle style) override;

    // What the last number was said in: the voice's name (empty before
    // anything was said, or for a catalogue given without a name) and the
    // style, for a record of what the learner heard.
    struct Said {
        std::string_view voice;
        SpeechStyle style = SpeechStyle::kClear;
    };
    Said LastSaid() const { return {voice_ ? voices_.NameAt(*voice_) : "", said_style_}; }

  private:
    // Plays one recording, inside whatever number is open.
    void Play(ClipBytes image);

    const VoicePicker voices_;
    ClipPlayer& player_;
    const SpeechStyle style_;
    // The voice of the sound now playing or last played, and the number it
    // said, if it was a number.
    std::optional<std::size_t> voice_;
    std::optional<int> last_number_;
    std::vector<SaidClip> last_saying_;
    SpeechStyle said_style_ = SpeechStyle::kClear;
};

}  // namespace talmo
