// SPDX-License-Identifier: MIT
#include "drills/pairs_page.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>

#include "drills/drill_answer.h"
#include "forms/verdict_line.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

// As many result buttons as the largest set has pairs.
std::size_t MostPairs() {
    std::size_t most = 0;
    for (const PairSet& set : PairSets()) {
        most = std::max(most, set.pairs.size());
    }
    return most;
}

std::vector<Control> ControlTable() {
    std::vector<Control> c{
        // clang-format off
        {.name = "lblSet", .kind = Kind::kLabel, .rect = {120, 120, 6240, 255}},
        {.name = "lblTrial", .kind = Kind::kLabel, .rect = {120, 420, 6240, 255}},
        {.name = "cmdChoice", .index = 0, .kind = Kind::kButton, .rect = {600, 720, 2400, 1050}, .style = forms::kBold, .point_size = 22},
        {.name = "cmdChoice", .index = 1, .kind = Kind::kButton, .rect = {3420, 720, 2400, 1050}, .style = forms::kBold, .point_size = 22},
        {.name = "lblChoiceKey", .index = 0, .kind = Kind::kLabel, .caption = "1 or Left", .rect = {600, 1800, 2400, 255}},
        {.name = "lblChoiceKey", .index = 1, .kind = Kind::kLabel, .caption = "2 or Right", .rect = {3420, 1800, 2400, 255}},
        {.name = "lblVerdict", .kind = Kind::kLabel, .rect = {120, 2160, 6240, 330}, .style = forms::kBold, .point_size = 11},
        {.name = "cmdAction", .kind = Kind::kButton, .caption = "&Start", .rect = {120, 2610, 1500, 375}},
        {.name = "lblKeys", .kind = Kind::kWrapLabel, .rect = {1800, 2580, 4560, 480}},
        {.name = "lblResult", .kind = Kind::kLabel, .rect = {120, 3180, 6240, 255}, .style = forms::kHidden},
        // clang-format on
    };
    for (std::size_t i = 0; i < MostPairs(); ++i) {
        c.push_back({.name = "cmdHearMissed",
                     .index = static_cast<int>(i),
                     .kind = Kind::kButton,
                     .rect = {120 + static_cast<int>(i % 4) * 1560,
                              3480 + static_cast<int>(i / 4) * 420, 1500, 375},
                     .style = forms::kHidden});
    }
    return c;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString PairCaption(const NumberPair& pair) {
    return Text(DrillDigits(pair.first) + " / " + DrillDigits(pair.second));
}

const char* const kKeys[] = {
    "Press Space to start a block of 20.",
    "Which did you hear? 1 or Left, 2 or Right. Space plays it again.",
    "1 or 2 plays that number again; Space goes on.",
    "Press Space for a new block.",
};
const char* const kActions[] = {"&Start", "&Replay", "&Next", "&New block"};

}  // namespace

