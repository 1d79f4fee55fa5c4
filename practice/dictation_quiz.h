// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "practice/practice_services.h"
#include "speech/speaker.h"

namespace talmo {

// The dictation page's controls, as the quiz drives them.
class QuizView {
  public:
    virtual ~QuizView() = default;
    enum class Feedback { kNone, kCorrect, kWrong };

    virtual int RangePosition() = 0;
    // Setting the position it already has changes nothing.
    virtual void SetRangePosition(int position) = 0;
    virtual std::string AnswerText() = 0;
    virtual void SetAnswerText(const std::string& text) = 0;
    virtual void SetFeedback(Feedback feedback) = 0;
    virtual void SetDetailsVisible(bool visible) = 0;
    virtual void SetYourAnswer(const std::string& text) = 0;
    virtual void SetCorrectAnswer(const std::string& text) = 0;
    virtual void SetRepeatVisible(bool visible) = 0;
    virtual void ShowTotalCorrect(int value) = 0;
    virtual void ShowTotalPlayed(int value) = 0;
    virtual void ShowConsecutive(int value) = 0;
    virtual void FocusAnswer() = 0;  // does nothing while the page is hidden
    virtual void FocusPlay() = 0;
    // One pass of the event loop: input given while a number was spoken.
    virtual void ProcessPendingEvents() = 0;
};

// The number a play draws: the second of the minute s times 9999, times the
// random value r, rounded half to even, modulo the range's modulus m.
std::int32_t DrawDictationNumber(int second, float random, int modulus);

// The dictation quiz: draws a number in the practice range, speaks it, checks
// the learner's answer and keeps the score. The operations are named after
// the events that run them.
class DictationQuiz {
  public:
    static constexpr std::int16_t kCounterLimit = 32767;
    static constexpr int kEnterKey = 13;
    static constexpr const char* kNotANumberMessage =
        "Please enter a number that corresponds to what you hear.";

    DictationQuiz(QuizView& view, QuizClock& clock, RandomSource& random, MessageBox& messages,
                  Speaker& reader, std::string decimal_separator)
        : view_(view),
          clock_(clock),
          random_(random),
          messages_(messages),
          reader_(reader),
          decimal_separator_(std::move(decimal_separator)) {}

    void PlayRandom_Click();
    void CheckAnswer_Click();
    void DictationAnswer_KeyUp(int key_code, int shift);
    void cmdbuttonRepeat_Click();
    void cmdbuttonReset_Click();
    void RestartQuiz();

    // Where answers are reported, if anywhere; the quiz is the same either way.
    void SetLog(AnswerLog* log) { log_ = log; }

    std::int32_t rannum() const { return rannum_; }
    std::int16_t TotalCorrect() const { return total_correct_; }
    std::int16_t TotalPlayed() const { return total_played_; }
    std::int16_t Consecutive() const { return consecutive_; }
    bool bCheckAnswer() const { return check_answer_; }

  private:
    QuizView& view_;
    QuizClock& clock_;
    RandomSource& random_;
    MessageBox& messages_;
    Speaker& reader_;
    std::string decimal_separator_;
    AnswerLog* log_ = nullptr;

    std::int32_t rannum_ = 0;
    std::int16_t total_correct_ = 0;
    std::int16_t total_played_ = 0;
    std::int16_t consecutive_ = 0;
    bool check_answer_ = true;
};

}  // namespace talmo
