// SPDX-License-Identifier: MIT
#include "drills/number_kinds.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace talmo {
namespace {

bool TeenOrTen(int two_digits) {
    return (two_digits >= 13 && two_digits <= 19) ||
           (two_digits >= 30 && two_digits % 10 == 0 && two_digits <= 90);
}

}  // namespace

std::string_view KindName(NumberKind kind) {
    constexpr std::string_view kNames[] = {
        "the teens and the tens", "7, 17 and 70", "a zero inside", "hundreds", "thousands",
        "other numbers"};
    return kNames[static_cast<std::size_t>(kind)];
}

KindSet KindsOf(int n) {
    KindSet kinds{};
    const std::string digits = std::to_string(n);
    const auto set = [&](NumberKind k) { kinds[static_cast<std::size_t>(k)] = true; };
    if (TeenOrTen(n % 100) || (n >= 1000 && TeenOrTen(n / 1000 % 100))) {
        set(NumberKind::kTeensTens);
    }
    if (digits.find('7') != std::string::npos) {
        set(NumberKind::kSevens);
    }
    // A zero with a digit other than zero after it: 105, 2030, not 100.
    if (const auto zero = digits.find('0');
        zero != std::string::npos && digits.find_first_not_of('0', zero) != std::string::npos) {
        set(NumberKind::kInnerZero);
    }
    if (n >= 100 && n <= 999) {
        set(NumberKind::kHundreds);
    }
    if (n >= 1000) {
        set(NumberKind::kThousands);
    }
    if (std::none_of(kinds.begin(), kinds.end(), [](bool k) { return k; })) {
        set(NumberKind::kOther);
    }
    return kinds;
}

KindSet KindsUpTo(int max) {
    KindSet present{};
    for (int n = 0; n <= max; ++n) {
        const KindSet kinds = KindsOf(n);
        for (std::size_t k = 0; k < kKindCount; ++k) {
            present[k] = present[k] || kinds[k];
        }
    }
    return present;
}

KindWeights WeighKinds(std::span<const AnswerRecord> answers, const KindSet& present) {
    std::array<double, kKindCount> misses, given;
    misses.fill(1);
    given.fill(2);
    for (const AnswerRecord& a : answers) {
        int number = 0;
        const auto [end, error] =
            std::from_chars(a.played.data(), a.played.data() + a.played.size(), number);
        if (error != std::errc() || end != a.played.data() + a.played.size()) {
            continue;
        }
        const KindSet kinds = KindsOf(number);
        for (std::size_t k = 0; k < kKindCount; ++k) {
            given[k] += kinds[k];
            misses[k] += kinds[k] && !a.right;
        }
    }
    KindWeights weights{};
    for (std::size_t k = 0; k < kKindCount; ++k) {
        weights[k] = present[k] ? misses[k] / given[k] : 0;
    }
    // Raise the kinds below the least share to it, and share out the rest
    // among the others in proportion, until none is below it.
    KindSet floored{};
    for (bool changed = true; changed;) {
        changed = false;
        double free_share = 1, free_weight = 0;
        for (std::size_t k = 0; k < kKindCount; ++k) {
            if (floored[k]) {
                free_share -= kLeastShare;
            } else {
                free_weight += weights[k];
            }
        }
        for (std::size_t k = 0; k < kKindCount; ++k) {
            if (!floored[k] && present[k]) {
                weights[k] = free_weight > 0 ? weights[k] / free_weight * free_share : 0;
                if (weights[k] < kLeastShare) {
                    floored[k] = changed = true;
                    weights[k] = kLeastShare;
                }
            }
        }
    }
    return weights;
}

}  // namespace talmo
