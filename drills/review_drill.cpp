// SPDX-License-Identifier: MIT
#include "drills/review_drill.h"

#include "drills/dictation_drill.h"

namespace talmo {

std::optional<NumberPair> ParsePair(const std::string& played) {
    const auto slash = played.find('/');
    if (slash == std::string::npos) {
        return std::nullopt;
    }
    const auto first = TypedNumber(played.substr(0, slash));
    const auto second = TypedNumber(played.substr(slash + 1));
    return first && second ? std::optional(NumberPair{*first, *second}) : std::nullopt;
}

void ReviewDrill::Start(std::vector<ReviewItem> due, std::vector<Rendition> renditions) {
    due_ = std::move(due);
    renditions_ = renditions.empty() ? std::vector<Rendition>{Rendition{}} : std::move(renditions);
    at_ = 0;
    view_.ShowVerdict("");
    Ask();
}

void ReviewDrill::Say(int number) {
    view_.Refresh();
    speaker_.Speak(number, rendition_);
    view_.Heard();
}

void ReviewDrill::SayLife(std::span<const Saying> sayings) {
    view_.Refresh();
    SaySideBySide(speaker_, sayings, rendition_);
    view_.Heard();
}

void ReviewDrill::Ask() {
    if (at_ >= due_.size()) {
        waiting_ = false;
        view_.Finished();
        return;
    }
    view_.ShowPlace(static_cast<int>(at_ + 1), static_cast<int>(due_.size()));
    const ReviewItem& item = due_[at_];
    rendition_ = renditions_[random_.Below(renditions_.size())];
    pair_ = ParsePair(item.played);
    life_.reset();
    if (const auto life = ParseLifeItem(item.drill, item.played)) {
        life_ = LifeTrialOf(*life, rendition_);
        rendition_ = life_->rendition;  // as it is said, for the history
        view_.AskTyped(life->row->what);
        waiting_ = true;
        SayLife({&life_->saying, 1});
        return;
    }
    if (pair_) {
        heard_ = random_.Below(2) == 0 ? pair_->first : pair_->second;
        second_on_left_ = random_.Below(2) == 1;
        view_.AskPair(second_on_left_ ? pair_->second : pair_->first,
                      second_on_left_ ? pair_->first : pair_->second);
    } else {
        heard_ = TypedNumber(item.played).value_or(0);
        view_.AskTyped("number");
    }
    waiting_ = true;
    Say(heard_);
}

void ReviewDrill::Replay() {
    if (waiting_ && life_) {
        SayLife({&life_->saying, 1});
    } else if (waiting_) {
        Say(heard_);
    }
}

void ReviewDrill::Judge(const std::string& answer, bool right, const std::string& verdict) {
    waiting_ = false;
    if (answered_) {
        answered_(due_[at_], answer, right, rendition_);
    }
    view_.ShowVerdict(verdict);
}

void ReviewDrill::Choose(int button) {
    if (!waiting_ || !pair_ || (button != 0 && button != 1)) {
        return;
    }
    const bool left_is_second = second_on_left_;
    const int chosen = (button == 0) == left_is_second ? pair_->second : pair_->first;
    const bool right = chosen == heard_;
    if (right) {
        Judge(std::to_string(chosen), true, "Right");
        GoOn();
        return;
    }
    Judge(std::to_string(chosen), false,
          "That was " + DrillSaid(heard_, words_) + "; you chose " + DrillSaid(chosen, words_));
    Say(heard_);
    speaker_.Pause(kComparePause);
    Say(chosen);
}

void ReviewDrill::AnswerLife(const std::string& typed) {
    LifeJudgement judged = JudgeLife(*life_, typed, saying_words_);
    if (!judged.right) {
        view_.ShowVerdict(judged.verdict);
        return;
    }
    Judge(typed, *judged.right, judged.verdict);
    if (*judged.right) {
        GoOn();
        return;
    }
    SayLife(judged.replay);
}

void ReviewDrill::Answer(const std::string& typed) {
    if (!waiting_ || pair_) {
        return;
    }
    if (life_) {
        AnswerLife(typed);
        return;
    }
    const auto number = TypedNumber(typed);
    if (!number) {
        view_.ShowVerdict(NotANumber(typed));
        return;
    }
    if (*number == heard_) {
        Judge(typed, true, "Right: " + DrillSaid(heard_, words_));
        GoOn();
        return;
    }
    Judge(typed, false,
          "You wrote " + DrillSaid(*number, words_) + "; it was " + DrillSaid(heard_, words_));
    Say(*number);
    speaker_.Pause(kComparePause);
    Say(heard_);
}

void ReviewDrill::Next() {
    if (!waiting_ && at_ < due_.size()) {
        view_.ShowVerdict("");
        GoOn();
    }
}

void ReviewDrill::GoOn() {
    ++at_;
    Ask();
}

}  // namespace talmo
