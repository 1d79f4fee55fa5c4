// SPDX-License-Identifier: MIT
#include "drills/review_page.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>

#include "drills/drill_answer.h"
#include "forms/verdict_line.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

const std::vector<Control>& ControlTable() {
    static const std::vector<Control> controls{
        // clang-format off
        {.name = "lblDue", .kind = Kind::kLabel, .rect = {120, 180, 4200, 300}},
        {.name = "cmdReview", .kind = Kind::kButton, .caption = "St&art review", .rect = {4440, 150, 1800, 375}},
        {.name = "cmdReviewChoice", .index = 0, .kind = Kind::kButton, .rect = {600, 720, 2400, 1050}, .style = forms::kBold | forms::kHidden, .point_size = 22},
        {.name = "cmdReviewChoice", .index = 1, .kind = Kind::kButton, .rect = {3420, 720, 2400, 1050}, .style = forms::kBold | forms::kHidden, .point_size = 22},
        {.name = "lblReviewKey", .index = 0, .kind = Kind::kLabel, .caption = "1 or Left", .rect = {600, 1800, 2400, 255}, .style = forms::kHidden},
        {.name = "lblReviewKey", .index = 1, .kind = Kind::kLabel, .caption = "2 or Right", .rect = {3420, 1800, 2400, 255}, .style = forms::kHidden},
        {.name = "lblReviewAnswer", .kind = Kind::kLabel, .caption = "The number you heard:", .rect = {120, 1080, 2700, 300}, .style = forms::kHidden},
        {.name = "txtReviewAnswer", .kind = Kind::kTextBox, .rect = {2940, 1080, 1800, 300}, .style = forms::kHidden, .accessible = "The number you heard"},
        {.name = "lblReviewVerdict", .kind = Kind::kWrapLabel, .rect = {120, 1920, 6240, 480}, .style = forms::kBold},
        {.name = "cmdReviewReplay", .kind = Kind::kButton, .caption = "Repla&y", .rect = {120, 2520, 1500, 375}},
        {.name = "cmdReviewNext", .kind = Kind::kButton, .caption = "Ne&xt", .rect = {1740, 2520, 1500, 375}},
        {.name = "lblReviewAbout", .kind = Kind::kWrapLabel, .caption =
            "What you missed comes back: the next day or in your next session, then, while you "
            "answer it right, after 1, 3 and 7 days, and then it retires. A new miss starts it "
            "again. Pairs: 1 or Left, 2 or Right; numbers, times, prices, phone numbers and years: "
            "type them and press Enter. After a miss, Enter goes on; Space plays it again.",
            .rect = {120, 3120, 6240, 1080}},
        // clang-format on
    };
    return controls;
}

}  // namespace

