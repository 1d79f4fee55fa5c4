// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <span>

#include "app/app_services.h"
#include "forms/controls.h"
#include "forms/page.h"
#include "speech/speaker.h"

namespace talmo {

// What a window of pages hands each page it builds.
struct PageSite {
    QWidget* frame;  // the page's frame on the tab strip, its controls' parent
    Platform& platform;
    Speaker& speaker;
    forms::HelpTopic help;  // a topic of the program's help file
};

// One page as its window lists it: everything the window needs to know of
// it. The page itself owns its controls, handlers and wiring.
struct PageEntry {
    const char* tab;            // the tab's caption
    forms::Rect frame;          // the page's frame on the tab strip, in twips
    const char* frame_caption;  // usually none
    const char* banner_box;     // the page's picture box for its banner...
    const char* banner;         // ... and the picture it shows
    int banner_order;           // when the load step shows it, from 0
    int help_context;           // Help's topic while the page is shown
    forms::Page* (*make)(const PageSite& site);
};

// The tutor's main window's pages, in tab order.
std::span<const PageEntry> MainWindowPages();

}  // namespace talmo
