// SPDX-License-Identifier: MIT
#include "progress_page.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include <algorithm>

#include "review_drill.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr std::size_t kMissedShown = 10;

// One hue a kind, mid-bright, so that it reads on a light or a dark ground.
const QColor kKindColours[kKindCount] = {QColor(0x4e, 0x9a, 0xe6), QColor(0xe6, 0x7e, 0x22),
                                         QColor(0x3c, 0xb3, 0x71), QColor(0xc0, 0x5c, 0xc8),
                                         QColor(0xd9, 0x4f, 0x4f), QColor(0x9a, 0x9a, 0x9a)};

std::vector<Control> ControlTable() {
    std::vector<Control> c{
        // clang-format off
        {.name = "fraChart", .kind = Kind::kFrame, .caption = "The last 30 days", .rect = {120, 60, 6240, 2760}},
        {.name = "lblMissed", .kind = Kind::kLabel, .caption = "Missed most (click to hear):", .rect = {120, 2880, 6240, 255}},
        // clang-format on
    };
    for (std::size_t i = 0; i < kMissedShown; ++i) {
        c.push_back({.name = "cmdMissedItem",
                     .index = static_cast<int>(i),
                     .kind = Kind::kButton,
                     .rect = {120 + static_cast<int>(i % 5) * 1248,
                              3180 + static_cast<int>(i / 5) * 420, 1200, 375},
                     .style = forms::kHidden});
    }
    return c;
}

}  // namespace

void ProgressChart::Show(ProgressFigures figures) {
    figures_ = std::move(figures);
    update();
}

void ProgressChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QFontMetrics fm(font());
    const int line = fm.height();
    const int days = static_cast<int>(figures_.days.size());
    // The legend on top, in as many rows as it needs; the accuracy lines;
    // the answer bars at the foot.
    int rows = 1;
    for (int x = 0, k = 0; k < int(kKindCount); ++k) {
        const int w =
            line + 4 +
            fm.horizontalAdvance(QString::fromUtf8(KindName(static_cast<NumberKind>(k)).data())) +
            line;
        if (x > 0 && x + w > width()) {
            ++rows;
            x = 0;
        }
        x += w;
    }
    const QRect legend(0, 0, width(), rows * (line + 2));
    const int left = fm.horizontalAdvance("100 %") + 6;
    const QRect lines(left, legend.bottom() + line / 2, width() - left - 4,
                      (height() - legend.height()) * 2 / 3 - line);
    const QRect bars(left, lines.bottom() + line, lines.width(),
                     height() - lines.bottom() - line - 2);
    if (days == 0 || lines.height() <= 0 || bars.height() <= 0) {
        return;
    }
    for (int x = 0, y = 0, k = 0; k < int(kKindCount); ++k) {
        const QString name = QString::fromUtf8(KindName(static_cast<NumberKind>(k)).data());
        if (x > 0 && x + line + 4 + fm.horizontalAdvance(name) + line > width()) {
            x = 0;
            y += line + 2;
        }
        p.setPen(QPen(kKindColours[k], 3));
        p.drawLine(x, y + line / 2, x + line, y + line / 2);
        x += line + 4;
        p.setPen(pal.color(QPalette::WindowText));
        p.drawText(x, y, fm.horizontalAdvance(name), line, Qt::AlignVCenter, name);
        x += fm.horizontalAdvance(name) + line;
    }
    p.setPen(QPen(pal.color(QPalette::Mid), 1));
    for (const int percent : {0, 50, 100}) {
        const int y = lines.bottom() - lines.height() * percent / 100;
        p.drawLine(lines.left(), y, lines.right(), y);
        p.setPen(pal.color(QPalette::WindowText));
        p.drawText(0, y - line / 2, left - 6, line, Qt::AlignRight | Qt::AlignVCenter,
                   QString("%1 %").arg(percent));
        p.setPen(QPen(pal.color(QPalette::Mid), 1));
    }
    const auto day_x = [&](int d) {
        return lines.left() + lines.width() * (2 * d + 1) / (2 * days);
    };
    for (std::size_t k = 0; k < kKindCount; ++k) {
        QPainterPath path;
        bool started = false;
        for (int d = 0; d < days; ++d) {
            const DayTally& day = figures_.days[static_cast<std::size_t>(d)];
            if (day.given[k] == 0) {
                continue;
            }
            const QPointF at(day_x(d),
                             lines.bottom() - lines.height() * day.right[k] / double(day.given[k]));
            started ? path.lineTo(at) : path.moveTo(at);
            started = true;
            p.setPen(Qt::NoPen);
            p.setBrush(kKindColours[k]);
            p.drawEllipse(at, 3, 3);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kKindColours[k], 2));
        p.drawPath(path);
    }
    int most = 1;
    for (const DayTally& day : figures_.days) {
        most = std::max(most, day.answers);
    }
    p.setPen(pal.color(QPalette::WindowText));
    p.drawText(0, bars.top(), left - 6, line, Qt::AlignRight, QString::number(most));
    const int bar_width = std::max(1, lines.width() / days - 2);
    for (int d = 0; d < days; ++d) {
        const int h = bars.height() * figures_.days[static_cast<std::size_t>(d)].answers / most;
        p.fillRect(day_x(d) - bar_width / 2, bars.bottom() - h, bar_width, h,
                   pal.color(QPalette::Highlight));
    }
}

ProgressPage::ProgressPage(const DrillSite& site) : Page(site.frame), site_(site) {
    form_.Add(ControlTable());
    auto* box = form_.Find("fraChart");
    chart_ = new ProgressChart(box);
    chart_->setAccessibleName("Accuracy per kind of number, and answers per day");
    missed_ = form_.Array<QPushButton>("cmdMissedItem", static_cast<int>(kMissedShown));
    form_.RequireText(missed_.front(), "17 000/70 000");
    for (std::size_t i = 0; i < missed_.size(); ++i) {
        connect(missed_[i], &QPushButton::clicked, this, [this, i] {
            site_.actions.Run([this, i] {
                const auto& items = chart_->Figures().most_missed;
                if (i >= items.size()) {
                    return;
                }
                if (const auto pair = ParsePair(items[i].played)) {
                    site_.speaker.Speak(pair->first, {});
                    site_.speaker.Pause(kComparePause);
                    site_.speaker.Speak(pair->second, {});
                } else {
                    site_.speaker.Speak(std::atoi(items[i].played.c_str()), {});
                }
            });
        });
    }
}

void ProgressPage::Switched(bool shown) {
    if (!shown) {
        return;
    }
    auto* box = form_.Find("fraChart");
    const int top = box->fontMetrics().height() + 4;
    chart_->setGeometry(6, top, box->width() - 12, box->height() - top - 6);
    const std::int64_t now = WallClockMs();
    chart_->Show(
        TallyProgress(site_.history.Store().Since(now - 37 * kDayMs), now, LocalCalendar{}));
    const auto& items = chart_->Figures().most_missed;
    for (std::size_t i = 0; i < missed_.size(); ++i) {
        if (i < items.size()) {
            missed_[i]->setText(QString::fromStdString(items[i].played));
            missed_[i]->setAccessibleName(QString("Hear %1, missed %2 times")
                                              .arg(QString::fromStdString(items[i].played))
                                              .arg(items[i].misses));
        }
        missed_[i]->setVisible(i < items.size());
    }
}

}  // namespace talmo
