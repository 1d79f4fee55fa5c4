// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>

namespace talmo {

inline constexpr const char* kTutorUsage =
    "usage: talmo [--help | --version] [Qt's options, such as -platform NAME or -style NAME]";

// What the tutor's command line asks for. The tutor has no options of its
// own but --help and --version; Qt's own options (-platform, -style,
// -session and the like, with one dash or two) are left for Qt.
struct TutorCommandLine {
    enum class Action { kRun, kHelp, kVersion, kUnknownOption } action = Action::kRun;
    std::string unknown;  // the option, for kUnknownOption
};

// args: the arguments after the program's name.
TutorCommandLine ReadTutorCommandLine(std::span<const std::string> args);

}  // namespace talmo
