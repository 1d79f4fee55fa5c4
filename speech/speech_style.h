// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace talmo {

// How whole numbers are said. Clear: each element its own citation form, at a
// dictation pace, for a beginner. Everyday: as Swedes say them, one stress per
// phrase, the -ti tens, at a reading pace. A lone clip is always clear.
enum class SpeechStyle { kClear, kEveryday };

// A style as the learner meets it: its name on the command line, in the
// preferences, the history and the drills' settings.
struct StyleDescriptor {
    SpeechStyle style;
    std::string_view name;
};

// Every style, in the enum's order: the one place a style is named. A style
// without its row does not build (speech_style.cpp).
inline constexpr std::array kSpeechStyles{
    StyleDescriptor{SpeechStyle::kClear, "clear"},
    StyleDescriptor{SpeechStyle::kEveryday, "everyday"},
};

// "clear" or "everyday".
std::string_view StyleName(SpeechStyle style);
// The style of that name, exactly; nothing for anything else.
std::optional<SpeechStyle> ParseStyle(std::string_view name);

// What --style takes, for a usage line: "clear|everyday".
std::string StyleChoices();

// The styles' names as a sentence lists them: "clear or everyday"; with
// another choice after them, "clear, everyday or both".
std::string StyleList(std::string_view more = {});

// The one line that answers a --style value that is not a style.
std::string BadStyleMessage(std::string_view value);

}  // namespace talmo
