// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "history/history_store.h"
#include "speech/life_readers.h"

namespace talmo {

// The kinds of number a learner of Swedish gets wrong; a number may be of
// several, and one of none is of kOther. After kOther come the kinds of the
// drills of numbers in daily life, one a LifeKind in its order: a number is
// never of them, an answer of such a drill only of its own. Each kind is a
// row of the table in number_kinds.cpp.
enum class NumberKind {
    kTeensTens,
    kSevens,
    kInnerZero,
    kHundreds,
    kThousands,
    kOther,
    kTime,
    kPrices,
    kPhoneNumbers,
    kYears
};
inline constexpr std::size_t kKindCount = static_cast<std::size_t>(NumberKind::kYears) + 1;
static_assert(kKindCount == static_cast<std::size_t>(NumberKind::kOther) + 1 + kLifeKinds.size(),
              "NumberKind: one kind a LifeKind after kOther");
using KindSet = std::array<bool, kKindCount>;
using KindWeights = std::array<double, kKindCount>;

// A colour by its red, green and blue, 0 to 255: the drills' models have no Qt.
struct Rgb {
    std::uint8_t red, green, blue;
};

// "the teens and the tens", "7, 17 and 70", ...
std::string_view KindName(NumberKind kind);
// Its colour on the Progress page.
Rgb KindColour(NumberKind kind);
KindSet KindsOf(int number);
// The kind of a life drill's values.
constexpr NumberKind KindOf(LifeKind kind) {
    return static_cast<NumberKind>(static_cast<std::size_t>(NumberKind::kOther) + 1 +
                                   static_cast<std::size_t>(kind));
}

// Every kind comes up at least this often where the range has it.
inline constexpr double kLeastShare = 0.1;

// How often the Dictation drill draws each kind: in proportion to the
// learner's misses of it among the answers given (with one miss and one hit
// assumed of each, so that a kind not yet met is neither shunned nor
// favoured), each present kind at least kLeastShare, absent kinds never.
// `present`: the kinds the practice range holds.
KindWeights WeighKinds(std::span<const AnswerRecord> answers, const KindSet& present);

// The kinds that numbers from 0 to max hold.
KindSet KindsUpTo(int max);

// A number from 0 to max of a kind drawn by the weights: random is a value
// from 0 up to, not including, 1, and pick(n) a whole number below n.
template <typename Pick>
int DrawByKind(const KindWeights& weights, int max, double random, Pick pick) {
    std::size_t kind = 0;
    for (double below = weights[0]; kind + 1 < kKindCount && random >= below;) {
        below += weights[++kind];
    }
    while (weights[kind] == 0 && kind > 0) {
        --kind;  // rounding past the last present kind
    }
    // Mostly found by a few draws; a rare kind in a wide range by a walk on.
    const int start = pick(max + 1);
    for (int tries = 0; tries < 200; ++tries) {
        const int n = tries == 0 ? start : pick(max + 1);
        if (KindsOf(n)[kind]) {
            return n;
        }
    }
    for (int step = 1; step <= max; ++step) {
        if (const int n = (start + step) % (max + 1); KindsOf(n)[kind]) {
            return n;
        }
    }
    return start;
}

}  // namespace talmo
