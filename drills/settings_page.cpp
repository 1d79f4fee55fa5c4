// SPDX-License-Identifier: MIT
#include "settings_page.h"

#include <QComboBox>

#include <algorithm>

#include "pair_sets.h"
#include "voice.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

const std::vector<Control>& ControlTable() {
    static const std::vector<Control> controls{
        // clang-format off
        {.name = "lblVoice", .kind = Kind::kLabel, .caption = "&Voice:", .rect = {120, 240, 1500, 330}, .buddy = "cboVoice"},
        {.name = "cboVoice", .kind = Kind::kChoice, .rect = {1740, 240, 2400, 330}, .accessible = "Voice"},
        {.name = "lblStyle", .kind = Kind::kLabel, .caption = "Speech st&yle:", .rect = {120, 720, 1500, 330}, .buddy = "cboStyle"},
        {.name = "cboStyle", .kind = Kind::kChoice, .rect = {1740, 720, 2400, 330}, .accessible = "Speech style"},
        {.name = "lblPairs", .kind = Kind::kLabel, .caption = "Pair s&et:", .rect = {120, 1200, 1500, 330}, .buddy = "cboPairs"},
        {.name = "cboPairs", .kind = Kind::kChoice, .rect = {1740, 1200, 4620, 330}, .accessible = "Pair set"},
        {.name = "lblAbout", .kind = Kind::kWrapLabel, .caption =
            "These settings are the drills' own, kept for next time; the main window keeps its "
            "voice and style. With the voice \"all\" and the style \"both\", each number is said "
            "in a voice and a style drawn afresh, so that your ear learns the difference between "
            "the numbers, not one speaker's way of saying them.", .rect = {120, 1800, 6240, 1500}},
        // clang-format on
    };
    return controls;
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

SettingsPage::SettingsPage(QWidget* frame, DrillSettings& settings)
    : Page(frame), settings_(settings) {
    form_.Add(ControlTable());
    auto* voice = form_.Get<QComboBox>("cboVoice");
    for (const std::string& name : VoiceNames()) {
        voice->addItem(Text(name), Text(name));
    }
    voice->addItem("all", QString(kAllVoices.data()));
    auto* style = form_.Get<QComboBox>("cboStyle");
    for (const StyleChoice c : {StyleChoice::kClear, StyleChoice::kEveryday, StyleChoice::kBoth}) {
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

    const auto changed = [this, voice, style, pairs] {
        settings_.Set({.voice = voice->currentData().toString().toStdString(),
                       .style = static_cast<StyleChoice>(style->currentData().toInt()),
                       .pair_set = pairs->currentData().toString().toStdString()});
    };
    for (QComboBox* box : {voice, style, pairs}) {
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    }
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
