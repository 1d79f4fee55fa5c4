// SPDX-License-Identifier: MIT
#include "app/drills_window.h"
#include "drills/dictation_drill_page.h"
#include "drills/pairs_page.h"
#include "drills/progress_page.h"
#include "drills/review_page.h"
#include "drills/settings_page.h"

namespace talmo {
namespace {

// clang-format off
constexpr DrillsPageEntry kDrillsWindowPages[] = {
    {"&Pairs", kMorePracticeContext, [](const DrillSite& s) -> forms::Page* { return new PairsPage(s); }},
    {"&Dictation", kMorePracticeContext, [](const DrillSite& s) -> forms::Page* { return new DictationDrillPage(s); }},
    {"Revie&w", kMorePracticeContext, [](const DrillSite& s) -> forms::Page* { return new ReviewPage(s); }},
    {"Pr&ogress", kMorePracticeContext, [](const DrillSite& s) -> forms::Page* { return new ProgressPage(s); }},
    {"Se&ttings", kMorePracticeContext, [](const DrillSite& s) -> forms::Page* { return new SettingsPage(s); }},
};
// clang-format on

}  // namespace

std::span<const DrillsPageEntry> DrillsWindowPages() {
    return kDrillsWindowPages;
}

}  // namespace talmo
