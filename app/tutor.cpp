// SPDX-License-Identifier: MIT
#include "app/tutor.h"

#include <QLocale>

#include <iostream>
#include <memory>

#include "app/main_window.h"

namespace talmo {

Tutor::Tutor(const TutorCommandLine& command, const QFont& desktop_font)
    : drills_only_(command.drills),
      preferences_(std::cerr),
      player_(pulse_),
      voices_(VoicePicker::ForChoice(command.voice.value_or(preferences_.Voice()))),
      speech_(voices_, player_, command.style.value_or(preferences_.Style())),
      history_(HistoryStore::DefaultPath(), preferences_),
      dictation_answers_(history_, speech_, [this] { return player_.LastHeard(); }),
      platform_{.player = player_,
                .clock = clock_,
                .random = random_,
                .messages = messages_,
                .help = help_,
                .end = end_,
                .decimal_separator = QLocale().decimalPoint().toStdString(),
                .open_drills = [this] { drills_.Open(); },
                .answers = &dictation_answers_,
                .drills_player = &drills_player_,
                .drills_font = desktop_font},
      drill_choices_(preferences_),
      drills_(platform_, drill_choices_, history_),
      start_(
          help_, end_,
          [this] {
              auto window = std::make_unique<MainWindow>(platform_, speech_);
              // The help's words and examples are heard once the tutor's
              // window is up; from the start screen its topics are read.
              help_.SetSpeaker(speech_, voices_.Catalogue());
              return window;
          },
          platform_.open_drills) {
    end_.BeforeEnd([this] { history_.Close(); });
    help_.SetDrillsOpener(platform_.open_drills);
}

void Tutor::Start() {
    if (drills_only_) {
        drills_.Open();
    } else {
        start_.show();
    }
}

}  // namespace talmo
