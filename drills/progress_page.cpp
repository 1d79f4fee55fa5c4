// SPDX-License-Identifier: MIT
#include "drills/progress_page.h"

#include <QCheckBox>
#include <QDate>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

#include "drills/life_drill.h"
#include "drills/review_drill.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr std::size_t kMissedShown = 10;

// A kind's colour, from its row.
QColor Colour(std::size_t kind) {
    const Rgb rgb = KindColour(static_cast<NumberKind>(kind));
    return QColor(rgb.red, rgb.green, rgb.blue);
}

std::vector<Control> ControlTable() {
    std::vector<Control> c{
        // clang-format off
        {.name = "fraChart", .kind = Kind::kFrame, .caption = "The last 30 days and the week ahead", .rect = {120, 60, 6240, 2760}},
        {.name = "lblMissed", .kind = Kind::kLabel, .caption = "Missed most (click to hear):", .rect = {120, 2880, 3960, 255}},
        {.name = "chkTable", .kind = Kind::kCheckBox, .caption = "Show as a ta&ble", .rect = {4200, 2865, 2160, 285}},
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

// A calendar day as the chart and its table name it: "12 Dec".
QString DayName(std::int64_t day) {
    return QLocale(QLocale::English).toString(QDate(1970, 1, 1).addDays(day), "d MMM");
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
    const QColor ink = pal.color(QPalette::WindowText);
    const QFontMetrics fm(font());
    const int line = fm.height();
    const int days = static_cast<int>(figures_.days.size());
    const int ahead = static_cast<int>(figures_.coming.size()) - 1;  // after today
    const int places = days + ahead;
    // The legend on top, in as many rows as it needs; the accuracy lines;
    // the bars of answers and of items coming due; the dates at the foot.
    struct Key {
        QString name;
        QColor colour;
        bool bar;
    };
    std::vector<Key> keys;
    for (const NumberKind k : ShownKinds(figures_)) {
        keys.push_back(
            {QString::fromUtf8(KindName(k).data()), Colour(static_cast<std::size_t>(k)), false});
    }
    const QColor answered = pal.color(QPalette::Highlight);
    QColor due = answered;
    due.setAlpha(110);
    keys.push_back({"answers a day", answered, true});
    keys.push_back({QString("due for review (today %1)").arg(figures_.coming[0]), due, true});
    int rows = 1;
    for (int x = 0; const Key& key : keys) {
        const int w = line + 4 + fm.horizontalAdvance(key.name) + line;
        if (x > 0 && x + w > width()) {
            ++rows;
            x = 0;
        }
        x += w;
    }
    const int legend = rows * (line + 2);
    const int left = fm.horizontalAdvance("100 %") + 6;
    const int room = height() - legend - 2 * line;  // less the dates
    const QRect lines(left, legend + line / 2, width() - left - 4, room * 3 / 5 - line);
    const QRect bars(left, lines.bottom() + line, lines.width(),
                     height() - lines.bottom() - 2 * line - 4);
    if (days == 0 || lines.height() <= 0 || bars.height() <= 0) {
        return;
    }
    for (int x = 0, y = 0; const Key& key : keys) {
        if (x > 0 && x + line + 4 + fm.horizontalAdvance(key.name) + line > width()) {
            x = 0;
            y += line + 2;
        }
        if (key.bar) {
            p.fillRect(x, y + line / 4, line, line / 2, key.colour);
        } else {
            p.setPen(QPen(key.colour, 3));
            p.drawLine(x, y + line / 2, x + line, y + line / 2);
        }
        x += line + 4;
        p.setPen(ink);
        p.drawText(x, y, fm.horizontalAdvance(key.name), line, Qt::AlignVCenter, key.name);
        x += fm.horizontalAdvance(key.name) + line;
    }
    const auto slot_x = [&](int d) {
        return lines.left() + lines.width() * (2 * d + 1) / (2 * places);
    };
    p.setPen(QPen(pal.color(QPalette::Mid), 1));
    for (const int percent : {0, 50, 100}) {
        const int y = lines.bottom() - lines.height() * percent / 100;
        p.drawLine(lines.left(), y, lines.right(), y);
        p.setPen(ink);
        p.drawText(0, y - line / 2, left - 6, line, Qt::AlignRight | Qt::AlignVCenter,
                   QString("%1 %").arg(percent));
        p.setPen(QPen(pal.color(QPalette::Mid), 1));
    }
    // Today: a mark across both parts, the days to come to its right.
    const int today_x = slot_x(days - 1);
    p.setPen(QPen(ink, 1, Qt::DashLine));
    p.drawLine(today_x, lines.top(), today_x, bars.bottom());
    p.setPen(ink);
    p.drawText(today_x + 3, lines.top(), fm.horizontalAdvance("today") + 2, line, Qt::AlignLeft,
               "today");
    // Each kind's accuracy over the week to each day; a point on fewer than
    // five answers is drawn hollow, as too few to go by.
    for (std::size_t k = 0; k < kKindCount; ++k) {
        QPainterPath path;
        bool started = false;
        for (int d = 0; d < days; ++d) {
            const DayTally& day = figures_.days[static_cast<std::size_t>(d)];
            if (day.week_given[k] == 0) {
                continue;
            }
            const QPointF at(slot_x(d), lines.bottom() - lines.height() * day.week_right[k] /
                                                             double(day.week_given[k]));
            started ? path.lineTo(at) : path.moveTo(at);
            started = true;
            p.setPen(QPen(Colour(k), 1.5));
            p.setBrush(day.week_given[k] >= 5 ? QBrush(Colour(k)) : pal.base());
            p.drawEllipse(at, 3, 3);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Colour(k), 2));
        p.drawPath(path);
    }
    int most = 1;
    for (const DayTally& day : figures_.days) {
        most = std::max(most, day.answers);
    }
    for (const int count : figures_.coming) {
        most = std::max(most, count);
    }
    p.setPen(ink);
    p.drawText(0, bars.top(), left - 6, line, Qt::AlignRight, QString::number(most));
    const int bar_width = std::max(1, lines.width() / places - 2);
    const auto bar = [&](int slot, int count, const QColor& colour) {
        const int h = bars.height() * count / most;
        p.fillRect(slot_x(slot) - bar_width / 2, bars.bottom() - h, bar_width, h, colour);
    };
    for (int d = 0; d < days; ++d) {
        bar(d, figures_.days[static_cast<std::size_t>(d)].answers, answered);
    }
    for (int d = 1; d <= ahead; ++d) {
        bar(days - 1 + d, figures_.coming[static_cast<std::size_t>(d)], due);
    }
    // A date a week, counted back from today, and the last day ahead.
    for (int d = days - 1; d >= 0; d -= 7) {
        const QString date = DayName(figures_.days[static_cast<std::size_t>(d)].day);
        const int w = fm.horizontalAdvance(date);
        p.drawText(std::clamp(slot_x(d) - w / 2, 0, width() - w), bars.bottom() + 2, w, line,
                   Qt::AlignCenter, date);
    }
}

ProgressPage::ProgressPage(const DrillSite& site) : Page(site.frame), site_(site) {
    form_.Add(ControlTable());
    auto* box = form_.Find("fraChart");
    chart_ = new ProgressChart(box);
    chart_->setAccessibleName(
        "Accuracy per kind of number over a week, answers per day and "
        "items coming due: shown as a table too");
    // The chart's figures as a screen reader can read them, in its place.
    table_ = new QTableWidget(box);
    table_->setAccessibleName("Progress by day");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->hide();
    auto* as_table = form_.Get<QCheckBox>("chkTable");
    connect(as_table, &QCheckBox::toggled, this, [this](bool on) {
        chart_->setVisible(!on);
        table_->setVisible(on);
    });
    missed_ = form_.Array<QPushButton>("cmdMissedItem", static_cast<int>(kMissedShown));
    form_.RequireText(missed_.front(), "17 000/70 000");
    for (std::size_t i = 0; i < missed_.size(); ++i) {
        connect(missed_[i], &QPushButton::clicked, this, [this, i] {
            site_.actions.Run([this, i] {
                const auto& items = chart_->Figures().most_missed;
                if (i >= items.size()) {
                    return;
                }
                if (const auto life = ParseLifeItem(items[i].drill, items[i].played)) {
                    // In the style that has its way: spänn is everyday only.
                    const LifeTrial trial = LifeTrialOf(*life, {});
                    site_.speaker.SpeakSaying(trial.saying, trial.rendition);
                } else if (const auto pair = ParsePair(items[i].played)) {
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

void ProgressPage::Stretch(QSize extra) {
    // The chart takes the room; what is under it keeps to the foot.
    if (laid_out_.empty()) {
        for (QWidget* w : form_.Find("fraChart")
                              ->parentWidget()
                              ->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            laid_out_.emplace_back(w, w->geometry());
        }
    }
    for (const auto& [widget, laid] : laid_out_) {
        widget->setGeometry(widget->objectName() == "fraChart"
                                ? laid.adjusted(0, 0, extra.width(), extra.height())
                                : laid.translated(0, extra.height()));
    }
    PlaceChart();
}

void ProgressPage::PlaceChart() {
    auto* box = form_.Find("fraChart");
    const int top = box->fontMetrics().height() + 4;
    const QRect inside(6, top, box->width() - 12, box->height() - top - 6);
    chart_->setGeometry(inside);
    table_->setGeometry(inside);
}

void ProgressPage::Switched(bool shown) {
    if (!shown) {
        return;
    }
    PlaceChart();
    const std::int64_t now = WallClockMs();
    const LocalCalendar calendar;
    HistoryStore& store = site_.history.Store();
    ProgressFigures figures = TallyProgress(store.Since(now - 37 * kDayMs), now, calendar);
    figures.coming =
        PlanReview(store.OfMissedItems(), site_.history.SessionMs(), now, calendar).coming;
    chart_->Show(figures);
    FillTable(figures);
    const auto& items = chart_->Figures().most_missed;
    for (std::size_t i = 0; i < missed_.size(); ++i) {
        if (i < items.size()) {
            // A life drill's item by its value: the way is heard.
            const auto life = ParseLifeItem(items[i].drill, items[i].played);
            const QString item = QString::fromStdString(life ? life->value : items[i].played);
            missed_[i]->setText(item);
            missed_[i]->setAccessibleName(
                QString("Hear %1, missed %2 times").arg(item).arg(items[i].misses));
        }
        missed_[i]->setVisible(i < items.size());
    }
}

void ProgressPage::FillTable(const ProgressFigures& figures) {
    QStringList columns{"Day", "Answers", "Due for review"};
    const std::vector<NumberKind> kinds = ShownKinds(figures);
    for (const NumberKind k : kinds) {
        columns << QString::fromUtf8(KindName(k).data()) + " (7 days)";
    }
    table_->clear();
    table_->setColumnCount(static_cast<int>(columns.size()));
    table_->setHorizontalHeaderLabels(columns);
    table_->setRowCount(0);
    const auto add = [this](const QStringList& cells) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        for (int c = 0; c < cells.size(); ++c) {
            table_->setItem(row, c, new QTableWidgetItem(cells[c]));
        }
    };
    // The days ahead first, then today and back, each day with answers.
    const std::int64_t today = figures.days.back().day;
    for (std::size_t d = figures.coming.size() - 1; d >= 1; --d) {
        add({DayName(today + static_cast<std::int64_t>(d)), "",
             QString::number(figures.coming[d])});
    }
    for (auto day = figures.days.rbegin(); day != figures.days.rend(); ++day) {
        if (day->answers == 0 && day->day != today) {
            continue;
        }
        QStringList cells{DayName(day->day) + (day->day == today ? " (today)" : ""),
                          QString::number(day->answers),
                          day->day == today ? QString::number(figures.coming[0]) : ""};
        for (const NumberKind kind : kinds) {
            const auto k = static_cast<std::size_t>(kind);
            cells << (day->week_given[k] == 0
                          ? QString()
                          : QString("%1 % of %2")
                                .arg(100 * day->week_right[k] / day->week_given[k])
                                .arg(day->week_given[k]));
        }
        add(cells);
    }
    table_->resizeColumnsToContents();
}

}  // namespace talmo
