// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drills/dictation_drill.h"
#include "drills/drill_voices.h"
#include "speech/life_readers.h"

namespace talmo {

// How a drill draws a value, in a form ReadLifeValue takes.
std::string DrawTime(DrillRandom& random);
std::string DrawPrice(DrillRandom& random);
std::string DrawPhone(DrillRandom& random);
std::string DrawYear(DrillRandom& random);

// One drill of the numbers of daily life, as the Drills window lists it.
struct LifeDrillRow {
    LifeKind kind;
    const char* tab;         // its tab's caption
    std::string_view drill;  // its answers' name in the history
    std::string_view what;   // "time": Play a time, the time you heard
    std::string_view hint;   // for a typed text that is not a value of the kind
    std::string_view about;  // the page's note
    std::string (*draw)(DrillRandom& random);
};

// One drill a kind, in LifeKind's order.
// clang-format off
inline constexpr LifeDrillRow kLifeDrills[] = {
    {LifeKind::kTime, "C&lock", "clock", "time",
     "Type the time you heard in hours and minutes: 15:20, 15.20 or 3.20.",
     "Swedes tell the time by the half hour: fem i halv fyra is 15:25. You hear a time as a clock "
     "says it (tjugo över tre) or as a timetable does (femton tjugo); type it as 15:20 or 3.20. "
     "After a miss you hear every way of saying it, one after the other.", &DrawTime},
    {LifeKind::kPrice, "Pr&ices", "prices", "price",
     "Type the price you heard in kronor and öre: 49,90, 49.90 or 49.",
     "Prices are said in full (fyrtionio kronor och nittio öre) or short (fyrtionio och nittio), "
     "and in everyday speech whole kronor are often spänn. Type the price as 49,90, or 49 for "
     "whole kronor.", &DrawPrice},
    {LifeKind::kPhone, "Phone n&umbers", "phone", "phone number",
     "Type the phone number you heard in digits: 0701234567 or 070-123 45 67.",
     "A mobile number is said in groups: the 07 prefix digit by digit, three digits, then two "
     "pairs as numbers (fyrtiofem sextiosju). Type its ten digits, grouped as you like.",
     &DrawPhone},
    {LifeKind::kYear, "Y&ears", "years", "year",
     "Type the year you heard in digits, from 1000 to 2099.",
     "Years before 2000 are said in hundreds (nittonhundraåttiofyra); after it both tvåtusen and "
     "tjugohundra are heard, and tjugo tjugofyra too. Type the year in digits.", &DrawYear},
};
// clang-format on
static_assert(std::size(kLifeDrills) == kLifeKinds.size(), "kLifeDrills: one drill a kind");

constexpr const LifeDrillRow& LifeDrillOf(LifeKind kind) {
    return kLifeDrills[static_cast<std::size_t>(kind)];
}

// A life drill's item as the history keeps it: the value as ReadLifeValue
// writes it, then after a "|" the way it was said, so that Review says it
// again the same way: "15:20|from the half".
struct LifeItem {
    const LifeDrillRow* row;
    std::string value;
    std::string way;
};
std::string LifePlayed(std::string_view value, std::string_view way);
// The item an answer of a life drill keeps; nothing for another drill's.
std::optional<LifeItem> ParseLifeItem(std::string_view drill, std::string_view played);

// A value as it is put to the learner: said one way, in a rendition.
struct LifeTrial {
    const LifeDrillRow* row;
    std::string value;
    Saying saying;
    Rendition rendition;
};

// The item said its way in the rendition's style; in another style if only
// that one has the way (spänn is everyday speech), else the reader's first way.
LifeTrial LifeTrialOf(const LifeItem& item, Rendition rendition);

// The Swedish words the drills show for a saying.
using SayingWordsOf = std::function<std::string(const Saying& saying)>;

// What a typed answer to a trial comes to.
struct LifeJudgement {
    std::optional<bool> right;   // nothing: the text is no value of the kind
    std::string verdict;         // "Right: ...", "You wrote ...; it was ...", or the hint
    std::vector<Saying> replay;  // after a miss, what the learner hears
};
// After a miss the learner hears the value again: a time in every way it is
// said (tjugo över tre, tio i halv fyra and femton tjugo for 15:20), for
// the half hours are what they mix up; anything else as it was heard.
LifeJudgement JudgeLife(const LifeTrial& trial, std::string_view typed, const SayingWordsOf& words);

// Says each saying in turn, kComparePause apart.
void SaySideBySide(DrillSpeaker& speaker, std::span<const Saying> sayings,
                   const Rendition& rendition);

// A drill of one kind of the numbers of daily life, as Dictation is for
// numbers: Play draws a value and one of its ways of saying it, the learner
// types what they heard, a right answer goes straight on to the next.
class LifeDrill {
  public:
    // Told of every answer before its verdict shows.
    using Answered =
        std::function<void(const LifeTrial& trial, const std::string& answer, bool right)>;

    LifeDrill(const LifeDrillRow& row, DictationDrillView& view, DrillSpeaker& speaker,
              DrillRandom& random, SayingWordsOf words)
        : row_(row), view_(view), speaker_(speaker), random_(random), words_(std::move(words)) {}

    const LifeDrillRow& Row() const { return row_; }
    void SetRenditions(std::vector<Rendition> renditions) { renditions_ = std::move(renditions); }
    void OnAnswer(Answered answered) { answered_ = std::move(answered); }

    void Play();    // a new value
    void Repeat();  // the value again
    void Check();   // the learner's answer
    // Enter: the answer while a value waits for one, else the next value.
    void Enter() { trial_ ? Check() : Play(); }
    const std::optional<LifeTrial>& Trial() const { return trial_; }

  private:
    void Say(std::span<const Saying> sayings, const Rendition& rendition);

    const LifeDrillRow& row_;
    DictationDrillView& view_;
    DrillSpeaker& speaker_;
    DrillRandom& random_;
    SayingWordsOf words_;
    std::vector<Rendition> renditions_{Rendition{}};
    std::optional<LifeTrial> trial_;  // the value awaiting an answer
    Answered answered_;
};

}  // namespace talmo
