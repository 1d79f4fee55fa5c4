// SPDX-License-Identifier: MIT
#pragma once

#include "drills/drill_site.h"
#include "forms/page.h"

namespace talmo {

// The drills' settings: the voice, the speech style, the set of pairs, and
// whether a history of answers is kept, which can also be forgotten. A
// change applies at once and is kept.
class SettingsPage final : public forms::Page {
  public:
    explicit SettingsPage(const DrillSite& site);

  private:
    void Show(const DrillChoices& choices);
    void Forget();

    DrillSettings& settings_;
    LearnerHistory& history_;
    Confirm confirm_;
    std::function<void()> history_changed_;
};

}  // namespace talmo
