// SPDX-License-Identifier: MIT
#include "drills/settings_page.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "drills/pair_sets.h"
#include "speech/voice.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr const char* kNotSaved =
    "Your preferences file cannot be read: changes apply this time and are not saved.";

const std::vector<Control>& ControlTable() {
    static const std::vector<Control> controls{
        // clang-format off
        {.name = "lblVoice", .kind = Kind::kLabel, .caption = "&Voice:", .rect = {120, 240, 1500, 330}, .buddy = "cboVoice"},
        {.name = "cboVoice", .kind = Kind::kChoice, .rect = {1740, 240, 2400, 330}, .accessible = "Voice"},
        {.name = "lblStyle", .kind = Kind::kLabel, .caption = "Speech st&yle:", .rect = {120, 720, 1500, 330}, .buddy = "cboStyle"},
        {.name = "cboStyle", .kind = Kind::kChoice, .rect = {1740, 720, 2400, 330}, .accessible = "Speech style"},
        {.name = "lblPairs", .kind = Kind::kLabel, .caption = "Pai&r set:", .rect = {120, 1200, 1500, 330}, .buddy = "cboPairs"},
        {.name = "cboPairs", .kind = Kind::kChoice, .rect = {1740, 1200, 4620, 330}, .accessible = "Pair set"},
        {.name = "lblAbout", .kind = Kind::kWrapLabel, .caption =
            "These settings are the drills' own, kept for next time; the main window keeps its "
            "voice and style. With the voice \"all\" and the style \"both\", each number is said "
            "in a voice and a style drawn afresh, so that your ear learns the difference between "
            "the numbers, not one speaker's way of saying them.", .rect = {120, 1800, 6240, 1200}},
        {.name = "chkKeepHistory", .kind = Kind::kCheckBox, .caption = "&Keep a history of my answers", .rect = {120, 3180, 6240, 300}},
        {.name = "cmdForget", .kind = Kind::kButton, .caption = "&Forget my history...", .rect = {120, 3600, 2400, 375}},
        {.name = "lblForgotten", .kind = Kind::kWrapLabel, .rect = {2640, 3540, 3720, 720}},
        {.name = "lblNotSaved", .kind = Kind::kWrapLabel, .caption = kNotSaved, .rect = {120, 3000, 6240, 180}, .style = forms::kBold | forms::kHidden},
        // clang-format on
    };
    return controls;
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

SettingsPage::SettingsPage(const DrillSite& site)
    : Page(site.frame),
      settings_(site.settings),
      history_(site.history),
      confirm_(site.confirm),
      history_changed_(site.history_changed) {
    form_.Add(ControlTable());
    auto* voice = form_.Get<QComboBox>("cboVoice");
    for (const std::string& name : VoiceNames()) {
        voice->addItem(Text(name), Text(name));
    }
    voice->addItem("all", QString(kAllVoices.data()));
    auto* style = form_.Get<QComboBox>("cboStyle");
    for (const StyleChoice c : kEveryStyleChoice) {
        style->addItem(Text(StyleChoiceName(c)), static_cast<int>(c));
    }
    auto* pairs = form_.Get<QComboBox>("cboPairs");
    for (const PairSet& set : PairSets()) {
        pairs->addItem(Text(set.name), Text(set.key));
    }
    for (QComboBox* box : {voice, style, pairs}) {
        for (int i = 0; i < box->count(); ++i) {
            form_.RequireText(box, box->itemText(i));
        }
    }
    Show(settings_.Choices());
    // Whether answers are kept is the history's choice, not the drills'.
    auto* keep = form_.Get<QCheckBox>("chkKeepHistory");
    keep->setChecked(history_.Keeps());

    const auto changed = [this, voice, style, pairs] {
        settings_.Set({.voice = voice->currentData().toString().toStdString(),
                       .style = static_cast<StyleChoice>(style->currentData().toInt()),
                       .pair_set = pairs->currentData().toString().toStdString()});
    };
    for (QComboBox* box : {voice, style, pairs}) {
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    }
    connect(keep, &QCheckBox::toggled, this, [this](bool on) { history_.SetKeeps(on); });
    connect(form_.Get<QPushButton>("cmdForget"), &QPushButton::clicked, this, [this] { Forget(); });
    form_.RequireText(form_.Find("lblForgotten"),
                      "Your history could not be forgotten: another program is writing to it. "
                      "Nothing was changed.");
    form_.Find("lblNotSaved")->setVisible(!settings_.Keeps());
}

void SettingsPage::Forget() {
    HistoryStore& store = history_.Store();
    std::string question = "Forget your history? Every answer kept in " + store.File().string();
    const auto copies = store.DamagedCopies();
    if (!copies.empty()) {
        question += ", and the damaged ";
        question += copies.size() == 1 ? "copy" : "copies";
        question += " kept beside it (";
        for (std::size_t i = 0; i < copies.size(); ++i) {
            question += (i > 0 ? ", " : "") + copies[i].filename().string();
        }
        question += "),";
    }
    question += " is deleted. This cannot be undone.";
    auto* said = form_.Get<QLabel>("lblForgotten");
    if (!confirm_(question, "Forget history")) {
        said->clear();
        return;
    }
    const ForgetOutcome outcome = store.Forget();
    said->setText(QString::fromStdString(
        outcome.forgotten
            ? "Your history is forgotten: every answer is gone."
            : "Your history could not be forgotten: " + outcome.why + ". Nothing was changed."));
    QAccessibleEvent alert(said, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    history_changed_();
}

void SettingsPage::Show(const DrillChoices& choices) {
    const auto choose = [this](const char* name, const QVariant& value) {
        auto* box = form_.Get<QComboBox>(name);
        box->setCurrentIndex(std::max(0, box->findData(value)));
    };
    choose("cboVoice", Text(choices.voice));
    choose("cboStyle", static_cast<int>(choices.style));
    choose("cboPairs", Text(choices.pair_set));
}

}  // namespace talmo
