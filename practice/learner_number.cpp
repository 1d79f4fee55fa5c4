// SPDX-License-Identifier: MIT
#include "practice/learner_number.h"

#include <algorithm>
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

// The power of ten of a nonzero number in the plain form, as 0.d times ten
// to that power with d its first nonzero digit: the digits before the
// point, or minus the zeros after it, plus the written exponent, which may
// itself be too large for any integer type.
long long DecimalExponent(std::string_view plain) {
    const std::size_t e = std::min(plain.find('e'), plain.size());
    const std::string_view mantissa = plain.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos) {
        return std::numeric_limits<long long>::min();  // zero
    }
    long long power = first < point ? static_cast<long long>(point - first)
                                    : -static_cast<long long>(first - point - 1);
    constexpr long long kCap = 1'000'000'000'000LL;  // far beyond a double either way
    long long written = 0;
    for (std::size_t i = e + 1; i < plain.size(); ++i) {
        if (IsDigit(plain[i])) {
            written = std::min(kCap, written * 10 + (plain[i] - '0'));
        }
    }
    return power + (e + 1 < plain.size() && plain[e + 1] == '-' ? -written : written);
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
        value = DecimalExponent(plain) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc{} || end != plain.data() + plain.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

NearestRounding::NearestRounding() : saved_(std::fegetround()) {
    std::fesetround(FE_TONEAREST);
}
NearestRounding::~NearestRounding() {
    std::fesetround(saved_);
}

std::optional<std::int32_t> RoundToInt32(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double rounded = [value] {
        const NearestRounding nearest;
        return std::nearbyint(value);
    }();
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace talmo
