// SPDX-License-Identifier: MIT
#include "learner_number.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace talmo {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> ParseLearnerNumber(std::string_view text,
                                         std::string_view decimal_separator) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    // Rewritten in the locale-free form that from_chars reads.
    std::string plain;
    plain.reserve(text.size());
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    std::size_t digits = 0;
    const auto take_digits = [&] {
        while (at < text.size() && IsDigit(text[at])) {
            plain += text[at++];
            ++digits;
        }
    };
    take_digits();
    if (!decimal_separator.empty() && text.substr(at).starts_with(decimal_separator)) {
        at += decimal_separator.size();
        plain += '.';
        take_digits();
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
        ++at;
        plain += 'e';
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            plain += text[at++];
        }
        const std::size_t before = digits;
        take_digits();
        if (digits == before) {
            return std::nullopt;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small reads as zero; too large as an infinity.
        const auto exponent = plain.find('e');
        const bool tiny = exponent != std::string::npos && plain[exponent + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc{} || end != plain.data() + plain.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<std::int32_t> RoundToInt32(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // nearbyint follows the rounding mode; ties go to even only in the default one.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(saved);
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace talmo
