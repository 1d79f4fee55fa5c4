// SPDX-License-Identifier: MIT
#include "review_page.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "drill_answer.h"

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
        {.name = "lblReviewAnswer", .kind = Kind::kLabel, .caption = "The number you heard:", .rect = {120, 1080, 2100, 300}, .style = forms::kHidden},
        {.name = "txtReviewAnswer", .kind = Kind::kTextBox, .rect = {2340, 1080, 1500, 300}, .style = forms::kHidden, .accessible = "The number you heard"},
        {.name = "lblReviewVerdict", .kind = Kind::kWrapLabel, .rect = {120, 1920, 6240, 480}, .style = forms::kBold},
        {.name = "cmdReviewReplay", .kind = Kind::kButton, .caption = "Repla&y", .rect = {120, 2520, 1500, 375}},
        {.name = "cmdReviewNext", .kind = Kind::kButton, .caption = "Ne&xt", .rect = {1740, 2520, 1500, 375}},
        {.name = "lblReviewAbout", .kind = Kind::kWrapLabel, .caption =
            "What you missed comes back: in your next session, then, while you answer it right, "
            "after 1, 3 and 7 days, and then it retires. A new miss starts it again. Pairs: 1 or 2 "
            "(or a click); numbers: type them and press Enter; Space plays the number again.",
            .rect = {120, 3120, 6240, 1080}},
        // clang-format on
    };
    return controls;
}

}  // namespace

ReviewPage::ReviewPage(QWidget* frame, DrillSpeaker& speaker, DrillRandom& random,
                       DrillSettings& settings, LearnerHistory& history)
    : Page(frame), settings_(settings), history_(history), drill_(*this, speaker, random) {
    form_.Add(ControlTable());
    choices_ = form_.Array<QPushButton>("cmdReviewChoice", 2);
    answer_ = form_.Get<QLineEdit>("txtReviewAnswer");
    next_ = form_.Get<QPushButton>("cmdReviewNext");
    verdict_ = form_.Get<QLabel>("lblReviewVerdict");
    form_.RequireText(form_.Find("lblDue"), "Nothing is due: well done.");
    for (QPushButton* button : choices_) {
        form_.RequireText(button, "70 000");
    }
    connect(form_.Get<QPushButton>("cmdReview"), &QPushButton::clicked, this,
            [this] { drill_.Start(Due(), Renditions(settings_.Choices())); });
    for (int i = 0; i < 2; ++i) {
        connect(choices_[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { drill_.Choose(i); });
    }
    connect(answer_, &QLineEdit::returnPressed, this,
            [this] { drill_.Answer(answer_->text().toStdString()); });
    connect(form_.Get<QPushButton>("cmdReviewReplay"), &QPushButton::clicked, this,
            [this] { drill_.Replay(); });
    connect(next_, &QPushButton::clicked, this, [this] { drill_.Next(); });
    const auto key = [this, frame](QKeySequence sequence, auto act) {
        connect(new QShortcut(sequence, frame), &QShortcut::activated, this, act);
    };
    key(QKeySequence(Qt::Key_1), [this] { drill_.Choose(0); });
    key(QKeySequence(Qt::Key_2), [this] { drill_.Choose(1); });
    key(QKeySequence(Qt::Key_Space),
        [this] { drill_.Waiting() ? drill_.Replay() : drill_.Next(); });
    drill_.OnAnswer(
        [this](const ReviewItem& item, const std::string& answer, bool right, const Rendition& r) {
            history_.Record(DrillAnswer(item.drill, item.played, r, answer, right, heard_));
            next_->setFocus(Qt::OtherFocusReason);
        });
}

std::vector<ReviewItem> ReviewPage::Due() {
    return DueForReview(history_.Store().OfMissedItems(), history_.SessionMs(), WallClockMs(),
                        LocalUtcOffsetMs());
}

void ReviewPage::Switched(bool shown) {
    if (shown) {
        ShowLeft(static_cast<int>(Due().size()));
    }
}

void ReviewPage::ShowLeft(int items) {
    form_.Get<QLabel>("lblDue")->setText(items == 0   ? QString("Nothing is due: well done.")
                                         : items == 1 ? QString("1 item to review.")
                                                      : QString("%1 items to review.").arg(items));
}

void ReviewPage::AskPair(int left, int right) {
    const int numbers[] = {left, right};
    for (std::size_t i = 0; i < 2; ++i) {
        choices_[i]->setText(QString::fromStdString(DrillDigits(numbers[i])));
        choices_[i]->setAccessibleName(QString("%1: %2").arg(i + 1).arg(choices_[i]->text()));
        choices_[i]->show();
    }
    answer_->hide();
    form_.Find("lblReviewAnswer")->hide();
}

void ReviewPage::AskNumber() {
    for (QPushButton* button : choices_) {
        button->hide();
    }
    form_.Find("lblReviewAnswer")->show();
    answer_->clear();
    answer_->show();
    answer_->setFocus(Qt::OtherFocusReason);
}

void ReviewPage::ShowVerdict(const std::string& text) {
    verdict_->setText(QString::fromStdString(text));
    if (!text.empty()) {
        QAccessibleEvent alert(verdict_, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void ReviewPage::Finished() {
    AskPair(0, 0);
    for (QPushButton* button : choices_) {
        button->hide();
    }
    ShowLeft(0);
}

void ReviewPage::Refresh() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace talmo
