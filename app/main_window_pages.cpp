// SPDX-License-Identifier: MIT
// The main window's pages: the practice pages, then the reference pages.
#include "app/main_window.h"
#include "practice/dictation_page.h"
#include "practice/enter_listen_page.h"
#include "reference/reference_pages.h"

namespace talmo {
namespace {

using Site = PageSite;

// clang-format off
constexpr forms::PageRow<PageSite> kMainWindowPages[] = {
    {.tab = "&Enter and Listen", .help_context = 5, .frame = {75, 360, 5130, 4050},
     .banner_box = "imgCounting", .banner = "Counting", .banner_order = 1,
     .make = [](const Site& s) -> forms::Page* { return new EnterListenPage(s.frame, s.speaker, s.platform.messages, s.platform.decimal_separator, s.help); }},
    {.tab = "&Listen and Enter", .help_context = 7, .frame = {90, 345, 5115, 4065},
     .banner_box = "imgDictation", .banner = "Dictation", .banner_order = 0,
     .make = [](const Site& s) -> forms::Page* { auto* page = new DictationPage(s.frame, s.platform.clock, s.platform.random, s.platform.messages, s.speaker, s.platform.decimal_separator); page->Quiz().SetLog(s.platform.answers); return page; }},
    {.tab = "&Numbers", .help_context = 9, .frame = {135, 345, 5055, 4095}, .frame_caption = "Numbers",
     .banner_box = "imgSwedishNumbers", .banner = "SwedishNumbers", .banner_order = 3,
     .make = [](const Site& s) -> forms::Page* { return new NumbersPage(s.frame, s.speaker, s.help); }},
    {.tab = "&Ordinals", .help_context = 10, .frame = {120, 315, 5055, 4095},
     .banner_box = "imgOrdinalNumbers", .banner = "OrdinalNumbers", .banner_order = 4,
     .make = [](const Site& s) -> forms::Page* { return new OrdinalsPage(s.frame, s.speaker); }},
    {.tab = "&Math", .help_context = 11, .frame = {120, 360, 5055, 3975},
     .banner_box = "imgBasicMath", .banner = "BasicMath", .banner_order = 2,
     .make = [](const Site& s) -> forms::Page* { return new MathPage(s.frame, s.speaker); }},
};
// clang-format on

}  // namespace

std::span<const forms::PageRow<PageSite>> MainWindowPages() {
    return kMainWindowPages;
}

}  // namespace talmo
