// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <vector>

#include "drills/drill_site.h"
#include "drills/review_drill.h"
#include "forms/page.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace talmo {

// Review: the items due, each asked as it was first met (a pair's two
// buttons, or a box to type a number in), its verdict, and Next.
class ReviewPage final : public forms::Page, private ReviewView {
  public:
    explicit ReviewPage(const DrillSite& site);

    ReviewDrill& Drill() { return drill_; }
    // Shown, the page counts what is due from the history.
    void Switched(bool shown) override;

  private:
    void ShowPlace(int item, int items) override;
    // What is due, on the line above the drill, and the tab's count.
    void ShowDue();
    void AskPair(int left, int right) override;
    void AskTyped(std::string_view what) override;
    void ShowVerdict(const std::string& text) override;
    void Finished() override;
    void Refresh() override;
    void Heard() override { heard_ = std::chrono::steady_clock::now(); }
    ReviewPlan Plan();

    void Act(std::function<void()> action) { site_.actions.Run(std::move(action)); }

    DrillSite site_;
    ReviewDrill drill_;
    std::chrono::steady_clock::time_point heard_;
    std::vector<QPushButton*> choices_;
    QLineEdit* answer_;
    QPushButton* next_;
    QLabel* verdict_;
};

}  // namespace talmo
