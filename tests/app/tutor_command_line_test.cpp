// SPDX-License-Identifier: MIT
#include "app/tutor_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talmo {
namespace {

using Action = TutorCommandLine::Action;
constexpr auto kDaily = SpeechStyle::kEveryday;

struct Line {
    std::vector<std::string> args;
    Action action;
    std::string unknown;
    std::optional<std::string> voice = std::nullopt;
    std::optional<SpeechStyle> style = std::nullopt;
    bool drills = false;
};

class ReadTutorCommandLineCase : public ::testing::TestWithParam<Line> {};

TEST_P(ReadTutorCommandLineCase, LeavesQtItsOwnOptions) {
    const TutorCommandLine command = ReadTutorCommandLine(GetParam().args);
    EXPECT_EQ(command.action, GetParam().action);
    EXPECT_EQ(command.unknown, GetParam().unknown);
    EXPECT_EQ(command.voice, GetParam().voice);
    EXPECT_EQ(command.style, GetParam().style);
    EXPECT_EQ(command.drills, GetParam().drills);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadTutorCommandLineCase,
    ::testing::Values(Line{{}, Action::kRun, ""}, Line{{"--help"}, Action::kHelp, ""},
                      Line{{"-platform", "offscreen", "--version"}, Action::kVersion, ""},
                      Line{{"-platform", "offscreen", "-style", "Fusion"}, Action::kRun, ""},
                      Line{{"--style=Fusion", "-reverse", "-session", "x"}, Action::kRun, ""},
                      // A value is taken as the option's, even one that looks like ours.
                      Line{{"-qwindowtitle", "--help"}, Action::kRun, ""},
                      Line{{"--loud"}, Action::kUnknownOption, "--loud"},
                      Line{{"-style", "Fusion", "-x"}, Action::kUnknownOption, "-x"},
                      Line{{"lesson"}, Action::kUnknownOption, "lesson"},
                      Line{{"--"}, Action::kUnknownOption, "--"},
                      Line{{"--voice", "female"}, Action::kRun, "", "female"},
                      Line{{"-style", "x", "--voice=both"}, Action::kRun, "", "all"},
                      Line{{"--voice=all"}, Action::kRun, "", "all"},
                      Line{{"--voice", "male"}, Action::kRun, "", "male"},
                      Line{{"--voice", "Female"}, Action::kBadVoice, "Female"},
                      Line{{"--voice="}, Action::kBadVoice, ""},
                      Line{{"--voice"}, Action::kBadVoice, ""},
                      Line{{"--style", "everyday"}, Action::kRun, "", {}, kDaily},
                      // Any other style is Qt's widget style.
                      Line{{"--style=everyday", "--style", "x"}, Action::kRun, "", {}, kDaily},
                      Line{{"--drills", "--voice", "all"}, Action::kRun, "", "all", {}, true},
                      Line{{"-drills"}, Action::kUnknownOption, "-drills"}));

}  // namespace
}  // namespace talmo
