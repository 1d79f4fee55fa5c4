// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <vector>

#include "drill_settings.h"
#include "learner_history.h"
#include "page.h"
#include "review_drill.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace talmo {

// Review: the items due, each asked as it was first met (a pair's two
// buttons, or a box to type a number in), its verdict, and Next.
class ReviewPage final : public forms::Page, private ReviewView {
  public:
    ReviewPage(QWidget* frame, DrillSpeaker& speaker, DrillRandom& random, DrillSettings& settings,
               LearnerHistory& history);

    ReviewDrill& Drill() { return drill_; }
    // Shown, the page counts what is due from the history.
    void Switched(bool shown) override;

  private:
    void ShowLeft(int items) override;
    void AskPair(int left, int right) override;
    void AskNumber() override;
    void ShowVerdict(const std::string& text) override;
    void Finished() override;
    void Refresh() override;
    void Heard() override { heard_ = std::chrono::steady_clock::now(); }
    std::vector<ReviewItem> Due();

    DrillSettings& settings_;
    LearnerHistory& history_;
    ReviewDrill drill_;
    std::chrono::steady_clock::time_point heard_;
    std::vector<QPushButton*> choices_;
    QLineEdit* answer_;
    QPushButton* next_;
    QLabel* verdict_;
};

}  // namespace talmo
