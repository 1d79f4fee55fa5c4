// SPDX-License-Identifier: MIT
#include "practice/learner_number.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <string>

namespace talmo {
namespace {

struct Entry {
    std::string text;
    const char* separator;
    std::optional<double> value;
};

void PrintTo(const Entry& e, std::ostream* os) {
    *os << '"' << e.text << "\" with '" << e.separator << "'";
}

class ParseLearnerNumberCase : public ::testing::TestWithParam<Entry> {};

TEST_P(ParseLearnerNumberCase, ReadsTheGrammar) {
    const auto value = ParseLearnerNumber(GetParam().text, GetParam().separator);
    ASSERT_EQ(value.has_value(), GetParam().value.has_value());
    if (value) {
        EXPECT_DOUBLE_EQ(*value, *GetParam().value);
    }
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseLearnerNumberCase,
    ::testing::Values(Entry{"0", ".", 0.0}, Entry{"99999", ".", 99999.0},
                      Entry{"  42  ", ".", 42.0}, Entry{"\t7\t", ".", 7.0}, Entry{"+5", ".", 5.0},
                      Entry{"-1", ".", -1.0}, Entry{"12.5", ".", 12.5}, Entry{".5", ".", 0.5},
                      Entry{"5.", ".", 5.0}, Entry{"1e3", ".", 1000.0}, Entry{"1E3", ".", 1000.0},
                      Entry{"2.5e-1", ".", 0.25}, Entry{"1e+2", ".", 100.0},
                      Entry{"1e20", ".", 1e20}, Entry{"1e400", ".", kInf},
                      Entry{"-1e400", ".", -kInf}, Entry{"1e-400", ".", 0.0},
                      // Long digit strings are placed by all their digits, not by the
                      // exponent's sign alone.
                      Entry{"1" + std::string(400, '0') + "e-398", ".", 100.0},
                      Entry{"1" + std::string(400, '0') + "e-398", ",", 100.0},
                      Entry{"1" + std::string(400, '0') + "e-1", ".", kInf},
                      Entry{"1" + std::string(400, '0') + "e-1", ",", kInf},
                      Entry{"0." + std::string(400, '0') + "1", ".", 0.0},
                      Entry{"0," + std::string(400, '0') + "1", ",", 0.0},
                      Entry{"0." + std::string(400, '0') + "1e99999999999999999999", ".", kInf},
                      // The locale's separator, and only it.
                      Entry{"12,5", ",", 12.5}, Entry{"12.5", ",", std::nullopt},
                      Entry{"12,5", ".", std::nullopt},
                      Entry{"3\xd9\xab"
                            "5",
                            "\xd9\xab", 3.5},
                      // Not numbers.
                      Entry{"", ".", std::nullopt}, Entry{"   ", ".", std::nullopt},
                      Entry{"abc", ".", std::nullopt}, Entry{"12abc", ".", std::nullopt},
                      Entry{"tre", ".", std::nullopt}, Entry{"1 000", ".", std::nullopt},
                      Entry{"1,000", ".", std::nullopt}, Entry{".", ".", std::nullopt},
                      Entry{"-", ".", std::nullopt}, Entry{"e3", ".", std::nullopt},
                      Entry{"1e", ".", std::nullopt}, Entry{"1e+", ".", std::nullopt},
                      Entry{"--1", ".", std::nullopt}, Entry{"1.2.3", ".", std::nullopt},
                      Entry{"inf", ".", std::nullopt}, Entry{"nan", ".", std::nullopt},
                      Entry{"0x10", ".", std::nullopt}, Entry{"1-", ".", std::nullopt},
                      Entry{"(1)", ".", std::nullopt}, Entry{"$5", ".", std::nullopt}));

struct Rounding {
    double value;
    std::optional<std::int32_t> whole;
};

class RoundToInt32Case : public ::testing::TestWithParam<Rounding> {};

TEST_P(RoundToInt32Case, RoundsHalvesToEven) {
    EXPECT_EQ(RoundToInt32(GetParam().value), GetParam().whole) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundToInt32Case,
    ::testing::Values(Rounding{2.5, 2}, Rounding{3.5, 4}, Rounding{12.5, 12}, Rounding{13.5, 14},
                      Rounding{0.4, 0}, Rounding{-0.4, 0}, Rounding{-0.5, 0}, Rounding{-1.5, -2},
                      Rounding{99999.4, 99999}, Rounding{99999.5, 100000},
                      Rounding{2147483647.0, 2147483647}, Rounding{2147483647.4, 2147483647},
                      Rounding{2147483647.5, std::nullopt},
                      Rounding{-2147483648.0, -2147483647 - 1},
                      Rounding{-2147483648.6, std::nullopt}, Rounding{1e20, std::nullopt},
                      Rounding{kInf, std::nullopt}, Rounding{-kInf, std::nullopt},
                      Rounding{std::nan(""), std::nullopt}));

// Rounding goes to even whatever rounding mode the caller left behind.
TEST(RoundToInt32, IgnoresTheCurrentRoundingMode) {
    std::fesetround(FE_UPWARD);
    const auto half = RoundToInt32(2.5);
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(half, 2);
}

TEST(ParseLearnerNumber, ReadsAMegabyteOfDigitsAsAValue) {
    const std::string text(1 << 20, '9');
    const auto value = ParseLearnerNumber(text, ".");
    ASSERT_TRUE(value.has_value());
    EXPECT_TRUE(std::isinf(*value));
    EXPECT_FALSE(ParseLearnerNumber(text + "x", ".").has_value());
}

}  // namespace
}  // namespace talmo
