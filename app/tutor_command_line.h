// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>

#include "voice.h"

namespace talmo {

inline std::string TutorUsage() {
    return "usage: talmo [--voice " + VoiceChoices() +
           "] [--help | --version]\n"
           "             [Qt's options, such as -platform NAME or -style NAME]";
}

// What the tutor's command line asks for. The tutor's own options are
// --voice, --help and --version; Qt's own options (-platform, -style,
// -session and the like, with one dash or two) are left for Qt.
struct TutorCommandLine {
    enum class Action { kRun, kHelp, kVersion, kUnknownOption, kBadVoice } action = Action::kRun;
    std::string unknown;  // the option for kUnknownOption, the value given for kBadVoice
    // A voice's name or "all"; the first voice when none is asked for.
    std::string voice{EmbeddedVoices().front().name};
};

// args: the arguments after the program's name.
TutorCommandLine ReadTutorCommandLine(std::span<const std::string> args);

}  // namespace talmo
