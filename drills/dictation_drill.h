// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "drills/drill_voices.h"
#include "drills/number_kinds.h"
#include "drills/pair_sets.h"

namespace talmo {

// The Dictation drill's controls, as the drill drives them.
class DictationDrillView {
  public:
    virtual ~DictationDrillView() = default;
    virtual std::string AnswerText() = 0;
    virtual void ClearAnswer() = 0;
    virtual void ShowVerdict(const std::string& text) = 0;
    // Draws what was shown before a sound holds the program; input waits.
    virtual void Refresh() = 0;
    virtual void Heard() {}  // a sound has just ended
};

// The dictation quiz's task with three differences: numbers are drawn more
// often from the kinds the learner misses; after a miss the learner hears
// what they wrote and then what was said, each with its words; and a right
// answer goes straight on to the next number.
class DictationDrill {
  public:
    using Words = NumberWordsOf;
    // Told of every answer before its verdict shows.
    using Answered = std::function<void(int number, const std::string& answer, bool right,
                                        const Rendition& rendition)>;

    DictationDrill(DictationDrillView& view, DrillSpeaker& speaker, DrillRandom& random,
                   Words words)
        : view_(view), speaker_(speaker), random_(random), words_(std::move(words)) {}

    void SetRange(int max) { max_ = max; }
    int Range() const { return max_; }
    void SetWeights(const KindWeights& weights) { weights_ = weights; }
    void SetRenditions(std::vector<Rendition> renditions) { renditions_ = std::move(renditions); }
    void OnAnswer(Answered answered) { answered_ = std::move(answered); }

    void Play();    // a new number
    void Repeat();  // the number again
    void Check();   // the learner's answer
    // Enter: the answer while a number waits for one, else the next number.
    void Enter() { number_ ? Check() : Play(); }
    std::optional<int> Number() const { return number_; }

  private:
    void Say(int number);

    DictationDrillView& view_;
    DrillSpeaker& speaker_;
    DrillRandom& random_;
    Words words_;
    int max_ = 100;
    KindWeights weights_{};
    std::vector<Rendition> renditions_{Rendition{}};
    Rendition rendition_{};
    std::optional<int> number_;  // the number awaiting an answer
    Answered answered_;
};

// A typed answer as a number from 0 to 99999: digits, with a space between
// groups of three allowed and spaces around ignored; nothing for anything
// else.
std::optional<int> TypedNumber(const std::string& text);
// What to tell a learner whose answer is not a number TypedNumber takes.
std::string NotANumber(const std::string& text);

}  // namespace talmo
