// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "app/app_services.h"
#include "drills/drill_settings.h"
#include "drills/drill_site.h"
#include "drills/drill_voices.h"
#include "forms/form.h"
#include "forms/page.h"
#include "history/learner_history.h"

class QTabBar;

namespace talmo {

// A page of the Drills window: its tab, Help's topic while it is shown, and
// how it is made.
struct DrillsPageEntry {
    const char* tab;
    int help_context;
    forms::Page* (*make)(const DrillSite& site);
};

// The Drills window's pages, in tab order.
std::span<const DrillsPageEntry> DrillsWindowPages();

// Help's "More practice" topic.
inline constexpr int kMorePracticeContext = 12;

// The Drills window: practice beyond the main window's pages, on a tab strip
// of its own, with Help and Close. It speaks through its own engines, one a
// voice, over the program's player, on a thread of their own so that the
// window stays live while a number plays; closing it only hides it.
class DrillsWindow final : public QWidget {
  public:
    DrillsWindow(Platform& platform, ChoiceStore& choices, DrillRandom& random,
                 LearnerHistory& history, Confirm confirm,
                 std::span<const DrillsPageEntry> pages = DrillsWindowPages());
    ~DrillsWindow() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    forms::Page& PageAt(int i) const { return *pages_[static_cast<std::size_t>(i)]; }
    QWidget* Find(std::string_view name, int index = -1) const;
    template <typename T>
    T* Get(std::string_view name, int index = -1) const {
        return qobject_cast<T*>(Find(name, index));
    }
    QTabBar* TabBar() const;
    DrillSettings& Settings() { return settings_; }

  private:
    void ShowPage(int index);
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

    Platform& platform_;
    LearnerHistory& history_;
    DrillSettings settings_;
    VoicesSpeaker speaker_;
    DrillActions actions_{speaker_};
    forms::Form form_;
    std::span<const DrillsPageEntry> entries_;
    std::vector<forms::Page*> pages_;                   // owned by their frames
    std::vector<std::pair<QWidget*, QRect>> laid_out_;  // at the least size
    bool fitting_ = false;
};

// The program's Drills window, made at the first request: a later request
// shows and raises the one there is.
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
