// SPDX-License-Identifier: MIT
// The Drills window's pages.
#include "drills/dictation_drill_page.h"
#include "drills/drills_window.h"
#include "drills/life_drill_page.h"
#include "drills/pairs_page.h"
#include "drills/progress_page.h"
#include "drills/review_page.h"
#include "drills/settings_page.h"

namespace talmo {
namespace {

using Site = DrillSite;

// Help's "More practice" topic.
constexpr int kMorePracticeContext = 12;
// Help's "Numbers in life" topic.
constexpr int kNumbersInLifeContext = 13;
// Every page's frame on the tab strip, in twips.
constexpr forms::Rect kFrame = {90, 360, 6600, 4350};

template <LifeKind kind>
forms::Page* MakeLifePage(const Site& site) {
    return new LifeDrillPage(site, LifeDrillOf(kind));
}

// clang-format off
constexpr forms::PageRow<DrillSite> kDrillsWindowPages[] = {
    {.tab = "&Pairs", .help_context = kMorePracticeContext, .frame = kFrame,
     .make = [](const Site& s) -> forms::Page* { return new PairsPage(s); }},
    {.tab = "&Dictation", .help_context = kMorePracticeContext, .frame = kFrame,
     .make = [](const Site& s) -> forms::Page* { return new DictationDrillPage(s); }},
    {.tab = LifeDrillOf(LifeKind::kTime).tab, .help_context = kNumbersInLifeContext, .frame = kFrame,
     .make = MakeLifePage<LifeKind::kTime>},
    {.tab = LifeDrillOf(LifeKind::kPrice).tab, .help_context = kNumbersInLifeContext, .frame = kFrame,
     .make = MakeLifePage<LifeKind::kPrice>},
    {.tab = LifeDrillOf(LifeKind::kPhone).tab, .help_context = kNumbersInLifeContext, .frame = kFrame,
     .make = MakeLifePage<LifeKind::kPhone>},
    {.tab = LifeDrillOf(LifeKind::kYear).tab, .help_context = kNumbersInLifeContext, .frame = kFrame,
     .make = MakeLifePage<LifeKind::kYear>},
    {.tab = "Revie&w", .help_context = kMorePracticeContext, .frame = kFrame,
     .make = [](const Site& s) -> forms::Page* { return new ReviewPage(s); }},
    {.tab = "Pr&ogress", .help_context = kMorePracticeContext, .frame = kFrame,
     .make = [](const Site& s) -> forms::Page* { return new ProgressPage(s); }},
    {.tab = "Se&ttings", .help_context = kMorePracticeContext, .frame = kFrame,
     .make = [](const Site& s) -> forms::Page* { return new SettingsPage(s); }},
};
// clang-format on

}  // namespace

std::span<const forms::PageRow<DrillSite>> DrillsWindowPages() {
    return kDrillsWindowPages;
}

}  // namespace talmo
