// SPDX-License-Identifier: MIT
// Any bytes as a learner's entry, with any of several decimal separators.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "practice/learner_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the locale's separator; the rest is the text.
    static constexpr std::string_view kSeparators[] = {".", ",", "\xd9\xab", "", "::"};
    const std::string_view separator = kSeparators[data[0] % std::size(kSeparators)];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto value = talmo::ParseLearnerNumber(text, separator);
    if (!value) {
        return 0;
    }
    if (std::isnan(*value)) {
        std::abort();  // the grammar has no way to write NaN
    }
    if (const auto whole = talmo::RoundToInt32(*value)) {
        if (std::fabs(*value - *whole) > 0.5) {
            std::abort();
        }
    } else if (std::isfinite(*value) && std::fabs(*value) < 2147483647.0) {
        std::abort();  // in range, so it must round
    }
    return 0;
}
