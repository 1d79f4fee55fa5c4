// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "app/app_services.h"
#include "drills/drill_settings.h"
#include "drills/drill_voices.h"
#include "drills/drills_window.h"
#include "history/learner_history.h"

namespace talmo {

// The program's Drills window, made at the first request: a later request
// shows and raises the one there is. It plays through the platform's
// Drills player, if it has one, and asks the program's help.
class DrillsOnRequest {
  public:
    DrillsOnRequest(Platform& platform, ChoiceStore& choices, LearnerHistory& history)
        : platform_(platform), choices_(choices), history_(history) {}
    ~DrillsOnRequest();
    void Open();
    DrillsWindow* Window() const { return window_.get(); }

  private:
    Platform& platform_;
    ChoiceStore& choices_;
    LearnerHistory& history_;
    std::unique_ptr<SeededRandom> random_;  // made with the window
    std::unique_ptr<DrillsWindow> window_;
};

}  // namespace talmo
