// SPDX-License-Identifier: MIT
// talmo: the tutor. It keeps no state but the learner's preferences; its
// command line has only --voice, --style, --drills, --help and --version, and
// Qt's own options.
#include <QApplication>
#include <QLocale>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/answer_history.h"
#include "app/app_services.h"
#include "app/drills_on_request.h"
#include "app/main_window.h"
#include "app/pictures.h"
#include "app/preferences.h"
#include "app/start_screen.h"
#include "app/tutor_command_line.h"
#include "help/help_window.h"
#include "history/user_files.h"
#include "speech/heard_player.h"
#include "speech/pulse_clip_player.h"
#include "speech/speech_engine.h"

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
    QApplication::setWindowIcon(talmo::ProgramIcon());
    const QFont desktop_font = QApplication::font();
    QFont font = desktop_font;
    font.setPointSizeF(8.25);
    QApplication::setFont(font);

    talmo::PulseClipPlayer pulse;
    talmo::HeardPlayer player(pulse);
    talmo::PulseClipPlayer drills_player;
    talmo::LocalClock clock;
    talmo::UnseededRandom random;
    talmo::QtMessageBox messages;
    talmo::HelpOnRequest help;
    talmo::ImmediateEnd end;
    talmo::Preferences preferences(std::cerr);
    talmo::Platform platform{
        .voices = talmo::VoicePicker::ForChoice(command.voice.value_or(preferences.Voice())),
        .player = player,
        .clock = clock,
        .random = random,
        .messages = messages,
        .help = help,
        .end = end,
        .decimal_separator = QLocale().decimalPoint().toStdString(),
        .style = command.style.value_or(preferences.Style()),
        .drills_player = &drills_player,
        .drills_font = desktop_font};

    // The history file is opened with the first answer to keep or the Drills
    // window, never at start. A file size limit fails a write, not the program.
    std::signal(SIGXFSZ, SIG_IGN);
    talmo::PreferredDrills drill_choices(preferences);
    talmo::LearnerHistory history(talmo::HistoryStore::DefaultPath(), preferences);
    end.BeforeEnd([&history] { history.Close(); });
    // The tutor's speech: the main window's pages, its help and its dictation
    // history's voice and style all go by it.
    talmo::SpeechEngine speech(platform.voices, platform.player, platform.style);
    talmo::DictationHistory dictation_answers(history, [&player] { return player.LastHeard(); });
    dictation_answers.SetEngine(&speech);
    platform.answers = &dictation_answers;

    // The Drills window is made when it is first asked for, never at start.
    talmo::DrillsOnRequest drills(platform, drill_choices, history);
    platform.open_drills = [&drills] { drills.Open(); };
    help.SetDrillsOpener(platform.open_drills);

    talmo::StartScreen start(
        help, end,
        [&platform, &speech, &help] {
            auto window = std::make_unique<talmo::MainWindow>(platform, speech);
            // From here on the help's words and examples play as the window's do.
            help.SetSpeaker(speech, platform.voices.Catalogue());
            return window;
        },
        platform.open_drills);
    if (command.drills) {
        drills.Open();
    } else {
        start.show();
    }
    return app.exec();
}
