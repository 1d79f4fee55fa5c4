// SPDX-License-Identifier: MIT
#include "drills/drill_settings.h"

#include "speech/voice.h"

namespace talmo {

std::string_view StyleChoiceName(StyleChoice choice) {
    return choice == StyleChoice::kBoth ? "both" : StyleName(static_cast<SpeechStyle>(choice));
}

std::optional<StyleChoice> ParseStyleChoice(std::string_view name) {
    for (const StyleChoice c : kEveryStyleChoice) {
        if (StyleChoiceName(c) == name) {
            return c;
        }
    }
    return std::nullopt;
}

std::vector<Rendition> Renditions(const DrillChoices& choices) {
    std::vector<SpeechStyle> styles;
    for (const StyleDescriptor& row : kSpeechStyles) {
        if (choices.style == StyleChoice::kBoth ||
            choices.style == static_cast<StyleChoice>(row.style)) {
            styles.push_back(row.style);
        }
    }
    const auto voices = EmbeddedVoices();
    std::vector<Rendition> renditions;
    for (const VoiceInfo& voice : voices) {
        if (choices.voice == kAllVoices || voice.name == choices.voice) {
            for (const SpeechStyle style : styles) {
                renditions.push_back({voice.name, style});
            }
        }
    }
    if (renditions.empty()) {  // a voice this program does not carry: the first
        for (const SpeechStyle style : styles) {
            renditions.push_back({voices.front().name, style});
        }
    }
    return renditions;
}

void DrillSettings::Set(const DrillChoices& choices) {
    if (choices == choices_) {
        return;
    }
    choices_ = choices;
    store_.Save(choices_);
    for (const auto& listener : listeners_) {
        listener();
    }
}

}  // namespace talmo
