// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <vector>

#include "drill_site.h"
#include "page.h"
#include "progress.h"

class QPushButton;

namespace talmo {

// The chart of the last days: accuracy per kind of number as lines over a
// 0-100 % scale, and the answers per day as bars below. Drawn in the
// palette's colours, so it reads in a dark theme too, and in the font's size.
class ProgressChart final : public QWidget {
  public:
    explicit ProgressChart(QWidget* parent) : QWidget(parent) {}
    void Show(ProgressFigures figures);
    const ProgressFigures& Figures() const { return figures_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    ProgressFigures figures_;
};

// Progress: the chart and the ten items missed most, each a button that
// plays it.
class ProgressPage final : public forms::Page {
  public:
    explicit ProgressPage(const DrillSite& site);

    ProgressChart& Chart() { return *chart_; }
    // Shown, the page tallies the history afresh.
    void Switched(bool shown) override;

  private:
    DrillSite site_;
    ProgressChart* chart_;
    std::vector<QPushButton*> missed_;
};

}  // namespace talmo
