// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <memory>
#include <string>

#include "forms/page.h"
#include "practice/dictation_quiz.h"
#include "practice/practice_services.h"
#include "speech/speaker.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace talmo {

// Page 2, "Listen and Enter": the dictation quiz and its practice range, as
// controls of the window that the quiz drives.
class DictationPage final : public forms::Page, private QuizView {
  public:
    DictationPage(QWidget* frame, QuizClock& clock, RandomSource& random, MessageBox& messages,
                  Speaker& reader, std::string decimal_separator);

    DictationQuiz& Quiz() { return quiz_; }

    // The window's load step and every page switch, whichever page is
    // chosen, start the quiz afresh.
    void Load() override { quiz_.RestartQuiz(); }
    void Switched(bool) override { quiz_.RestartQuiz(); }

    // Shows the range of the slider's position, beside it and in its tip.
    void sliderPracticeRange_Change();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int RangePosition() override;
    void SetRangePosition(int position) override;
    std::string AnswerText() override;
    void SetAnswerText(const std::string& text) override;
    void SetFeedback(Feedback feedback) override;
    void SetDetailsVisible(bool visible) override;
    void SetYourAnswer(const std::string& text) override;
    void SetCorrectAnswer(const std::string& text) override;
    void SetRepeatVisible(bool visible) override;
    void ShowTotalCorrect(int value) override;
    void ShowTotalPlayed(int value) override;
    void ShowConsecutive(int value) override;
    void ShowCount(const char* box_name, int value);
    void FocusAnswer() override;
    void FocusPlay() override;
    void ProcessPendingEvents() override;

    DictationQuiz quiz_;
    QSlider* slider_;
    QLabel* slider_value_;
    QLineEdit* answer_;
    QPushButton* play_;
    QPushButton* repeat_;
    QLabel* correct_;
    QLabel* incorrect_;
};

}  // namespace talmo
