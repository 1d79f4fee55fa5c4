// SPDX-License-Identifier: MIT
#include "practice/dictation_quiz.h"

#include <cmath>

#include "practice/learner_number.h"
#include "practice/practice_range.h"

namespace talmo {
namespace {

// The counters stop at their limit rather than overflow into negatives.
void Increment(std::int16_t& counter) {
    if (counter < DictationQuiz::kCounterLimit) {
        ++counter;
    }
}

}  // namespace

std::int32_t DrawDictationNumber(int second, float random, int modulus) {
    const std::int32_t k = second * 9999;
    const double p = static_cast<double>(k) * static_cast<double>(random);
    const auto q = [p] {
        const NearestRounding nearest;
        return static_cast<std::int64_t>(std::nearbyint(p));
    }();
    return static_cast<std::int32_t>(q % modulus);
}

void DictationQuiz::PlayRandom_Click() {
    const int second = clock_.SecondOfMinute();
    view_.SetFeedback(QuizView::Feedback::kNone);
    check_answer_ = true;
    view_.SetAnswerText("");
    view_.SetDetailsVisible(false);
    view_.SetRepeatVisible(false);
    const PracticeRange* range = PracticeRangeAt(view_.RangePosition());
    if (range == nullptr) {
        range = PracticeRangeAt(kRestartRangePosition);
    }
    rannum_ = DrawDictationNumber(second, random_.Next(), range->modulus);
    reader_.ReadNumber(rannum_);
    if (log_ != nullptr) {
        log_->Played(rannum_);
    }
    // Clicks and keys given while the number was spoken run here, and may
    // run any operation of this quiz, or switch the page.
    view_.ProcessPendingEvents();
    view_.FocusAnswer();
}

void DictationQuiz::CheckAnswer_Click() {
    if (!check_answer_) {
        return;
    }
    const std::string answer = view_.AnswerText();
    view_.SetCorrectAnswer(std::to_string(rannum_));
    view_.SetYourAnswer(answer);
    Increment(total_played_);
    view_.ShowTotalPlayed(total_played_);

    const auto value = ParseLearnerNumber(answer, decimal_separator_);
    if (!value) {
        messages_.Show(kNotANumberMessage, MessageBox::Icon::kInformation);
        view_.FocusPlay();
        return;
    }
    check_answer_ = false;
    // A number beyond the 32-bit range cannot be the one spoken: a wrong answer.
    const auto whole = RoundToInt32(*value);
    const bool right = whole && *whole == rannum_;
    if (log_ != nullptr) {
        log_->Answered(rannum_, answer, right);
    }
    if (right) {
        view_.SetDetailsVisible(false);
        view_.SetFeedback(QuizView::Feedback::kCorrect);
        Increment(total_correct_);
        view_.ShowTotalCorrect(total_correct_);
        Increment(consecutive_);
        view_.ShowConsecutive(consecutive_);
    } else {
        view_.SetRepeatVisible(true);
        view_.SetDetailsVisible(true);
        view_.SetFeedback(QuizView::Feedback::kWrong);
        consecutive_ = 0;
        view_.ShowConsecutive(consecutive_);
    }
    view_.FocusPlay();
}

void DictationQuiz::DictationAnswer_KeyUp(int key_code, int /*shift*/) {
    if (key_code == kEnterKey) {
        CheckAnswer_Click();
    }
}

void DictationQuiz::cmdbuttonRepeat_Click() {
    view_.SetFeedback(QuizView::Feedback::kNone);
    check_answer_ = true;
    view_.SetAnswerText("");
    view_.SetDetailsVisible(false);
    reader_.ReadNumber(rannum_);
    if (log_ != nullptr) {
        log_->Played(rannum_);
    }
    view_.SetRepeatVisible(false);
}

void DictationQuiz::cmdbuttonReset_Click() {
    total_correct_ = 0;
    consecutive_ = 0;
    total_played_ = 0;
    view_.ShowTotalCorrect(total_correct_);
    view_.ShowConsecutive(consecutive_);
    view_.ShowTotalPlayed(total_played_);
    view_.SetYourAnswer("");
    view_.SetCorrectAnswer("");
    view_.SetFeedback(QuizView::Feedback::kNone);
}

void DictationQuiz::RestartQuiz() {
    view_.SetRangePosition(kRestartRangePosition);
    view_.SetFeedback(QuizView::Feedback::kNone);
    view_.SetDetailsVisible(false);
    view_.SetRepeatVisible(false);
    check_answer_ = true;
    cmdbuttonReset_Click();  // zeroes the three counters
}

}  // namespace talmo
