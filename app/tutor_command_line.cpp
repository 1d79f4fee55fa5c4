// SPDX-License-Identifier: MIT
#include "app/tutor_command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "say/options.h"

namespace talmo {
namespace {

// Qt's options that take a value, as the next argument or after "=".
constexpr std::array<std::string_view, 15> kQtWithValue{"platform",
                                                        "platformpluginpath",
                                                        "platformtheme",
                                                        "plugin",
                                                        "qwindowgeometry",
                                                        "geometry",
                                                        "qwindowtitle",
                                                        "title",
                                                        "qwindowicon",
                                                        "icon",
                                                        "session",
                                                        "display",
                                                        "name",
                                                        "style",
                                                        "stylesheet"};
constexpr std::array<std::string_view, 7> kQtFlags{
    "reverse", "widgetcount", "nograb", "dograb", "sync", "testability", "qmljsdebugger"};

template <std::size_t N>
bool In(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

TutorCommandLine ReadTutorCommandLine(std::span<const std::string> args) {
    TutorCommandLine command;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return {TutorCommandLine::Action::kHelp, {}};
        }
        if (arg == "--version") {
            return {TutorCommandLine::Action::kVersion, {}};
        }
        if (arg == "--drills") {
            command.drills = true;
            continue;
        }
        // --style names a speech style, or else Qt's widget style, as it always has.
        const std::size_t at = i;
        if (const auto value = TakeOption(args, i, "--style")) {
            if (const auto style = ParseStyle(*value)) {
                command.style = *style;
                continue;
            }
            i = at;
        }
        if (const auto value = TakeOption(args, i, "--voice")) {
            // A missing name is a bad one.
            const auto voice = ParseVoiceChoice(*value);
            if (!voice) {
                return {TutorCommandLine::Action::kBadVoice, *value};
            }
            command.voice = *voice;
            continue;
        }
        std::string_view name = arg;
        if (name.starts_with("--")) {
            name.remove_prefix(2);
        } else if (name.starts_with("-")) {
            name.remove_prefix(1);
        }
        const std::size_t equals = name.find('=');
        const std::string_view bare = name.substr(0, equals);
        if (name.size() == arg.size() || bare.empty()) {
            command = {TutorCommandLine::Action::kUnknownOption, std::string(arg)};
            return command;
        }
        if (In(kQtWithValue, bare)) {
            i += equals == std::string_view::npos ? 1 : 0;  // its value
        } else if (!In(kQtFlags, bare)) {
            return {TutorCommandLine::Action::kUnknownOption, std::string(arg)};
        }
    }
    return command;
}

}  // namespace talmo
