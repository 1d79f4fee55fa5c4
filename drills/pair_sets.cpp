// SPDX-License-Identifier: MIT
#include "drills/pair_sets.h"

#include <algorithm>

namespace talmo {
namespace {

// -ton against -tio: the teens and the tens, the classic trap.
constexpr NumberPair kTeensTens[] = {{13, 30}, {14, 40}, {15, 50}, {16, 60},
                                     {17, 70}, {18, 80}, {19, 90}};
// The same ending inside a longer number, where the rest of it hurries the ear.
constexpr NumberPair kInside[] = {{314, 340},   {517, 570},     {1914, 1940},   {2018, 2080},
                                  {3616, 3660}, {17000, 70000}, {19000, 90000}, {14500, 40500}};
// s against sj: sex and sju begin with the two sounds English hears as one.
constexpr NumberPair kSexSju[] = {{6, 7},     {16, 17},     {60, 70},      {66, 77},
                                  {600, 700}, {6000, 7000}, {16000, 17000}};
// A unit against its ten, which begins with the unit's sound: in everyday
// speech the ten is two short syllables, and only its -ti tells them apart.
constexpr NumberPair kUnitTen[] = {{3, 30}, {4, 40}, {6, 60}, {7, 70}, {8, 80}, {9, 90}};

constexpr PairSet kSets[] = {
    {"teens-tens", "The teens and the tens (14 or 40)", kTeensTens},
    {"inside", "Teens and tens inside longer numbers (314 or 340)", kInside},
    {"sex-sju", "s or sj: sex and sju (6 or 7)", kSexSju},
    {"unit-ten", "A unit or its ten (4 or 40)", kUnitTen},
};

}  // namespace

std::span<const PairSet> PairSets() {
    return kSets;
}

const PairSet& FindPairSet(std::string_view key) {
    const auto it = std::find_if(std::begin(kSets), std::end(kSets),
                                 [&](const PairSet& s) { return s.key == key; });
    return it == std::end(kSets) ? kSets[0] : *it;
}

std::string DrillSaid(int number, const NumberWordsOf& words) {
    return words ? DrillDigits(number) + " \u2014 " + words(number) : DrillDigits(number);
}

std::string DrillDigits(int number) {
    std::string digits = std::to_string(number);
    if (number < 10000) {
        return digits;
    }
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), "\u00a0");
    }
    return digits;
}

}  // namespace talmo
