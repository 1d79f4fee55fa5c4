// SPDX-License-Identifier: MIT
#include "speech/number_speaker.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "speech/clip_store.h"

namespace talmo {
namespace {

struct Example {
    int number;
    const char* clips;
};

void PrintTo(const Example& d, std::ostream* os) {
    *os << d.number;
}

class NumberClipsExamples : public ::testing::TestWithParam<Example> {};

TEST_P(NumberClipsExamples, SaysTheNumberWithTheseClips) {
    EXPECT_EQ(ClipNames(NumberClips(GetParam().number)), GetParam().clips);
}

// The worked examples, then the edge cases around zeros, the 20s and truncation.
INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, NumberClipsExamples,
    ::testing::Values(
        Example{0, "0NOLL"}, Example{7, "7SJU"}, Example{12, "12TOLV"}, Example{13, "N13"},
        Example{20, "N20"}, Example{21, "N21"}, Example{29, "N29"}, Example{30, "N30"},
        Example{31, "N30, 1ETT"}, Example{99, "N90, 9NIO"}, Example{100, "1ETT, N100"},
        Example{101, "1ETT, N100, 1ETT"}, Example{110, "1ETT, N100, 10TIO"},
        Example{121, "1ETT, N100, N21"}, Example{130, "1ETT, N100, N30"},
        Example{342, "3TRE, N100, N40, 2TVA"}, Example{999, "9NIO, N100, N90, 9NIO"},
        Example{1000, "1ETT, N1000"}, Example{1001, "1ETT, N1000, 1ETT"},
        Example{1019, "1ETT, N1000, N19"}, Example{1020, "1ETT, N1000, N20"},
        Example{1021, "1ETT, N1000, N20, 1ETT"}, Example{1100, "1ETT, N1000, 1ETT, N100"},
        Example{1101, "1ETT, N1000, 1ETT, N100, 1ETT"}, Example{2022, "2TVA, N1000, N20, 2TVA"},
        Example{5300, "5FEM, N1000, 3TRE, N100"}, Example{10000, "10TIO, N1000"},
        Example{11111, "11ELVA, N1000, 1ETT, N100, 11ELVA"},
        Example{12345, "12TOLV, N1000, 3TRE, N100, N40, 5FEM"}, Example{21000, "N21, N1000"},
        Example{25025, "N25, N1000, N20, 5FEM"}, Example{30000, "N30, N1000"},
        Example{31121, "N30, 1ETT, N1000, 1ETT, N100, N20, 1ETT"},
        Example{47110, "N40, 7SJU, N1000, 1ETT, N100, 10TIO"}, Example{99000, "N90, 9NIO, N1000"},
        Example{99999, "N90, 9NIO, N1000, 9NIO, N100, N90, 9NIO"}));

INSTANTIATE_TEST_SUITE_P(EdgeCases, NumberClipsExamples,
                         ::testing::Values(Example{300, "3TRE, N100"}, Example{40000, "N40, N1000"},
                                           Example{1005, "1ETT, N1000, 5FEM"},
                                           Example{10001, "10TIO, N1000, 1ETT"}, Example{25, "N25"},
                                           Example{125, "1ETT, N100, N25"},
                                           Example{1025, "1ETT, N1000, N20, 5FEM"},
                                           Example{1999, "1ETT, N1000, 9NIO, N100, N90, 9NIO"},
                                           Example{59, "N50, 9NIO"}, Example{-1, ""},
                                           Example{100000, ""}, Example{-2147483647 - 1, ""},
                                           Example{2147483647, ""}));

// Everyday speech: each clip with the form of its recording.
TEST(EverydayClips, DropTheLeadingEttPhraseAtTusenAndCloseEttBeforeIt) {
    const std::map<int, std::string> examples{
        {121, "N100/inner, N21/last"},
        {200, "2TVA/inner, N100/last"},
        {1021, "N1000/inner, N20/inner, 1ETT/last"},
        {1100, "N1000/phrase-end, 1ETT/inner, N100/last"},
        {2030, "2TVA/inner, N1000/inner, N30/last"},
        {17000, "N17/inner, N1000/last"},
        {21021, "N21/closed, N1000/inner, N20/inner, 1ETT/last"},
        {31121,
         "N30/inner, 1ETT/closed, N1000/phrase-end, 1ETT/inner, N100/inner, N20/inner, 1ETT/last"},
        {100000, ""}};
    for (const auto& [n, expected] : examples) {
        EXPECT_EQ(RecordingNames(n, SpeechStyle::kEveryday), expected) << n;
    }
}

TEST(NumberClips, ZeroIsTheTimeCategorysNoll) {
    const auto clips = NumberClips(0);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0], (ClipRef{"Time", "0NOLL"}));
}

// The value a listener hears: the words' values, "hundra" multiplying the
// digit before it and "tusen" everything before it.
int HeardValue(const std::vector<ClipRef>& clips) {
    static const std::map<std::string, int> kWordValues = [] {
        std::map<std::string, int> values{{"0NOLL", 0},  {"1ETT", 1}, {"2TVA", 2},   {"3TRE", 3},
                                          {"4FYRA", 4},  {"5FEM", 5}, {"6SEX", 6},   {"7SJU", 7},
                                          {"8ATTA", 8},  {"9NIO", 9}, {"10TIO", 10}, {"11ELVA", 11},
                                          {"12TOLV", 12}};
        for (int n = 13; n <= 29; ++n) {
            values["N" + std::to_string(n)] = n;
        }
        for (int n = 30; n <= 90; n += 10) {
            values["N" + std::to_string(n)] = n;
        }
        return values;
    }();
    int thousands = 0;
    int group = 0;
    int last_word = 0;
    for (const ClipRef& clip : clips) {
        if (clip.Index == "N1000") {
            thousands = group;
            group = 0;
        } else if (clip.Index == "N100") {
            group += last_word * 99;  // the digit was already added once
        } else {
            last_word = kWordValues.at(clip.Index);
            group += last_word;
        }
    }
    return thousands * 1000 + group;
}

// Every number of the domain, checked against how it sounds rather than
// against a second copy of the algorithm.
TEST(NumberClips, EveryNumberIsHeardAsItself) {
    const ClipStore& store = ClipStore::Embedded();
    for (int n = 0; n <= kLargestSpokenNumber; ++n) {
        const auto clips = NumberClips(n);
        ASSERT_GE(clips.size(), 1u) << n;
        ASSERT_LE(clips.size(), 7u) << n;
        ASSERT_EQ(HeardValue(clips), n) << n << ": " << ClipNames(clips);
        for (const ClipRef& clip : clips) {
            ASSERT_FALSE(store.LoadClip(clip).empty()) << n << ": " << clip.Index;
            if (n != 0) {
                ASSERT_NE(clip.Index, "0NOLL") << n;
            }
        }
        // After a thousand, 21 to 29 are "tjugo" and the unit, never one word.
        if (n >= 1000 && n % 100 > 20 && n % 100 < 30) {
            ASSERT_EQ(clips[clips.size() - 2].Index, "N20") << n;
        }
    }
}

}  // namespace
}  // namespace talmo
