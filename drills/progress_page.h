// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <vector>

#include "drills/drill_site.h"
#include "drills/progress.h"
#include "forms/page.h"

class QPushButton;
class QTableWidget;

namespace talmo {

// The chart of the last days and the week ahead: each kind's accuracy over
// the week to each day, as lines over a 0-100 % scale (a point on fewer
// than five answers hollow), the answers per day and the items coming due
// as bars below, a mark for today and a date a week. Drawn in the palette's
// colours, so it reads in a dark theme too, and in the font's size.
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

    // Shown, the page tallies the history afresh.
    void Switched(bool shown) override;
    void Stretch(QSize extra) override;

  private:
    DrillSite site_;
    void PlaceChart();
    void FillTable(const ProgressFigures& figures);

    ProgressChart* chart_;
    QTableWidget* table_;
    std::vector<std::pair<QWidget*, QRect>> laid_out_;  // at the window's least size
    std::vector<QPushButton*> missed_;
};

}  // namespace talmo
