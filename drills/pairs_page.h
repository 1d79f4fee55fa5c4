// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "drills/drill_site.h"
#include "drills/pairs_drill.h"
#include "forms/page.h"

class QLabel;
class QPushButton;

namespace talmo {

// The Pairs drill: two large buttons for the two numbers of a pair, the
// verdict under them, one action button (Start, Replay, Next, New block),
// and at a block's end the score and a button for each pair missed. Keys:
// 1 or Left, 2 or Right answer; Space is the action button, and Enter too
// once the verdict shows.
class PairsPage final : public forms::Page, private PairsView {
  public:
    explicit PairsPage(const DrillSite& site);

    PairsDrill& Drill() { return drill_; }
    // Shown, the page's action button takes the focus.
    void Switched(bool shown) override;

  private:
    void ShowStep(Step step) override;
    void ShowTrial(int trial, int trials, int left, int right) override;
    void ShowVerdict(const std::string& text) override;
    void MarkPlaying(std::optional<int> button) override;
    void ShowResult(int right, int trials, std::span<const NumberPair> missed) override;
    void Refresh() override;
    void Heard() override { heard_ = std::chrono::steady_clock::now(); }
    // Keeps an answer in the learner's history.
    void Keep(const Trial& trial, int chosen, bool right);
    // The set and renditions of the settings, at once.
    void TakeSettings();

    // Runs a learner's input through the window's one queue.
    void Act(std::function<void()> action) { site_.actions.Run(std::move(action)); }

    DrillSite site_;
    std::chrono::steady_clock::time_point heard_;
    PairsDrill drill_;
    std::vector<QPushButton*> choices_;
    std::vector<QPushButton*> missed_;
    QPushButton* action_;
    QLabel* verdict_;
    std::string set_key_;
};

}  // namespace talmo
