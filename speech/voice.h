// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "speech/clip_store.h"

namespace talmo {

// One recorded speaker the program carries: a row of the voice table
// (resources/clips/voices.tsv) and a recording of every clip of the
// catalogue, from the folder of its name.
struct VoiceInfo {
    std::string_view name;  // its folder, and its name on the command line
    std::string_view description;
    std::string_view licence_holder;
    const ClipStore& clips;
};

// Every voice built into the program, in the table's order; the first
// speaks unless another is chosen.
std::span<const VoiceInfo> EmbeddedVoices();
// Their names, in the same order.
std::vector<std::string> VoiceNames();
// The embedded voice of that name, exactly; null when there is none.
const VoiceInfo* FindVoice(std::string_view name);

// The choice that draws every number from all the voices.
inline constexpr std::string_view kAllVoices = "all";

// A voice's name or "all" ("both" too, while there are two voices), as a
// choice: the voice's name, or "all". Anything else is no choice.
std::optional<std::string> ParseVoiceChoice(std::string_view text);

// What --voice takes, for a usage line: "male|female|all".
std::string VoiceChoices();

// The one line that answers a --voice value that is not a voice.
std::string BadVoiceMessage(std::string_view value);

// Which recordings say the next number or word. With one voice it is always
// that voice's catalogue; with several, each call draws one, so a number said
// in one call is never split between voices.
class VoicePicker {
  public:
    // One voice; implicit, so a catalogue can stand where a picker is asked for.
    // A catalogue given so has no name.
    VoicePicker(const ClipStore& only) : voices_{&only} {}
    explicit VoicePicker(const VoiceInfo& voice) : voices_{&voice.clips}, names_{voice.name} {}
    // Several voices: `draw` gives the index of the next to speak.
    VoicePicker(std::vector<const ClipStore*> voices, std::function<std::size_t()> draw,
                std::vector<std::string_view> names = {})
        : voices_(std::move(voices)), names_(std::move(names)), draw_(std::move(draw)) {}

    // The embedded catalogues for a choice (as ParseVoiceChoice gives it;
    // the first voice for anything else); with all, drawn uniformly from a
    // source of its own, seeded from the clock, so that no other random draw
    // in the program changes.
    static VoicePicker ForChoice(std::string_view choice);

    // The index of the voice to speak next, and the voice and name at an index.
    std::size_t Draw() const { return voices_.size() > 1 && draw_ ? draw_() % voices_.size() : 0; }
    const ClipStore& At(std::size_t i) const { return *voices_[i]; }
    std::string_view NameAt(std::size_t i) const { return i < names_.size() ? names_[i] : ""; }
    const ClipStore& Next() const { return At(Draw()); }

    // The catalogue whose clip names and texts stand for every voice's.
    const ClipStore& Catalogue() const { return *voices_.front(); }

  private:
    std::vector<const ClipStore*> voices_;
    std::vector<std::string_view> names_;  // as many as voices_, or none
    std::function<std::size_t()> draw_;
};

}  // namespace talmo
