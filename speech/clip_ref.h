// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace talmo {

// Names one recording of the catalogue. Both texts match without regard to
// ASCII letter case: callers write "Time" or "5ganger6" for clips the
// catalogue keeps in capitals.
struct ClipRef {
    std::string Category;  // "NUMBERS", "ORDINALS" or "TIME"
    std::string Index;     // the clip's name within its category, such as "N40"

    friend bool operator==(const ClipRef&, const ClipRef&) = default;
};

}  // namespace talmo
