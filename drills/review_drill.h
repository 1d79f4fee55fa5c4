// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "drills/drill_voices.h"
#include "drills/life_drill.h"
#include "drills/pair_sets.h"
#include "history/review_schedule.h"

namespace talmo {

// The Review drill's controls, as the drill drives them.
class ReviewView {
  public:
    virtual ~ReviewView() = default;
    virtual void ShowPlace(int item, int items) = 0;  // "3 of 11", from 1
    // A pair's two numbers to choose from, or something to type: a
    // "number", or a life drill's "time", "price", ...
    virtual void AskPair(int left, int right) = 0;
    virtual void AskTyped(std::string_view what) = 0;
    virtual void ShowVerdict(const std::string& text) = 0;
    virtual void Finished() = 0;  // nothing more is due
    virtual void Refresh() = 0;
    virtual void Heard() {}
};

// Brings back the items the learner missed, each as it was met: one number
// of a pair to choose between the two, a number to type, or a life drill's
// value said the way it was, to type. Every answer is reported under the
// item's own drill, so that the schedule moves it on. A right answer goes
// straight on to the next item; after a miss the learner hears the two
// numbers in the order the verdict names them, or the value as its drill
// replays it.
class ReviewDrill {
  public:
    using Answered = std::function<void(const ReviewItem& item, const std::string& answer,
                                        bool right, const Rendition& rendition)>;

    ReviewDrill(ReviewView& view, DrillSpeaker& speaker, DrillRandom& random,
                NumberWordsOf words = {}, SayingWordsOf saying_words = {})
        : view_(view),
          speaker_(speaker),
          random_(random),
          words_(std::move(words)),
          saying_words_(std::move(saying_words)) {}

    void Start(std::vector<ReviewItem> due, std::vector<Rendition> renditions);
    void Replay();
    void Choose(int button);                // a pair's left (0) or right (1)
    void Answer(const std::string& typed);  // a typed answer
    void Next();                            // after a verdict
    // Enter: on to the next item once the verdict shows.
    void Enter() {
        if (!waiting_) {
            Next();
        }
    }
    void OnAnswer(Answered answered) { answered_ = std::move(answered); }
    bool Waiting() const { return waiting_; }  // for an answer

  private:
    void Ask();
    void GoOn();  // the next item, the verdict left showing
    void Judge(const std::string& answer, bool right, const std::string& verdict);
    void Say(int number);
    void SayLife(std::span<const Saying> sayings);
    void AnswerLife(const std::string& typed);

    ReviewView& view_;
    DrillSpeaker& speaker_;
    DrillRandom& random_;
    NumberWordsOf words_;
    SayingWordsOf saying_words_;
    std::vector<ReviewItem> due_;
    std::vector<Rendition> renditions_;
    std::size_t at_ = 0;
    std::optional<NumberPair> pair_;  // the item's pair, if it is one
    std::optional<LifeTrial> life_;   // the item's value, if it is a life drill's
    int heard_ = 0;
    bool second_on_left_ = false;
    Rendition rendition_{};
    bool waiting_ = false;
    Answered answered_;
};

// "14/40" as a pair; nothing for a single number.
std::optional<NumberPair> ParsePair(const std::string& played);

}  // namespace talmo
