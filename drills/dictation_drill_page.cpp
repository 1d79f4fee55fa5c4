// SPDX-License-Identifier: MIT
#include "drills/dictation_drill_page.h"

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "drills/drill_answer.h"
#include "forms/verdict_line.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr int kRanges[] = {100, 1000, 10000, 99999};
constexpr std::size_t kWeighedAnswers = 200;

const std::vector<Control>& ControlTable() {
    static const std::vector<Control> controls{
        // clang-format off
        {.name = "lblRange", .kind = Kind::kLabel, .caption = "Ra&nge:", .rect = {120, 240, 1200, 330}, .buddy = "cboRange"},
        {.name = "cboRange", .kind = Kind::kChoice, .rect = {1440, 240, 1800, 330}, .accessible = "Range"},
        {.name = "cmdPlay", .kind = Kind::kButton, .caption = "Pla&y a number", .rect = {120, 840, 2100, 375}},
        {.name = "lblAnswer", .kind = Kind::kLabel, .caption = "The number you heard:", .rect = {120, 1440, 2100, 300}},
        {.name = "txtAnswer", .kind = Kind::kTextBox, .rect = {2340, 1440, 1500, 300}, .accessible = "The number you heard"},
        {.name = "cmdCheck", .kind = Kind::kButton, .caption = "Chec&k", .rect = {3960, 1410, 1100, 375}},
        {.name = "cmdRepeat", .kind = Kind::kButton, .caption = "&Repeat", .rect = {5160, 1410, 1100, 375}},
        {.name = "lblVerdict", .kind = Kind::kWrapLabel, .rect = {120, 2040, 6240, 720}, .style = forms::kBold},
        {.name = "lblAbout", .kind = Kind::kWrapLabel, .caption =
            "Numbers come more often from the kinds you miss most in your last 200 answers (the "
            "teens and the tens, 7, 17 and 70, a zero inside, hundreds, thousands), and every kind "
            "at least one time in ten. After a miss you hear what you wrote, then what was said.",
            .rect = {120, 2880, 6240, 1080}},
        // clang-format on
    };
    return controls;
}

}  // namespace

DictationDrillPage::DictationDrillPage(const DrillSite& site)
    : Page(site.frame), site_(site), drill_(*this, site.speaker, site.random, DrillWords()) {
    form_.Add(ControlTable());
    answer_ = form_.Get<QLineEdit>("txtAnswer");
    play_ = form_.Get<QPushButton>("cmdPlay");
    auto* range = form_.Get<QComboBox>("cboRange");
    for (const int max : kRanges) {
        range->addItem(QString("0 - %1").arg(max), max);
    }
    form_.RequireText(form_.Find("lblVerdict"),
                      "\u2718 You wrote 77 777 — sjuttiosju tusen sjuhundra sjuttiosju; it was "
                      "70 707 — sjuttio tusen sjuhundra sju");
    connect(range, &QComboBox::currentIndexChanged, this, [this, range] {
        drill_.SetRange(range->currentData().toInt());
        Weigh();
    });
    // The answer box keeps the focus: every key of the drill belongs there.
    const auto act = [this](void (DictationDrill::*step)()) {
        return [this, step] {
            answer_->setFocus(Qt::OtherFocusReason);
            Act([this, step] { (drill_.*step)(); });
        };
    };
    connect(play_, &QPushButton::clicked, this, act(&DictationDrill::Play));
    connect(form_.Get<QPushButton>("cmdCheck"), &QPushButton::clicked, this,
            act(&DictationDrill::Check));
    connect(answer_, &QLineEdit::returnPressed, this, act(&DictationDrill::Enter));
    connect(form_.Get<QPushButton>("cmdRepeat"), &QPushButton::clicked, this,
            act(&DictationDrill::Repeat));
    answer_->installEventFilter(this);
    drill_.OnAnswer([this](int number, const std::string& answer, bool right, const Rendition& r) {
        KeepAnswer(site_,
                   DrillAnswer("dictation", std::to_string(number), r, answer, right, heard_));
        Weigh();
    });
    site_.settings.OnChange([this] { drill_.SetRenditions(Renditions(site_.settings.Choices())); });
    drill_.SetRenditions(Renditions(site_.settings.Choices()));
}

void DictationDrillPage::Switched(bool shown) {
    if (shown) {
        Weigh();
        answer_->setFocus(Qt::OtherFocusReason);
    }
}

bool DictationDrillPage::eventFilter(QObject* watched, QEvent* event) {
    // Space plays the number again, as on every drill; an answer needs no
    // space typed (one pasted in is still read).
    if (watched == answer_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        Act([this] { drill_.Repeat(); });
        return true;
    }
    return Page::eventFilter(watched, event);
}

void DictationDrillPage::Weigh() {
    const auto last = site_.history.Store().Last(kWeighedAnswers, "dictation");
    drill_.SetWeights(WeighKinds(last, KindsUpTo(drill_.Range())));
}

std::string DictationDrillPage::AnswerText() {
    return answer_->text().toStdString();
}

void DictationDrillPage::ClearAnswer() {
    answer_->clear();
}

void ShowTypedVerdict(QLabel* label, const std::string& text, QWidget* answer) {
    forms::ShowVerdict(label, text,
                       text.empty()                ? forms::Verdict::kNone
                       : text.starts_with("Right") ? forms::Verdict::kRight
                       : text.starts_with("You")   ? forms::Verdict::kWrong
                                                   : forms::Verdict::kHint,
                       answer);
}

void DictationDrillPage::ShowVerdict(const std::string& text) {
    ShowTypedVerdict(form_.Get<QLabel>("lblVerdict"), text, answer_);
}

void DictationDrillPage::Refresh() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace talmo
