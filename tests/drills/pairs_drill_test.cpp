// SPDX-License-Identifier: MIT
#include "drills/pairs_drill.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "drills/drill_settings.h"

namespace talmo {
namespace {

// Repeatable draws.
struct SeededDraws final : DrillRandom {
    std::mt19937 engine{12345};
    std::size_t Below(std::size_t n) override { return engine() % n; }
};

std::vector<Rendition> FirstRenditions(int count) {
    using S = SpeechStyle;
    const Rendition all[] = {{"male", S::kClear},
                             {"male", S::kEveryday},
                             {"female", S::kClear},
                             {"female", S::kEveryday}};
    return {all, all + count};
}

struct Draws {
    std::size_t pairs;
    int renditions;
};

class TrialDrawing : public ::testing::TestWithParam<Draws> {};

// Over many blocks: both directions of every pair equally often within each
// block (give or take one), the same item never twice running, a pair never
// in the rendition it last had, and no two trials running alike where three
// renditions or more leave the choice.
TEST_P(TrialDrawing, BalancesDirectionsAndVariesRenditions) {
    const auto [pairs, count] = GetParam();
    const auto renditions = FirstRenditions(count);
    SeededDraws random;
    TrialDrawer drawer(pairs, random);
    std::optional<Trial> before;
    std::map<std::size_t, Rendition> pair_last;
    int second_on_left = 0;
    for (int block = 0; block < 50; ++block) {
        drawer.NewBlock();
        std::map<std::pair<std::size_t, bool>, int> seen;
        for (int t = 0; t < PairsDrill::kTrials; ++t) {
            const Trial trial = drawer.Next(renditions);
            ++seen[{trial.pair, trial.plays_second}];
            second_on_left += trial.second_on_left;
            if (count > 1 && pair_last.contains(trial.pair)) {
                EXPECT_NE(trial.rendition, pair_last[trial.pair]) << "block " << block << ", " << t;
            }
            pair_last[trial.pair] = trial.rendition;
            if (before) {
                EXPECT_FALSE(before->pair == trial.pair &&
                             before->plays_second == trial.plays_second);
                EXPECT_TRUE(count < 3 || before->rendition != trial.rendition);
            }
            before = trial;
        }
        ASSERT_EQ(seen.size(), 2 * pairs) << "every pair in both directions, block " << block;
        const auto [least, most] = std::minmax_element(
            seen.begin(), seen.end(), [](auto& a, auto& b) { return a.second < b.second; });
        EXPECT_LE(most->second - least->second, 1) << "block " << block;
    }
    EXPECT_GT(second_on_left, 0);  // either number on either button
    EXPECT_LT(second_on_left, 50 * PairsDrill::kTrials);
}

INSTANTIATE_TEST_SUITE_P(Sets, TrialDrawing,
                         ::testing::Values(Draws{7, 4}, Draws{8, 4}, Draws{6, 2}, Draws{10, 3},
                                           Draws{2, 4}, Draws{7, 1}));

TEST(Renditions, FollowTheChoices) {
    using S = SpeechStyle;
    EXPECT_EQ(Renditions({"all", StyleChoice::kBoth}), FirstRenditions(4));
    EXPECT_EQ(Renditions({"female", StyleChoice::kEveryday}),
              (std::vector<Rendition>{{"female", S::kEveryday}}));
    EXPECT_EQ(Renditions({"male", StyleChoice::kClear}),
              (std::vector<Rendition>{{"male", S::kClear}}));
    EXPECT_EQ(Renditions({"alto", StyleChoice::kBoth}), FirstRenditions(2));
}

// The view and the speaker as one log, in the order things happened.
struct Log final : PairsView, DrillSpeaker {
    std::vector<std::string> lines;
    void ShowStep(Step step) override { lines.push_back("step " + std::to_string(int(step))); }
    void ShowTrial(int trial, int trials, int left, int right) override {
        lines.push_back("trial " + std::to_string(trial) + "/" + std::to_string(trials) + " " +
                        std::to_string(left) + "|" + std::to_string(right));
    }
    void ShowVerdict(const std::string& text) override { lines.push_back("verdict " + text); }
    void MarkPlaying(std::optional<int> button) override {
        lines.push_back("mark " + (button ? std::to_string(*button) : "-"));
    }
    void ShowResult(int, int, std::span<const NumberPair>) override { lines.push_back("result"); }
    void Refresh() override {}
    void Speak(int number, const Rendition& r) override {
        lines.push_back("say " + std::to_string(number) + " " + std::string(r.voice) + " " +
                        std::string(StyleName(r.style)).substr(0, 1));
    }
    void Pause(std::chrono::milliseconds ms) override {
        lines.push_back("pause " + std::to_string(ms.count()));
    }
    std::vector<std::string> Take() { return std::exchange(lines, {}); }
};

// A trial, its replay, and a miss: the verdict, both numbers each on its
// button, either again on request, and Space going on. (The window's test
// plays a whole block.)
TEST(PairsDrill, ATrialAndAMiss) {
    Log log;
    SeededDraws random;
    PairsDrill drill(log, log, random, [](int n) { return "w" + std::to_string(n); });
    drill.SetPairs(FindPairSet("inside"));
    drill.SetRenditions({{"female", SpeechStyle::kEveryday}});
    log.Take();
    drill.Proceed();
    const auto pairs = drill.Set().pairs;
    const auto heard = [&] { return drill.Current().Heard(pairs); };
    const auto button_of = [&](int n) { return drill.Current().Button(pairs, 0) == n ? 0 : 1; };
    const auto say = [](int n) { return "say " + std::to_string(n) + " female e"; };
    EXPECT_EQ(log.Take(), (std::vector<std::string>{
                              "verdict ",
                              "trial 1/20 " + std::to_string(drill.Current().Button(pairs, 0)) +
                                  "|" + std::to_string(drill.Current().Button(pairs, 1)),
                              "step 1", "mark -", say(heard())}));

    drill.Proceed();  // Space replays
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"mark -", say(heard())}));

    const int was = heard();
    const NumberPair pair = pairs[drill.Current().pair];
    const int chose = was == pair.first ? pair.second : pair.first;
    drill.Choose(button_of(chose));
    const std::string at = std::to_string(button_of(was)), other = std::to_string(button_of(chose));
    const auto said = [](int n) { return DrillDigits(n) + " \u2014 w" + std::to_string(n); };
    EXPECT_EQ(log.Take(), (std::vector<std::string>{
                              "verdict That was " + said(was) + "; you chose " + said(chose),
                              "step 2", "mark " + at, say(was), "mark -", "pause 650",
                              "mark " + other, say(chose), "mark -"}));
    drill.Choose(button_of(was));  // again, to compare
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"mark " + at, say(was), "mark -"}));
    drill.Proceed();  // Space goes on
    EXPECT_EQ(log.Take().front(), "verdict ");
    EXPECT_EQ(drill.TrialNumber(), 2);
}

TEST(DrillDigits, GroupsFromTenThousand) {
    EXPECT_EQ(DrillDigits(1914), "1914");
    EXPECT_EQ(DrillDigits(17000), "17\u00a0000");
    EXPECT_EQ(DrillDigits(0), "0");
}

}  // namespace
}  // namespace talmo
