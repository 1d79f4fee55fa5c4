// SPDX-License-Identifier: MIT
#include "drills/number_kinds.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <ranges>
#include <string>

namespace talmo {
namespace {

bool TeenOrTen(int two_digits) {
    return (two_digits >= 13 && two_digits <= 19) ||
           (two_digits >= 30 && two_digits % 10 == 0 && two_digits <= 90);
}

bool TeensTens(int n, std::string_view) {
    return TeenOrTen(n % 100) || (n >= 1000 && TeenOrTen(n / 1000 % 100));
}

bool Sevens(int, std::string_view digits) {
    return digits.find('7') != std::string_view::npos;
}

// A zero with a digit other than zero after it: 105, 2030, not 100.
bool InnerZero(int, std::string_view digits) {
    const auto zero = digits.find('0');
    return zero != std::string_view::npos &&
           digits.find_first_not_of('0', zero) != std::string_view::npos;
}

bool Hundreds(int n, std::string_view) {
    return n >= 100 && n <= 999;
}

bool Thousands(int n, std::string_view) {
    return n >= 1000;
}

// A kind: its name, its colour (one hue a kind, mid-bright, so that it reads
// on a light or a dark ground) and whether a number, with its digits, is of it.
struct KindRow {
    NumberKind kind;
    std::string_view name;
    Rgb colour;
    // None for kOther (of no other kind) and the kinds after it.
    bool (*rule)(int number, std::string_view digits);
};

constexpr KindRow kKinds[] = {
    {NumberKind::kTeensTens, "the teens and the tens", {0x4e, 0x9a, 0xe6}, &TeensTens},
    {NumberKind::kSevens, "7, 17 and 70", {0xe6, 0x7e, 0x22}, &Sevens},
    {NumberKind::kInnerZero, "a zero inside", {0x3c, 0xb3, 0x71}, &InnerZero},
    {NumberKind::kHundreds, "hundreds", {0xc0, 0x5c, 0xc8}, &Hundreds},
    {NumberKind::kThousands, "thousands", {0xd9, 0x4f, 0x4f}, &Thousands},
    {NumberKind::kOther, "other numbers", {0x9a, 0x9a, 0x9a}, nullptr},
    {NumberKind::kTime, "time", {0x26, 0xb5, 0xb5}, nullptr},
    {NumberKind::kPrices, "prices", {0xd4, 0xa8, 0x0c}, nullptr},
    {NumberKind::kPhoneNumbers, "phone numbers", {0xe6, 0x5c, 0xa6}, nullptr},
    {NumberKind::kYears, "years", {0x8c, 0xb3, 0x2d}, nullptr},
};
static_assert(std::size(kKinds) == kKindCount, "kKinds: one row a kind");
static_assert(std::ranges::all_of(std::views::iota(std::size_t{0}, kKindCount),
                                  [](std::size_t k) {
                                      return static_cast<std::size_t>(kKinds[k].kind) == k &&
                                             (kKinds[k].rule == nullptr) ==
                                                 (kKinds[k].kind >= NumberKind::kOther);
                                  }),
              "kKinds: in the enum's order, each with its rule up to kOther");

static_assert(KindOf(LifeKind::kTime) == NumberKind::kTime &&
                  KindOf(LifeKind::kPrice) == NumberKind::kPrices &&
                  KindOf(LifeKind::kPhone) == NumberKind::kPhoneNumbers &&
                  KindOf(LifeKind::kYear) == NumberKind::kYears,
              "NumberKind: the life drills' kinds in LifeKind's order");

const KindRow& Row(NumberKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

}  // namespace

std::string_view KindName(NumberKind kind) {
    return Row(kind).name;
}

Rgb KindColour(NumberKind kind) {
    return Row(kind).colour;
}

KindSet KindsOf(int n) {
    KindSet kinds{};
    const std::string digits = std::to_string(n);
    for (const KindRow& row : kKinds) {
        if (row.rule != nullptr) {
            kinds[static_cast<std::size_t>(row.kind)] = row.rule(n, digits);
        }
    }
    if (std::none_of(kinds.begin(), kinds.end(), [](bool k) { return k; })) {
        kinds[static_cast<std::size_t>(NumberKind::kOther)] = true;
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
