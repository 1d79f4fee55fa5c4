// SPDX-License-Identifier: MIT
#include "speech/speech_style.h"

#include <gtest/gtest.h>

#include <utility>

namespace talmo {
namespace {

// Every text about the styles is made from their one table, as it always read.
TEST(SpeechStyle, ItsTextsComeFromTheTable) {
    const std::pair<std::string, std::string> texts[] = {
        {StyleChoices(), "clear|everyday"},
        {StyleList(), "clear or everyday"},
        {StyleList("both"), "clear, everyday or both"},
        {BadStyleMessage("loud"), "--style takes clear or everyday, not 'loud'"}};
    for (const auto& [made, expected] : texts) {
        EXPECT_EQ(made, expected);
    }
    for (const StyleDescriptor& row : kSpeechStyles) {
        EXPECT_EQ(ParseStyle(StyleName(row.style)), row.style) << row.name;
    }
    EXPECT_EQ(ParseStyle("Clear"), std::nullopt);
}

}  // namespace
}  // namespace talmo
