// SPDX-License-Identifier: MIT
// talmo: the tutor. It keeps no command line, no settings and no state.
#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app_services.h"
#include "help_window.h"
#include "main_window.h"
#include "pictures.h"
#include "pulse_clip_player.h"
#include "start_screen.h"

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
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "talmo: there is no display to show its windows on; "
                     "without one, run it as: xvfb-run %s\n",
                     argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Talmo");
    QApplication::setWindowIcon(talmo::ProgramIcon());
    QFont font = QApplication::font();
    font.setPointSizeF(8.25);
    QApplication::setFont(font);

    talmo::PulseClipPlayer player;
    talmo::LocalClock clock;
    talmo::UnseededRandom random;
    talmo::QtMessageBox messages;
    talmo::HelpOnRequest help;
    talmo::ImmediateEnd end;
    talmo::Platform platform{
        talmo::ClipStore::Embedded(),          player, clock, random, messages, help, end,
        QLocale().decimalPoint().toStdString()};

    talmo::StartScreen start(help, end,
                             [&platform] { return std::make_unique<talmo::MainWindow>(platform); });
    start.show();
    return app.exec();
}
