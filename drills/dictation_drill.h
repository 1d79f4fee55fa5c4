// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "drill_voices.h"
#include "number_kinds.h"

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

// The dictation quiz's task with two differences: numbers are drawn more
// often from the kinds the learner misses, and after a miss the learner
// hears what they wrote and then what was said, each with its words.
class DictationDrill {
  public:
    using Words = std::function<std::string(int number)>;  // its Swedish words
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

// A typed answer as a number from 0 to 99999: digits, spaces between groups
// allowed; nothing for anything else.
std::optional<int> TypedNumber(const std::string& text);

}  // namespace talmo
