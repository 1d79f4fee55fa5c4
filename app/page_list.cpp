// SPDX-License-Identifier: MIT
#include "app/page_list.h"

#include "app/drills_window.h"
#include "drills/dictation_drill_page.h"
#include "drills/pairs_page.h"
#include "drills/progress_page.h"
#include "drills/review_page.h"
#include "drills/settings_page.h"
#include "practice/dictation_page.h"
#include "practice/enter_listen_page.h"
#include "reference/reference_pages.h"

namespace talmo {
namespace {

using Site = PageSite;

// clang-format off
constexpr PageEntry kMainWindowPages[] = {
    {"&Enter and Listen", {75, 360, 5130, 4050}, "", "imgCounting", "Counting", 1, 5, [](const Site& s) -> forms::Page* { return new EnterListenPage(s.frame, s.speaker, s.platform.messages, s.platform.decimal_separator, s.help); }},
    {"&Listen and Enter", {90, 345, 5115, 4065}, "", "imgDictation", "Dictation", 0, 7, [](const Site& s) -> forms::Page* { auto* page = new DictationPage(s.frame, s.platform.clock, s.platform.random, s.platform.messages, s.speaker, s.platform.decimal_separator); page->Quiz().SetLog(s.platform.answers); return page; }},
    {"&Numbers", {135, 345, 5055, 4095}, "Numbers", "imgSwedishNumbers", "SwedishNumbers", 3, 9, [](const Site& s) -> forms::Page* { return new NumbersPage(s.frame, s.speaker, s.help); }},
    {"&Ordinals", {120, 315, 5055, 4095}, "", "imgOrdinalNumbers", "OrdinalNumbers", 4, 10, [](const Site& s) -> forms::Page* { return new OrdinalsPage(s.frame, s.speaker); }},
    {"&Math", {120, 360, 5055, 3975}, "", "imgBasicMath", "BasicMath", 2, 11, [](const Site& s) -> forms::Page* { return new MathPage(s.frame, s.speaker); }},
};

constexpr DrillsPageEntry kDrillsWindowPages[] = {
    {"&Pairs", kMorePracticeContext, [](const DrillSite& s) -> forms::Page* { return new PairsPage(s); }},
    {"&Dictation", kMorePracticeContext, [](const DrillSite& s) -> forms::Page* { return new DictationDrillPage(s); }},
    {"Revie&w", kMorePracticeContext, [](const DrillSite& s) -> forms::Page* { return new ReviewPage(s); }},
    {"Pr&ogress", kMorePracticeContext, [](const DrillSite& s) -> forms::Page* { return new ProgressPage(s); }},
    {"Se&ttings", kMorePracticeContext, [](const DrillSite& s) -> forms::Page* { return new SettingsPage(s); }},
};
// clang-format on

}  // namespace

std::span<const PageEntry> MainWindowPages() {
    return kMainWindowPages;
}

std::span<const DrillsPageEntry> DrillsWindowPages() {
    return kDrillsWindowPages;
}

}  // namespace talmo
