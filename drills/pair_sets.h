// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace talmo {

// Two numbers a learner's ear mixes up.
struct NumberPair {
    int first;
    int second;
    friend bool operator==(const NumberPair&, const NumberPair&) = default;
};

// The pairs one drill block draws from. The help's "More practice" topic
// gives each set's reason.
struct PairSet {
    std::string_view key;   // its name in the preferences
    std::string_view name;  // as the learner chooses it
    std::span<const NumberPair> pairs;
};

// Every set, the teens and the tens first.
std::span<const PairSet> PairSets();
// The set of that key; the first set for anything else.
const PairSet& FindPairSet(std::string_view key);

// A number as the drill shows it: digits in groups of three from 10 000 up,
// with a no-break space between them, as Swedish writes them.
std::string DrillDigits(int number);

// A number's Swedish words, for the verdict after a miss.
using NumberWordsOf = std::function<std::string(int number)>;
// "40 — fyrtio": the digits, then the words when there are any.
std::string DrillSaid(int number, const NumberWordsOf& words);

}  // namespace talmo
