// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

namespace talmo {

// One entry of a reference page: what its control shows, the Swedish written
// form it writes into the page's box, and the one clip it plays.
struct ReferenceRow {
    std::string_view caption;
    std::string_view written_form;  // empty where the page shows no written form
    std::string_view category;
    std::string_view clip;
};

// The cardinal buttons 0 to 19.
extern const std::array<ReferenceRow, 20> kCardinalButtons;
// The "Other numbers" list, in list order; entries are found by their text.
extern const std::array<ReferenceRow, 25> kCardinalList;
extern const std::array<ReferenceRow, 4> kFractions;
// The ordinals: the caption is the Swedish ordinal; English beside it.
extern const std::array<ReferenceRow, 20> kOrdinals;
extern const std::array<std::string_view, 20> kOrdinalsEnglish;
extern const std::array<ReferenceRow, 5> kOperators;
extern const std::array<ReferenceRow, 3> kExpressions;

inline constexpr std::string_view kOrdinalsNote =
    "For 21 - 29, 31- 39, etc., use the cardinal root plus the appropriate ordinal ending. "
    "For example, 31 is \"trettioförsta.\"";
inline constexpr std::string_view kSeparatorsNote =
    "In Swedish numbers, the comma and period are used in the opposite manner from English "
    "numbers. A comma is the decimal point, and periods separate larger numbers: 1.023,92";

}  // namespace talmo
