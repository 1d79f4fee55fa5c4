// SPDX-License-Identifier: MIT
// talmo: the tutor. It keeps the learner's preferences and, unless told not
// to, a history of answers; its command line has only --voice, --style,
// --drills, --help and --version, and Qt's own options.
#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/pictures.h"
#include "app/tutor.h"
#include "app/tutor_command_line.h"
#include "history/user_files.h"
#include "speech/speech_style.h"

namespace {

bool HasDisplay() {
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window, so that neither needs a display.
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto command = talmo::ReadTutorCommandLine(args);
    switch (command.action) {
        case talmo::TutorCommandLine::Action::kHelp:
            std::printf("%s\n", talmo::TutorUsage().c_str());
            return 0;
        case talmo::TutorCommandLine::Action::kVersion:
            std::printf("talmo %s\n", TALMO_VERSION);
            return 0;
        case talmo::TutorCommandLine::Action::kUnknownOption:
            std::fprintf(stderr, "talmo: unknown option '%s'\n%s\n",
                         talmo::Printable(command.unknown).c_str(), talmo::TutorUsage().c_str());
            return 2;
        case talmo::TutorCommandLine::Action::kBadVoice:
            std::fprintf(stderr, "talmo: %s\n",
                         talmo::Printable(talmo::BadVoiceMessage(command.unknown)).c_str());
            return 2;
        case talmo::TutorCommandLine::Action::kRun:
            break;
    }
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "talmo: there is no display to show its windows on; "
                     "without one, run it as: xvfb-run %s\n",
                     talmo::Printable(argv[0]).c_str());
        return 1;
    }
    // Qt reads "--style NAME" as its widget style; a speech style never reaches it.
    std::vector<char*> qt_args{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--style" && i + 1 < argc && talmo::ParseStyle(argv[i + 1])) {
            ++i;
        } else if (!(arg.starts_with("--style=") && talmo::ParseStyle(arg.substr(8)))) {
            qt_args.push_back(argv[i]);
        }
    }
    int qt_argc = static_cast<int>(qt_args.size());
    qt_args.push_back(nullptr);
    QApplication app(qt_argc, qt_args.data());
    QApplication::setApplicationName("Talmo");
    // Given once the event loop runs, when the first window is already up:
    // decoding the icon's seven sizes and handing them to the window system
    // delayed the first window by 4 ms; the window manager takes it a moment later.
    QTimer::singleShot(0, [] { QApplication::setWindowIcon(talmo::ProgramIcon()); });
    const QFont desktop_font = QApplication::font();
    QFont font = desktop_font;
    font.setPointSizeF(8.25);
    QApplication::setFont(font);

    // A file size limit fails a write of the history, not the program.
    std::signal(SIGXFSZ, SIG_IGN);
    talmo::Tutor tutor(command, desktop_font);
    tutor.Start();
    return app.exec();
}
