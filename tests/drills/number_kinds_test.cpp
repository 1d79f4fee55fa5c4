// SPDX-License-Identifier: MIT
#include "drills/number_kinds.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace talmo {
namespace {

using K = NumberKind;

KindSet Of(std::initializer_list<K> kinds) {
    KindSet set{};
    for (const K k : kinds) {
        set[static_cast<std::size_t>(k)] = true;
    }
    return set;
}

TEST(NumberKinds, NameWhatLearnersMix) {
    const std::pair<int, KindSet> cases[] = {
        {14, Of({K::kTeensTens})},
        {40, Of({K::kTeensTens})},
        {17, Of({K::kTeensTens, K::kSevens})},
        {7, Of({K::kSevens})},
        {105, Of({K::kInnerZero, K::kHundreds})},
        {100, Of({K::kHundreds})},
        {2030, Of({K::kTeensTens, K::kInnerZero, K::kThousands})},
        {18000, Of({K::kTeensTens, K::kThousands})},
        {22, Of({K::kOther})},
        {0, Of({K::kOther})}};
    for (const auto& [n, kinds] : cases) {
        EXPECT_EQ(KindsOf(n), kinds) << n;
    }
}

std::vector<AnswerRecord> Answers(int played, int count, int missed) {
    std::vector<AnswerRecord> answers;
    for (int i = 0; i < count; ++i) {
        answers.push_back(
            {i, 1, "dictation", std::to_string(played), "male", "clear", "", i >= missed, 0});
    }
    return answers;
}

struct Weighing {
    const char* name;
    std::vector<AnswerRecord> answers;
    int max;
    K most;  // the kind drawn most often
};

class Weights : public ::testing::TestWithParam<Weighing> {};

// Shares that add up to one, at least a tenth for every kind the range holds
// and none for the others, most for what is missed most; and the draws follow.
TEST_P(Weights, FavourTheMissedAndKeepEveryKind) {
    const KindSet present = KindsUpTo(GetParam().max);
    const KindWeights w = WeighKinds(GetParam().answers, present);
    EXPECT_NEAR(std::accumulate(w.begin(), w.end(), 0.0), 1.0, 1e-9);
    for (std::size_t k = 0; k < kKindCount; ++k) {
        EXPECT_TRUE(present[k] ? w[k] >= kLeastShare - 1e-9 : w[k] == 0) << k << ": " << w[k];
    }
    EXPECT_EQ(std::max_element(w.begin(), w.end()) - w.begin(), static_cast<int>(GetParam().most));
    std::mt19937 random(7);
    std::array<int, kKindCount> drawn{};
    for (int i = 0; i < 5000; ++i) {
        const int n = DrawByKind(w, GetParam().max, (random() % 100000) / 100000.0,
                                 [&](int below) { return static_cast<int>(random() % below); });
        ASSERT_LE(n, GetParam().max);
        for (std::size_t k = 0; k < kKindCount; ++k) {
            drawn[k] += KindsOf(n)[k];
        }
    }
    for (std::size_t k = 0; k < kKindCount; ++k) {
        EXPECT_TRUE(!present[k] || drawn[k] >= 5000 * kLeastShare * 0.9) << k << ": " << drawn[k];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Histories, Weights,
    ::testing::Values(Weighing{"none_yet", {}, 99999, K::kTeensTens},
                      Weighing{"teens_missed", Answers(14, 200, 150), 99999, K::kTeensTens},
                      Weighing{"thousands_missed", Answers(2222, 200, 190), 99999, K::kThousands},
                      Weighing{"hundreds_missed_in_a_small_range", Answers(222, 50, 50), 1000,
                               K::kHundreds}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace talmo
