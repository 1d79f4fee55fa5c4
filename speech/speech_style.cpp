// SPDX-License-Identifier: MIT
#include "speech/speech_style.h"

namespace talmo {

std::string_view StyleName(SpeechStyle style) {
    return style == SpeechStyle::kEveryday ? "everyday" : "clear";
}

std::optional<SpeechStyle> ParseStyle(std::string_view name) {
    for (const SpeechStyle style : {SpeechStyle::kClear, SpeechStyle::kEveryday}) {
        if (StyleName(style) == name) {
            return style;
        }
    }
    return std::nullopt;
}

std::string BadStyleMessage(std::string_view value) {
    return "--style takes clear or everyday, not '" + std::string(value) + "'";
}

}  // namespace talmo