ReviewPage::ReviewPage(const DrillSite& site)
    : Page(site.frame),
      site_(site),
      drill_(*this, site.speaker, site.random, DrillWords(), DrillSayingWords()) {
    form_.Add(ControlTable());
    choices_ = form_.Array<QPushButton>("cmdReviewChoice", 2);
    answer_ = form_.Get<QLineEdit>("txtReviewAnswer");
    next_ = form_.Get<QPushButton>("cmdReviewNext");
    verdict_ = form_.Get<QLabel>("lblReviewVerdict");
    for (QLabel* label : form_.Array<QLabel>("lblReviewKey", 2)) {
        label->setAlignment(Qt::AlignCenter);
    }
    form_.RequireText(form_.Find("lblDue"),
                      "Nothing is due now. The next items come on Wednesday 30 September.");
    form_.RequireText(form_.Find("lblDue"),
                      "Nothing is due: what you miss in the other drills comes back here.");
    form_.RequireText(form_.Find("lblDue"), "50 items to review, and 120 more tomorrow.");
    for (QPushButton* button : choices_) {
        form_.RequireText(button, "70 000");
    }
    form_.RequireText(form_.Find("lblReviewAnswer"), "The phone number you heard:");
    form_.RequireText(answer_, "070-123 45 67");
    connect(form_.Get<QPushButton>("cmdReview"), &QPushButton::clicked, this, [this] {
        Act([this] { drill_.Start(Plan().now, Renditions(site_.settings.Choices())); });
    });
    for (int i = 0; i < 2; ++i) {
        connect(choices_[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { Act([this, i] { drill_.Choose(i); }); });
    }
    connect(form_.Get<QPushButton>("cmdReviewReplay"), &QPushButton::clicked, this,
            [this] { Act([this] { drill_.Replay(); }); });
    connect(next_, &QPushButton::clicked, this, [this] { Act([this] { drill_.Next(); }); });
    const auto key = [this](QKeySequence sequence, std::function<void()> act) {
        connect(new QShortcut(sequence, site_.frame), &QShortcut::activated, this,
                [this, act] { Act(act); });
    };
    for (const Qt::Key k : {Qt::Key_1, Qt::Key_Left}) {
        key(QKeySequence(k), [this] { drill_.Choose(0); });
    }
    for (const Qt::Key k : {Qt::Key_2, Qt::Key_Right}) {
        key(QKeySequence(k), [this] { drill_.Choose(1); });
    }
    key(QKeySequence(Qt::Key_Space),
        [this] { drill_.Waiting() ? drill_.Replay() : drill_.Next(); });
    // Enter answers a number, and once the verdict shows goes on.
    for (const Qt::Key k : {Qt::Key_Return, Qt::Key_Enter}) {
        key(QKeySequence(k), [this] {
            drill_.Waiting() ? drill_.Answer(answer_->text().toStdString()) : drill_.Enter();
        });
    }
    drill_.OnAnswer(
        [this](const ReviewItem& item, const std::string& answer, bool right, const Rendition& r) {
            KeepAnswer(site_, DrillAnswer(item.drill, item.played, r, answer, right, heard_));
            if (!right) {
                next_->setFocus(Qt::OtherFocusReason);
            }
        });
    ShowDue();  // the tab says at once what is due
}

ReviewPlan ReviewPage::Plan() {
    return PlanReview(site_.history.Store().OfMissedItems(), site_.history.SessionMs(),
                      WallClockMs(), LocalCalendar{});
}

void ReviewPage::Switched(bool shown) {
    // Counted afresh whenever shown: a miss comes due while the program runs.
    if (shown && !drill_.Waiting()) {
        ShowDue();
    }
}

void ReviewPage::ShowDue() {
    const ReviewPlan plan = Plan();
    const auto items = static_cast<int>(plan.now.size());
    QString text =
        items == 1 ? QString("1 item to review") : QString("%1 items to review").arg(items);
    if (plan.held > 0) {
        text += QString(", and %1 more tomorrow").arg(plan.held);
    }
    text += ".";
    if (items == 0) {
        const std::int64_t today = LocalCalendar{}.Day(WallClockMs());
        if (plan.next_session) {
            text = "Nothing is due now. The next items come in your next session.";
        } else if (plan.next_day) {
            const QDate day = QDate(1970, 1, 1).addDays(*plan.next_day);
            text = "Nothing is due now. The next items come " +
                   (*plan.next_day == today + 1
                        ? QString("tomorrow")
                        : "on " + QLocale(QLocale::English).toString(day, "dddd d MMMM")) +
                   ".";
        } else {
            text = "Nothing is due: what you miss in the other drills comes back here.";
        }
    }
    form_.Get<QLabel>("lblDue")->setText(text);
    site_.tab_count(items);
}

void ReviewPage::ShowPlace(int item, int items) {
    form_.Get<QLabel>("lblDue")->setText(QString("%1 of %2").arg(item).arg(items));
    site_.tab_count(items - item + 1);
}

void ReviewPage::AskPair(int left, int right) {
    const int numbers[] = {left, right};
    for (std::size_t i = 0; i < 2; ++i) {
        choices_[i]->setText(QString::fromStdString(DrillDigits(numbers[i])));
        choices_[i]->setAccessibleName(QString("%1: %2").arg(i + 1).arg(choices_[i]->text()));
        choices_[i]->show();
    }
    for (QWidget* key : form_.Array<QLabel>("lblReviewKey", 2)) {
        key->show();
    }
    answer_->hide();
    form_.Find("lblReviewAnswer")->hide();
    next_->setFocus(Qt::OtherFocusReason);
}

void ReviewPage::AskTyped(std::string_view what) {
    const QString heard =
        "The " + QString::fromUtf8(what.data(), static_cast<qsizetype>(what.size())) + " you heard";
    form_.Get<QLabel>("lblReviewAnswer")->setText(heard + ":");
    answer_->setAccessibleName(heard);
    for (QPushButton* button : choices_) {
        button->hide();
    }
    for (QWidget* key : form_.Array<QLabel>("lblReviewKey", 2)) {
        key->hide();
    }
    form_.Find("lblReviewAnswer")->show();
    answer_->clear();
    answer_->show();
    answer_->setFocus(Qt::OtherFocusReason);
}

void ReviewPage::ShowVerdict(const std::string& text) {
    const forms::Verdict verdict = text.empty()                ? forms::Verdict::kNone
                                   : text.starts_with("Right") ? forms::Verdict::kRight
                                   : text.starts_with("That") || text.starts_with("You")
                                       ? forms::Verdict::kWrong
                                       : forms::Verdict::kHint;
    const bool typed = answer_->isVisible() && verdict != forms::Verdict::kWrong;
    forms::ShowVerdict(verdict_, text, verdict, typed ? static_cast<QWidget*>(answer_) : next_);
}

void ReviewPage::Finished() {
    AskPair(0, 0);
    for (QPushButton* button : choices_) {
        button->hide();
    }
    for (QWidget* key : form_.Array<QLabel>("lblReviewKey", 2)) {
        key->hide();
    }
    ShowDue();
}

void ReviewPage::Refresh() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace talmo
