// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace talmo {

// The value of a number as a learner types it, or nothing when the text is
// not a number. Accepted: blanks around an optional sign, then digits with an
// optional decimal part (at least one digit in all) written with the given
// decimal separator, then an optional exponent (E or e, an optional sign,
// digits). A value too large for a double reads as an infinity of its sign.
std::optional<double> ParseLearnerNumber(std::string_view text, std::string_view decimal_separator);

// The whole number nearest to value, an exact half going to the even
// neighbour (2.5 gives 2, 3.5 gives 4); nothing when that lies outside the
// signed 32-bit range.
std::optional<std::int32_t> RoundToInt32(double value);

// Rounds to nearest, ties to even, for as long as it lives (nearbyint follows
// the rounding mode), and gives the caller's mode back when it goes.
class NearestRounding {
  public:
    NearestRounding();
    ~NearestRounding();
    NearestRounding(const NearestRounding&) = delete;
    NearestRounding& operator=(const NearestRounding&) = delete;

  private:
    int saved_;
};

}  // namespace talmo
