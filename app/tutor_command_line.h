// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <span>
#include <string>

#include "speech/speech_style.h"
#include "speech/voice.h"

namespace talmo {

inline std::string TutorUsage() {
    return "usage: talmo [--voice " + VoiceChoices() + "] [--style " + StyleChoices() +
           "] [--drills]\n"
           "             [--help | --version]\n"
           "             [Qt's options, such as -platform NAME or -style NAME]";
}

// What the tutor's command line asks for. The tutor's own options are
// --voice, --style, --drills, --help and --version; Qt's own options (-platform, -style,
// -session and the like, with one dash or two) are left for Qt.
struct TutorCommandLine {
    enum class Action { kRun, kHelp, kVersion, kUnknownOption, kBadVoice } action = Action::kRun;
    std::string unknown;  // the option for kUnknownOption, the value given for kBadVoice
    // A voice's name or "all", when --voice asks for one: it overrides the
    // preferences for this run.
    std::optional<std::string> voice = std::nullopt;
    // How whole numbers are said, when --style clear|everyday asks: it
    // overrides the preferences for this run. Any other --style is Qt's.
    std::optional<SpeechStyle> style = std::nullopt;
    // --drills: the Drills window opens instead of the start screen.
    bool drills = false;
};

// args: the arguments after the program's name.
TutorCommandLine ReadTutorCommandLine(std::span<const std::string> args);

}  // namespace talmo
