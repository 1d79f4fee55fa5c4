// SPDX-License-Identifier: MIT
#pragma once

#include "drill_settings.h"
#include "page.h"

namespace talmo {

// The drills' settings: the voice, the speech style and the set of pairs.
// A change applies at once and is kept.
class SettingsPage final : public forms::Page {
  public:
    SettingsPage(QWidget* frame, DrillSettings& settings);

  private:
    void Show(const DrillChoices& choices);

    DrillSettings& settings_;
};

}  // namespace talmo
