// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

namespace talmo {

// One position of the dictation quiz's range slider.
struct PracticeRange {
    int position;
    std::string_view text;  // shown beside the slider and in its tip
    int largest;            // the largest number drawn
    int modulus;            // largest + 1, what the draw takes its remainder by
};

inline constexpr std::array<PracticeRange, 5> PracticeRangeTable{{
    {0, "0 - 10", 10, 11},
    {1, "0 - 100", 100, 101},
    {2, "0 - 1000", 1000, 1001},
    {3, "0 - 10000", 10000, 10001},
    {4, "0 - 99999", 99999, 100000},
}};

inline constexpr int kFirstRangePosition = 0;
inline constexpr int kLastRangePosition = 4;
// Where the quiz puts the slider whenever it restarts.
inline constexpr int kRestartRangePosition = 1;

// The row of a slider position; nullptr outside 0 to 4.
constexpr const PracticeRange* PracticeRangeAt(int position) {
    return position >= kFirstRangePosition && position <= kLastRangePosition
               ? &PracticeRangeTable[static_cast<std::size_t>(position)]
               : nullptr;
}

}  // namespace talmo
