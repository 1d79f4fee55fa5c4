// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

namespace talmo {

// What a page asks of the sound. Every call returns once its sound has been
// heard; a sound that cannot be played is skipped silently.
class Speaker {
  public:
    virtual ~Speaker() = default;
    // One clip: its name first, then its category.
    virtual void PlayNumber(std::string_view Index, std::string_view Category) = 0;
    // A whole number from 0 to 99999, clip after clip; the page that takes
    // the learner's own numbers speaks through this.
    virtual void SpeakNumber(int number) = 0;
    // The same, as the dictation quiz asks for it.
    virtual void ReadNumber(std::int32_t number_in) = 0;
};

}  // namespace talmo
