// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "drills/dictation_drill.h"
#include "drills/drill_site.h"
#include "forms/page.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace talmo {

// The Dictation drill: Play, the answer box, Repeat, and the verdict, which
// after a miss gives both numbers with their words. The keys are those of
// every drill: in the answer box, which keeps the focus, Enter answers and
// Enter again goes on; Space plays the number again.
class DictationDrillPage final : public forms::Page, private DictationDrillView {
  public:
    explicit DictationDrillPage(const DrillSite& site);

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
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Act(std::function<void()> action) { site_.actions.Run(std::move(action)); }

    DrillSite site_;
    DictationDrill drill_;
    std::chrono::steady_clock::time_point heard_;
    QLineEdit* answer_;
    QPushButton* play_;
};

// Shows a typed-answer drill's verdict, told by how the drill words it
// ("Right: ...", "You wrote ...", else a hint), to the eye and to a screen
// reader at the answer box.
void ShowTypedVerdict(QLabel* label, const std::string& text, QWidget* answer);

}  // namespace talmo
