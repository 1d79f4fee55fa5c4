// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drills/drill_voices.h"
#include "speech/speech_style.h"

namespace talmo {

// The drills' style choice: one style, or each trial drawing one. Its
// values are the speech styles' own, in their order, then kBoth.
enum class StyleChoice { kClear, kEveryday, kBoth };
static_assert(static_cast<std::size_t>(StyleChoice::kBoth) == kSpeechStyles.size(),
              "StyleChoice: one choice a speech style, then kBoth");

// Each style alone, then both: as the Settings page lists them.
inline constexpr auto kEveryStyleChoice = [] {
    std::array<StyleChoice, kSpeechStyles.size() + 1> choices{};
    for (std::size_t i = 0; i < choices.size(); ++i) {
        choices[i] = static_cast<StyleChoice>(i);
    }
    return choices;
}();

std::string_view StyleChoiceName(StyleChoice choice);  // "clear", "everyday", "both"
std::optional<StyleChoice> ParseStyleChoice(std::string_view name);

// What the learner chose for the drills. They are the drills' own: the main
// window keeps its voice and style. The defaults give the most variety.
struct DrillChoices {
    std::string voice = "all";  // a voice's name, or "all"
    StyleChoice style = StyleChoice::kBoth;
    std::string pair_set = "teens-tens";  // a PairSet's key
    friend bool operator==(const DrillChoices&, const DrillChoices&) = default;
};

// Asks the learner whether to do something, on a button named for it
// ("Forget history") beside Cancel, which is the default; true to do it.
using Confirm = std::function<bool(const std::string& question, const std::string& action)>;

// Every rendition the choices allow, voices in the program's order.
std::vector<Rendition> Renditions(const DrillChoices& choices);

// Where the choices are kept between runs.
class ChoiceStore {
  public:
    virtual ~ChoiceStore() = default;
    virtual DrillChoices Load() = 0;
    virtual void Save(const DrillChoices& choices) = 0;
    // Whether a change is kept for next time.
    virtual bool Keeps() const { return true; }
};

// The choices while the drills are open: read once, kept at every change,
// and every listener told at once.
class DrillSettings {
  public:
    explicit DrillSettings(ChoiceStore& store) : store_(store), choices_(store.Load()) {}

    const DrillChoices& Choices() const { return choices_; }
    bool Keeps() const { return store_.Keeps(); }
    void Set(const DrillChoices& choices);
    void OnChange(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

  private:
    ChoiceStore& store_;
    DrillChoices choices_;
    std::vector<std::function<void()>> listeners_;
};

}  // namespace talmo
