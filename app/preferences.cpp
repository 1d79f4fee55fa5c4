// SPDX-License-Identifier: MIT
#include "preferences.h"

#include <QStandardPaths>

#include <utility>

#include "pair_sets.h"
#include "voice.h"

namespace talmo {
namespace {

constexpr const char* kVoiceKey = "voice";
constexpr const char* kStyleKey = "style";
constexpr const char* kDrillVoiceKey = "drills/voice";
constexpr const char* kDrillStyleKey = "drills/style";
constexpr const char* kDrillPairsKey = "drills/pairs";
constexpr const char* kKeepHistoryKey = "history/keep";

std::string Quoted(const QString& path) {
    return "'" + path.toStdString() + "'";
}

}  // namespace

QString Preferences::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/talmo/talmo.conf";
}

Preferences::Preferences(std::ostream& err, const QString& path)
    : err_(err), file_(path, QSettings::IniFormat), voice_(EmbeddedVoices().front().name) {
    (void)file_.childKeys();  // the file is read on first use
    if (file_.status() != QSettings::NoError) {
        // A damaged file is left as it is: saving over it would lose what the
        // learner may still want from it.
        readable_ = false;
        err_ << "talmo: cannot read the preferences in " << Quoted(path)
             << "; using the defaults\n";
        return;
    }
    if (const auto voice = ReadText(kVoiceKey)) {
        if (const auto choice = ParseVoiceChoice(*voice)) {
            voice_ = *choice;
        } else {
            err_ << "talmo: the preference voice=" << *voice << " in " << Quoted(path)
                 << " is not a voice; using " << voice_ << "\n";
        }
    }
    if (const auto style = ReadText(kStyleKey)) {
        if (const auto chosen = ParseStyle(*style)) {
            style_ = *chosen;
        } else {
            err_ << "talmo: the preference style=" << *style << " in " << Quoted(path)
                 << " is not clear or everyday; using " << StyleName(style_) << "\n";
        }
    }
    if (const auto voice = ReadText(kDrillVoiceKey)) {
        if (const auto choice = ParseVoiceChoice(*voice)) {
            drills_.voice = *choice;
        } else {
            err_ << "talmo: the preference " << kDrillVoiceKey << "=" << *voice << " in "
                 << Quoted(path) << " is not a voice; using " << drills_.voice << "\n";
        }
    }
    if (const auto style = ReadText(kDrillStyleKey)) {
        if (const auto chosen = ParseStyleChoice(*style)) {
            drills_.style = *chosen;
        } else {
            err_ << "talmo: the preference " << kDrillStyleKey << "=" << *style << " in "
                 << Quoted(path) << " is not clear, everyday or both; using "
                 << StyleChoiceName(drills_.style) << "\n";
        }
    }
    if (const auto keep = ReadText(kKeepHistoryKey)) {
        if (*keep == "true" || *keep == "false") {
            drills_.keep_history = *keep == "true";
        } else {
            err_ << "talmo: the preference " << kKeepHistoryKey << "=" << *keep << " in "
                 << Quoted(path) << " is not true or false; using true\n";
        }
    }
    if (const auto pairs = ReadText(kDrillPairsKey)) {
        if (FindPairSet(*pairs).key == *pairs) {
            drills_.pair_set = *pairs;
        } else {
            err_ << "talmo: the preference " << kDrillPairsKey << "=" << *pairs << " in "
                 << Quoted(path) << " is not a set of pairs; using " << drills_.pair_set << "\n";
        }
    }
}

std::optional<std::string> Preferences::ReadText(const char* key) {
    if (!file_.contains(key)) {
        return std::nullopt;
    }
    const QVariant value = file_.value(key);
    if (value.typeId() != QMetaType::QString) {
        err_ << "talmo: the preference " << key << " in " << Quoted(file_.fileName())
             << " is not a single word; using the default\n";
        return std::nullopt;
    }
    return value.toString().toStdString();
}

void Preferences::SetVoice(const std::string& voice) {
    if (voice == voice_) {
        return;
    }
    voice_ = voice;
    Write(kVoiceKey, voice);
}

void Preferences::SetStyle(SpeechStyle style) {
    if (style == style_) {
        return;
    }
    style_ = style;
    Write(kStyleKey, std::string(StyleName(style)));
}

void Preferences::SetDrills(const DrillChoices& drills) {
    const DrillChoices was = std::exchange(drills_, drills);
    if (drills.voice != was.voice) {
        Write(kDrillVoiceKey, drills.voice);
    }
    if (drills.style != was.style) {
        Write(kDrillStyleKey, std::string(StyleChoiceName(drills.style)));
    }
    if (drills.pair_set != was.pair_set) {
        Write(kDrillPairsKey, drills.pair_set);
    }
    if (drills.keep_history != was.keep_history) {
        Write(kKeepHistoryKey, drills.keep_history ? "true" : "false");
    }
}

void Preferences::Write(const char* key, const std::string& value) {
    if (!readable_) {
        err_ << "talmo: the preferences in " << Quoted(file_.fileName())
             << " could not be read, so they are not saved over\n";
        return;
    }
    file_.setValue(key, QString::fromStdString(value));
    file_.sync();
    if (file_.status() != QSettings::NoError) {
        err_ << "talmo: cannot save the preferences to " << Quoted(file_.fileName()) << "\n";
    }
}

}  // namespace talmo