PairsPage::PairsPage(const DrillSite& site)
    : Page(site.frame), site_(site), drill_(*this, site.speaker, site.random, DrillWords()) {
    form_.Add(ControlTable());
    choices_ = form_.Array<QPushButton>("cmdChoice", 2);
    missed_ = form_.Array<QPushButton>("cmdHearMissed", static_cast<int>(MostPairs()));
    action_ = form_.Get<QPushButton>("cmdAction");
    verdict_ = form_.Get<QLabel>("lblVerdict");
    for (QLabel* label : form_.Array<QLabel>("lblChoiceKey", 2)) {
        label->setAlignment(Qt::AlignCenter);
    }

    // Room for every text the controls may show.
    for (const char* text : kKeys) {
        form_.RequireText(form_.Find("lblKeys"), text);
    }
    for (const char* text : kActions) {
        form_.RequireText(action_, text);
    }
    for (const PairSet& set : PairSets()) {
        form_.RequireText(form_.Find("lblSet"), Text(std::string(set.name)));
        for (const NumberPair& pair : set.pairs) {
            for (QPushButton* button : choices_) {
                form_.RequireText(button, Text(DrillDigits(std::max(pair.first, pair.second))));
            }
            form_.RequireText(missed_.front(), PairCaption(pair));
            form_.RequireText(
                verdict_, "\u2718 " + Text("That was " + DrillSaid(pair.second, DrillWords()) +
                                           "; you chose " + DrillSaid(pair.first, DrillWords())));
        }
    }

    for (int i = 0; i < 2; ++i) {
        connect(choices_[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { Act([this, i] { drill_.Choose(i); }); });
    }
    for (std::size_t i = 0; i < missed_.size(); ++i) {
        connect(missed_[i], &QPushButton::clicked, this,
                [this, i] { Act([this, i] { drill_.HearMissed(i); }); });
    }
    connect(action_, &QPushButton::clicked, this, [this] { Act([this] { drill_.Proceed(); }); });
    // The keys work anywhere in the window while the page is shown, over a
    // focused button's own Space.
    const auto key = [this](QKeySequence sequence, std::function<void()> act) {
        auto* shortcut = new QShortcut(sequence, site_.frame);
        connect(shortcut, &QShortcut::activated, this, [this, act] { Act(act); });
    };
    for (const Qt::Key k : {Qt::Key_1, Qt::Key_Left}) {
        key(QKeySequence(k), [this] { drill_.Choose(0); });
    }
    for (const Qt::Key k : {Qt::Key_2, Qt::Key_Right}) {
        key(QKeySequence(k), [this] { drill_.Choose(1); });
    }
    key(QKeySequence(Qt::Key_Space), [this] { drill_.Proceed(); });
    // Enter goes on as Space does, but never replays: it answers nothing here.
    for (const Qt::Key k : {Qt::Key_Return, Qt::Key_Enter}) {
        key(QKeySequence(k), [this] {
            if (drill_.Step() != Step::kAnswer) {
                drill_.Proceed();
            }
        });
    }

    drill_.OnAnswer(
        [this](const Trial& trial, int chosen, bool right) { Keep(trial, chosen, right); });
    site_.settings.OnChange([this] { TakeSettings(); });
    TakeSettings();
}

void PairsPage::Keep(const Trial& trial, int chosen, bool right) {
    const NumberPair& pair = drill_.Set().pairs[trial.pair];
    KeepAnswer(site_,
               DrillAnswer("pairs", std::to_string(pair.first) + "/" + std::to_string(pair.second),
                           trial.rendition, std::to_string(chosen), right, heard_));
}

void PairsPage::Switched(bool shown) {
    if (shown) {
        action_->setFocus(Qt::OtherFocusReason);
    }
}

void PairsPage::TakeSettings() {
    const DrillChoices& choices = site_.settings.Choices();
    drill_.SetRenditions(Renditions(choices));
    if (choices.pair_set != set_key_) {
        set_key_ = choices.pair_set;
        const PairSet& set = FindPairSet(set_key_);
        form_.Get<QLabel>("lblSet")->setText(Text(std::string(set.name)));
        drill_.SetPairs(set);
    }
}

void PairsPage::ShowStep(Step step) {
    const auto at = static_cast<std::size_t>(step);
    action_->setText(kActions[at]);
    form_.Get<QLabel>("lblKeys")->setText(kKeys[at]);
    if (step == Step::kReady || step == Step::kAnswer) {
        form_.Find("lblResult")->hide();
        for (QPushButton* button : missed_) {
            button->hide();
        }
    }
    if (step == Step::kReady) {
        form_.Get<QLabel>("lblTrial")->setText("");
        for (QPushButton* button : choices_) {
            button->setText("");
            button->setEnabled(false);
        }
    }
}

void PairsPage::ShowTrial(int trial, int trials, int left, int right) {
    form_.Get<QLabel>("lblTrial")->setText(QString("Trial %1 of %2").arg(trial).arg(trials));
    const int numbers[] = {left, right};
    for (std::size_t i = 0; i < 2; ++i) {
        choices_[i]->setEnabled(true);
        choices_[i]->setText(Text(DrillDigits(numbers[i])));
        choices_[i]->setAccessibleName(QString("%1: %2").arg(i + 1).arg(choices_[i]->text()));
    }
}

void PairsPage::ShowVerdict(const std::string& text) {
    forms::ShowVerdict(verdict_, text,
                       text.empty()                ? forms::Verdict::kNone
                       : text.starts_with("Right") ? forms::Verdict::kRight
                                                   : forms::Verdict::kWrong,
                       action_);
}

void PairsPage::MarkPlaying(std::optional<int> button) {
    for (std::size_t i = 0; i < 2; ++i) {
        const bool marked = button && static_cast<std::size_t>(*button) == i;
        // Pressed-in while its number plays, in any theme.
        choices_[i]->setDown(marked);
        QFont font = choices_[i]->font();
        font.setUnderline(marked);
        choices_[i]->setFont(font);
    }
}

void PairsPage::ShowResult(int right, int trials, std::span<const NumberPair> missed) {
    auto* result = form_.Get<QLabel>("lblResult");
    result->setText(
        missed.empty() ? QString("%1 of %2 right. No pair missed.").arg(right).arg(trials)
                       : QString("%1 of %2 right. Hear a pair you missed:").arg(right).arg(trials));
    result->show();
    for (std::size_t i = 0; i < missed_.size(); ++i) {
        if (i < missed.size()) {
            missed_[i]->setText(PairCaption(missed[i]));
            missed_[i]->setAccessibleName(Text("Hear " + DrillDigits(missed[i].first) + " and " +
                                               DrillDigits(missed[i].second)));
        }
        missed_[i]->setVisible(i < missed.size());
    }
    QAccessibleEvent alert(result, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void PairsPage::Refresh() {
    // Paint what changed before the sound holds the program; the learner's
    // input waits for the sound to end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace talmo
