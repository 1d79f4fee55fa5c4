// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talmo {

// How whole numbers are said. Clear: each element its own citation form, at a
// dictation pace, for a beginner. Everyday: as Swedes say them, one stress per
// phrase, the -ti tens, at a reading pace. A lone clip is always clear.
enum class SpeechStyle { kClear, kEveryday };

// "clear" or "everyday".
std::string_view StyleName(SpeechStyle style);
// The style of that name, exactly; nothing for anything else.
std::optional<SpeechStyle> ParseStyle(std::string_view name);

// What --style takes, for a usage line: "clear|everyday".
inline constexpr std::string_view kStyleChoices = "clear|everyday";

// The one line that answers a --style value that is not a style.
std::string BadStyleMessage(std::string_view value);

}  // namespace talmo
