// SPDX-License-Identifier: MIT
#include "drills/life_drill_page.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "drills/dictation_drill_page.h"
#include "drills/drill_answer.h"
#include "forms/verdict_line.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::vector<Control> ControlTable(const LifeDrillRow& row) {
    const QString heard = "The " + Text(row.what) + " you heard";
    return {
        // clang-format off
        {.name = "cmdPlay", .kind = Kind::kButton, .caption = "Pla&y a " + Text(row.what), .rect = {120, 240, 2700, 375}},
        {.name = "lblAnswer", .kind = Kind::kLabel, .caption = heard + ":", .rect = {120, 840, 4200, 300}},
        {.name = "txtAnswer", .kind = Kind::kTextBox, .rect = {120, 1200, 2400, 300}, .accessible = heard},
        {.name = "cmdCheck", .kind = Kind::kButton, .caption = "Chec&k", .rect = {2640, 1170, 1100, 375}},
        {.name = "cmdRepeat", .kind = Kind::kButton, .caption = "&Repeat", .rect = {3840, 1170, 1100, 375}},
        {.name = "lblVerdict", .kind = Kind::kWrapLabel, .rect = {120, 1740, 6240, 720}, .style = forms::kBold},
        {.name = "lblAbout", .kind = Kind::kWrapLabel, .caption = Text(row.about), .rect = {120, 2640, 6240, 1200}},
        // clang-format on
    };
}

}  // namespace

LifeDrillPage::LifeDrillPage(const DrillSite& site, const LifeDrillRow& row)
    : Page(site.frame),
      site_(site),
      drill_(row, *this, site.speaker, site.random, DrillSayingWords()) {
    form_.Add(ControlTable(row));
    answer_ = form_.Get<QLineEdit>("txtAnswer");
    form_.RequireText(answer_, "070-123 45 67");
    form_.RequireText(form_.Find("lblVerdict"),
                      "\u2718 You wrote 070-123 45 76; it was 070-123 45 67 \u2014 noll sju noll, "
                      "ett två tre, fyrtiofem sextiosju");
    // The answer box keeps the focus: every key of the drill belongs there.
    const auto act = [this](void (LifeDrill::*step)()) {
        return [this, step] {
            answer_->setFocus(Qt::OtherFocusReason);
            Act([this, step] { (drill_.*step)(); });
        };
    };
    connect(form_.Get<QPushButton>("cmdPlay"), &QPushButton::clicked, this, act(&LifeDrill::Play));
    connect(form_.Get<QPushButton>("cmdCheck"), &QPushButton::clicked, this,
            act(&LifeDrill::Check));
    connect(answer_, &QLineEdit::returnPressed, this, act(&LifeDrill::Enter));
    connect(form_.Get<QPushButton>("cmdRepeat"), &QPushButton::clicked, this,
            act(&LifeDrill::Repeat));
    answer_->installEventFilter(this);
    drill_.OnAnswer([this](const LifeTrial& trial, const std::string& answer, bool right) {
        KeepAnswer(site_, DrillAnswer(std::string(trial.row->drill),
                                      LifePlayed(trial.value, trial.saying.way), trial.rendition,
                                      answer, right, heard_));
    });
    site_.settings.OnChange([this] { drill_.SetRenditions(Renditions(site_.settings.Choices())); });
    drill_.SetRenditions(Renditions(site_.settings.Choices()));
}

void LifeDrillPage::Switched(bool shown) {
    if (shown) {
        answer_->setFocus(Qt::OtherFocusReason);
    }
}

bool LifeDrillPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == answer_ && event->type() == QEvent::KeyPress && answer_->text().isEmpty() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        Act([this] { drill_.Repeat(); });
        return true;
    }
    return Page::eventFilter(watched, event);
}

std::string LifeDrillPage::AnswerText() {
    return answer_->text().toStdString();
}

void LifeDrillPage::ClearAnswer() {
    answer_->clear();
}

void LifeDrillPage::ShowVerdict(const std::string& text) {
    ShowTypedVerdict(form_.Get<QLabel>("lblVerdict"), text, answer_);
}

void LifeDrillPage::Refresh() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace talmo
