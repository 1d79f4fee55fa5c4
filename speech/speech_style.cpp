// SPDX-License-Identifier: MIT
#include "speech/speech_style.h"

#include <cstddef>
#include <vector>

namespace talmo {
namespace {

// Whether the enum has a style of this value. With no default, a style added
// to the enum fails to build here (-Wswitch, warnings being errors) until it
// has its case, and then below until it has its row.
constexpr bool IsStyle(SpeechStyle style) {
    switch (style) {
        case SpeechStyle::kClear:
        case SpeechStyle::kEveryday:
            return true;
    }
    return false;
}

constexpr bool RowsInOrder() {
    for (std::size_t i = 0; i < kSpeechStyles.size(); ++i) {
        if (static_cast<std::size_t>(kSpeechStyles[i].style) != i) {
            return false;
        }
    }
    return true;
}

static_assert(RowsInOrder(), "kSpeechStyles: one row a style, in the enum's order");
static_assert(!IsStyle(static_cast<SpeechStyle>(kSpeechStyles.size())),
              "kSpeechStyles: a style without its row");

}  // namespace

std::string_view StyleName(SpeechStyle style) {
    return kSpeechStyles[static_cast<std::size_t>(style)].name;
}

std::optional<SpeechStyle> ParseStyle(std::string_view name) {
    for (const StyleDescriptor& row : kSpeechStyles) {
        if (row.name == name) {
            return row.style;
        }
    }
    return std::nullopt;
}

std::string StyleChoices() {
    std::string choices;
    for (const StyleDescriptor& row : kSpeechStyles) {
        choices += (choices.empty() ? "" : "|") + std::string(row.name);
    }
    return choices;
}

std::string StyleList(std::string_view more) {
    std::vector<std::string_view> names;
    for (const StyleDescriptor& row : kSpeechStyles) {
        names.push_back(row.name);
    }
    if (!more.empty()) {
        names.push_back(more);
    }
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        list += i == 0 ? "" : i + 1 < names.size() ? ", " : " or ";
        list += names[i];
    }
    return list;
}

std::string BadStyleMessage(std::string_view value) {
    return "--style takes " + StyleList() + ", not '" + std::string(value) + "'";
}

}  // namespace talmo
