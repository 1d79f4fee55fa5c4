// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "drills/drill_settings.h"
#include "drills/drill_voices.h"
#include "history/learner_history.h"

class QWidget;

namespace talmo {

// What the Drills window hands each page it builds. The window has one
// speaker and runs every page's actions through one queue, so that only one
// sound plays at a time.
struct DrillSite {
    QWidget* frame;
    DrillSpeaker& speaker;
    DrillActions& actions;
    DrillRandom& random;
    DrillSettings& settings;
    LearnerHistory& history;
    Confirm confirm;  // a question the learner answers yes or no
    // Shows a count on the page's tab ("Review (11)"); 0 shows none.
    std::function<void(int count)> tab_count = [](int) {};
    // The history was forgotten: the window says afresh where it stands.
    std::function<void()> history_changed = [] {};
};

}  // namespace talmo
