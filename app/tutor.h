// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

#include "app/answer_history.h"
#include "app/app_services.h"
#include "app/drills_on_request.h"
#include "app/preferences.h"
#include "app/start_screen.h"
#include "app/tutor_command_line.h"
#include "help/help_window.h"
#include "history/learner_history.h"
#include "practice/practice_services.h"
#include "speech/heard_player.h"
#include "speech/pulse_clip_player.h"
#include "speech/speech_engine.h"

namespace talmo {

// The tutor's services, each made once, in the order each needs the ones
// before it (the preferences, the players, the speech engine, the learner's
// history, the help and the Drills window's opener), and its first window.
// Every window is handed what it uses; nothing is wired after the fact. Made
// once the application is, with the command line the program was given.
class Tutor {
  public:
    Tutor(const TutorCommandLine& command, const QFont& desktop_font);

    // Shows the first window: the start screen, or with --drills the Drills
    // window alone.
    void Start();

  private:
    const bool drills_only_;
    Preferences preferences_;
    PulseClipPlayer pulse_;
    HeardPlayer player_;
    // The Drills window plays on a thread of its own, and a player serves
    // one thread at a time.
    PulseClipPlayer drills_player_;
    VoicePicker voices_;
    SpeechEngine speech_;
    // Opened with the first answer to keep or the Drills window, never at start.
    LearnerHistory history_;
    DictationHistory dictation_answers_;
    HelpOnRequest help_;
    LocalClock clock_;
    UnseededRandom random_;
    QtMessageBox messages_;
    ImmediateEnd end_;
    Platform platform_;
    PreferredDrills drill_choices_;
    DrillsOnRequest drills_;
    StartScreen start_;
};

}  // namespace talmo
