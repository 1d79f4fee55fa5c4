// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "clip_store.h"

namespace talmo {

// "male" or "female": the voice's folder of recordings and its name on the
// command line.
constexpr std::string_view VoiceName(Voice voice) {
    return voice == Voice::kFemale ? "female" : "male";
}

// The learner's choice of speaker: one of the two recorded voices, or both.
enum class VoiceChoice { kMale, kFemale, kBoth };

// "male", "female" or "both", exactly; anything else is no choice.
std::optional<VoiceChoice> ParseVoiceChoice(std::string_view text);

// The one line that answers a --voice value that is not a voice.
std::string BadVoiceMessage(std::string_view value);

// The one reader of --voice, for both programs. When args[i] is
// "--voice NAME" or "--voice=NAME", returns the value (empty when the name is
// missing) and leaves i on the last argument it took; otherwise nothing.
std::optional<std::string> TakeVoiceOption(std::span<const std::string> args, std::size_t& i);

// Which recordings say the next number or word. With one voice it is always
// that voice's catalogue; with both, each call draws one, so a number said
// in one call is never split between voices.
class VoicePicker {
  public:
    // One voice; implicit, so a catalogue can stand where a picker is asked for.
    VoicePicker(const ClipStore& only) : first_(&only), second_(&only) {}
    // Two voices: `second_voice` returns true when the second is to speak.
    VoicePicker(const ClipStore& first, const ClipStore& second, std::function<bool()> second_voice)
        : first_(&first), second_(&second), second_voice_(std::move(second_voice)) {}

    // The embedded catalogues for a choice; with both, drawn from a source
    // of its own, seeded from the clock, so that no other random draw in the
    // program changes.
    static VoicePicker ForChoice(VoiceChoice choice);

    const ClipStore& Next() const { return second_voice_ && second_voice_() ? *second_ : *first_; }

    // The catalogue whose clip names and texts stand for every voice's.
    const ClipStore& Catalogue() const { return *first_; }

  private:
    const ClipStore* first_;
    const ClipStore* second_;
    std::function<bool()> second_voice_;
};

}  // namespace talmo
