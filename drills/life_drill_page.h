// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>

#include "drills/drill_site.h"
#include "drills/life_drill.h"
#include "forms/page.h"

class QLineEdit;

namespace talmo {

// A drill of the numbers of daily life: Play, the answer box, Check, Repeat
// and the verdict, as on the Dictation page. The keys are those of every
// drill: in the answer box, which keeps the focus, Enter answers and Enter
// again goes on. Space plays the value again while the box is empty; once
// something is typed it is a space, as a phone number or a price may hold.
class LifeDrillPage final : public forms::Page, private DictationDrillView {
  public:
    LifeDrillPage(const DrillSite& site, const LifeDrillRow& row);

    LifeDrill& Drill() { return drill_; }
    void Switched(bool shown) override;

  private:
    std::string AnswerText() override;
    void ClearAnswer() override;
    void ShowVerdict(const std::string& text) override;
    void Refresh() override;
    void Heard() override { heard_ = std::chrono::steady_clock::now(); }
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Act(std::function<void()> action) { site_.actions.Run(std::move(action)); }

    DrillSite site_;
    LifeDrill drill_;
    std::chrono::steady_clock::time_point heard_;
    QLineEdit* answer_;
};

}  // namespace talmo
