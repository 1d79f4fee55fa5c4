// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "dictation_drill.h"
#include "drill_settings.h"
#include "learner_history.h"
#include "page.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace talmo {

// The Dictation drill: Play, the answer box (Enter checks it), Repeat, and
// the verdict, which after a miss gives both numbers with their words.
class DictationDrillPage final : public forms::Page, private DictationDrillView {
  public:
    DictationDrillPage(QWidget* frame, DrillSpeaker& speaker, DrillRandom& random,
                       DrillSettings& settings, LearnerHistory& history);

    DictationDrill& Drill() { return drill_; }
    // Shown, the drill weighs the kinds afresh from the history.
    void Switched(bool shown) override;

  private:
    std::string AnswerText() override;
    void ClearAnswer() override;
    void ShowVerdict(const std::string& text) override;
    void Refresh() override;
    void Heard() override { heard_ = std::chrono::steady_clock::now(); }
    void Weigh();

    DrillSettings& settings_;
    LearnerHistory& history_;
    DictationDrill drill_;
    std::chrono::steady_clock::time_point heard_;
    QLineEdit* answer_;
    QPushButton* play_;
};

}  // namespace talmo
