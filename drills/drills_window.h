// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QWidget>

#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "drills/drill_settings.h"
#include "drills/drill_site.h"
#include "drills/drill_voices.h"
#include "forms/page.h"
#include "forms/paged_window.h"
#include "history/learner_history.h"
#include "speech/clip_player.h"

namespace talmo {

// The Drills window's pages, in tab order.
std::span<const forms::PageRow<DrillSite>> DrillsWindowPages();

// The Drills window: practice beyond the main window's pages, on a tab strip
// of its own, with Help and Close. It speaks through its own engines, one a
// voice, over the player it is given, on a thread of their own so that the
// window stays live while a number plays; closing it only hides it. It takes
// the desktop's font, if given one.
class DrillsWindow final : public forms::PagedWindow {
  public:
    DrillsWindow(ClipPlayer& player, forms::HelpTopic help, ChoiceStore& choices,
                 DrillRandom& random, LearnerHistory& history, Confirm confirm,
                 const std::optional<QFont>& font = {},
                 std::span<const forms::PageRow<DrillSite>> pages = DrillsWindowPages());
    ~DrillsWindow() override;

    DrillSettings& Settings() { return settings_; }

  private:
    // Lays the window out for its font, and grows the pages into the room
    // a larger window gives.
    void Fit();
    void Stretch();
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // What the history has to say, on the window's notice line.
    void ShowNotice(bool afresh = false);
    // The sound line: shown while the sound server cannot be reached.
    void ShowSound();

    LearnerHistory& history_;
    DrillSettings settings_;
    VoicesSpeaker speaker_;
    DrillActions actions_{speaker_};
    std::vector<std::pair<QWidget*, QRect>> laid_out_;  // at the least size
    bool fitting_ = false;
};

}  // namespace talmo
