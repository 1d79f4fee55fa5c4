// SPDX-License-Identifier: MIT
#include "speech/life_readers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "speech/wave_image.h"

namespace talmo {
namespace {

constexpr auto kClear = SpeechStyle::kClear;
constexpr auto kEveryday = SpeechStyle::kEveryday;

// Every way of saying the value, "WAY: NAMES; WAY: NAMES".
std::string Ways(LifeKind kind, std::string_view value, SpeechStyle style) {
    std::string ways;
    for (const Saying& saying : LifeSayings(kind, value, style)) {
        ways +=
            (ways.empty() ? "" : "; ") + std::string(saying.way) + ": " + SayingClipNames(saying);
    }
    return ways;
}

// A value, the style, and every way of saying it.
using Said = std::tuple<const char*, SpeechStyle, const char*>;

void ExpectSaid(LifeKind kind, const std::vector<Said>& rows) {
    for (const auto& [value, style, ways] : rows) {
        EXPECT_EQ(Ways(kind, value, style), ways) << value;
    }
}

TEST(LifeSayings, Times) {
    ExpectSaid(LifeKind::kTime,
               {{"15:00", kClear, "12-hour: KLOCKAN, 3TRE; 24-hour: KLOCKAN, N15"},
                {"15:01", kClear, "12-hour: EN, OVER, 3TRE; 24-hour: N15, 0NOLL, 1ETT"},
                {"15:05", kClear, "12-hour: 5FEM, OVER, 3TRE; 24-hour: N15, 0NOLL, 5FEM"},
                {"15:15", kClear, "12-hour: KVART, OVER, 3TRE; 24-hour: N15, N15"},
                {"15:20", kClear,
                 "12-hour: N20, OVER, 3TRE; from the half: 10TIO, I, HALV, 4FYRA; 24-hour: N15, "
                 "N20"},
                {"15:25", kClear, "12-hour: 5FEM, I, HALV, 4FYRA; 24-hour: N15, N25"},
                {"15:29", kClear, "12-hour: EN, I, HALV, 4FYRA; 24-hour: N15, N29"},
                {"15:30", kClear, "12-hour: HALV, 4FYRA; 24-hour: N15, N30"},
                {"15:35", kClear, "12-hour: 5FEM, OVER, HALV, 4FYRA; 24-hour: N15, N30, 5FEM"},
                {"15:40", kClear,
                 "12-hour: N20, I, 4FYRA; from the half: 10TIO, OVER, HALV, 4FYRA; 24-hour: N15, "
                 "N40"},
                {"15:55", kClear, "12-hour: 5FEM, I, 4FYRA; 24-hour: N15, N50, 5FEM"},
                {"00:00", kClear, "12-hour: KLOCKAN, 12TOLV; 24-hour: KLOCKAN, 0NOLL"},
                {"03:00", kClear, "12-hour: KLOCKAN, 3TRE"},  // the same on either clock
                {"00:10", kClear, "12-hour: 10TIO, OVER, 12TOLV; 24-hour: 0NOLL, 10TIO"},
                {"12:30", kClear, "12-hour: HALV, 1ETT; 24-hour: 12TOLV, N30"},
                {"23:45", kClear, "12-hour: KVART, I, 12TOLV; 24-hour: N23, N40, 5FEM"},
                {"16:31", kClear, "12-hour: EN, OVER, HALV, 5FEM; 24-hour: N16, N30, 1ETT"},
                {"15:25", kEveryday,
                 "12-hour: 5FEM/inner, I/inner, HALV/inner, 4FYRA/last; 24-hour: N15/inner, "
                 "N25/last"},
                {"24:00", kClear, ""}});
}

TEST(LifeSayings, Years) {
    ExpectSaid(LifeKind::kYear,
               {{"1000", kClear, "nittonhundra: 10TIO, N100"},
                {"1066", kClear, "nittonhundra: 10TIO, N100, N60, 6SEX"},
                {"1900", kClear, "nittonhundra: N19, N100"},
                {"1984", kClear, "nittonhundra: N19, N100, N80, 4FYRA"},
                {"2000", kClear, "tvåtusen: 2TVA, N1000"},
                {"2005", kClear,
                 "tvåtusen: 2TVA, N1000, 5FEM; tjugohundra: N20, N100, 5FEM; tjugo: N20, 0NOLL, "
                 "5FEM"},
                {"2010", kClear,
                 "tjugohundra: N20, N100, 10TIO; tjugo: N20, 10TIO; tvåtusen: 2TVA, N1000, 10TIO"},
                {"2023", kClear,
                 "tjugohundra: N20, N100, N23; tjugo: N20, N23; tvåtusen: 2TVA, N1000, N20, 3TRE"},
                {"2099", kClear,
                 "tjugohundra: N20, N100, N90, 9NIO; tjugo: N20, N90, 9NIO; tvåtusen: 2TVA, N1000, "
                 "N90, 9NIO"}});
}

TEST(LifeSayings, Prices) {
    ExpectSaid(
        LifeKind::kPrice,
        {{"49,90", kClear,
          "short: N40, 9NIO, OCH, N90; kronor and öre: N40, 9NIO, KRONOR, OCH, N90, ORE"},
         {"49,90", kEveryday,
          "short: N40/inner, 9NIO/inner, N90/last; kronor and öre: N40/inner, 9NIO/inner, "
          "KRONOR/inner, OCH/inner, N90/inner, ORE/last"},
         {"49,05", kClear, "kronor and öre: N40, 9NIO, KRONOR, OCH, 5FEM, ORE"},
         {"1,00", kEveryday, "kronor: EN/inner, KRONA/last"},
         {"1,50", kClear, "short: EN, OCH, N50; kronor and öre: EN, KRONA, OCH, N50, ORE"},
         {"0,50", kClear, "kronor and öre: N50, ORE"},
         {"99,00", kClear, "kronor: N90, 9NIO, KRONOR"},
         {"99,00", kEveryday,
          "kronor: N90/inner, 9NIO/inner, KRONOR/last; spänn: N90/inner, 9NIO/inner, SPANN/last"},
         {"1100,00", kEveryday,
          "kronor: N1000/phrase-end, 1ETT/inner, N100/inner, KRONOR/last; spänn: "
          "N1000/phrase-end, 1ETT/inner, N100/inner, SPANN/last"}});
}

TEST(LifeSayings, PhoneNumbers) {
    ExpectSaid(LifeKind::kPhone,
               {{"070-123 45 67", kClear,
                 "groups: 0NOLL, 7SJU, 0NOLL | 1ETT, 2TVA, 3TRE | N40, 5FEM | N60, 7SJU"},
                {"070-123 45 05", kClear,
                 "groups: 0NOLL, 7SJU, 0NOLL | 1ETT, 2TVA, 3TRE | N40, 5FEM | 0NOLL, 5FEM"},
                {"070-123 45 67", kEveryday,
                 "groups: 0NOLL/inner, 7SJU/inner, 0NOLL/last | 1ETT/inner, 2TVA/inner, 3TRE/last "
                 "| N40/inner, 5FEM/last | N60/inner, 7SJU/last"}});
}

TEST(ReadLifeValue, WritesWhatItTakesAndNothingElse) {
    struct Row {
        LifeKind kind;
        const char* value;  // "": none of the texts is taken
        std::vector<const char*> typed;
    };
    using enum LifeKind;
    const Row rows[] = {
        {kTime, "15:25", {"15:25", "15.25", " 15:25 "}},
        {kTime, "09:05", {"9:05", "09.05"}},
        {kTime, "15:00", {"15", "15:00"}},
        {kTime, "", {"24:00", "12:60", "24", "15:5", "1525", "", "-1:00"}},
        {kPrice, "49,90", {"49,90", "49.90", "49:90", "49,90 kr"}},
        {kPrice, "49,00", {"49:-", "49,-", "49", "49kr", "49 :-", "49 KR"}},
        {kPrice, "1299,50", {"1 299,50", "1299.50 kr"}},
        {kPrice, "99999,00", {"99999"}},
        {kPrice, "", {"4,999", "49,9", "100000", ",50", "-5", "kr", "49,90 öre", "0,00", "12 99"}},
        {kPhone, "070-123 45 67", {"0701234567", "070 12 34 567", "070-123 45 67"}},
        {kPhone, "", {"070-123 45 6", "7012345678", "070-123 45 678", "+46701234567"}},
        {kYear, "1000", {"1000"}},
        {kYear, "", {"999", "2100", "20 24", "02024"}}};
    for (const Row& row : rows) {
        for (const char* typed : row.typed) {
            EXPECT_EQ(ReadLifeValue(row.kind, typed).value_or(""), row.value) << typed;
        }
    }
}

TEST(BadLifeValue, NamesWhatTheKindTakes) {
    EXPECT_EQ(BadLifeValue(LifeKind::kTime, "24:00"),
              "not a clock time from 00:00 to 23:59: 24:00");
    EXPECT_EQ(BadLifeValue(LifeKind::kPrice, "4,999"),
              "not a price in kronor and öre (49,90): 4,999");
    EXPECT_EQ(BadLifeValue(LifeKind::kPhone, "070-123 45 6"),
              "not a mobile phone number of 10 digits beginning with 0: 070-123 45 6");
    EXPECT_EQ(BadLifeValue(LifeKind::kYear, "999"), "not a year from 1000 to 2099: 999");
}

TEST(LifeAnswerMatches, TakesTheValueAsItWasHeard) {
    struct Row {
        LifeKind kind;
        const char* value;
        const char* way;
        std::vector<const char*> right, wrong;
    };
    using enum LifeKind;
    const Row rows[] = {
        {kTime, "15:30", "12-hour", {"15.30", "15:30", "3:30", "03.30"}, {"4.30", "15", "27:30"}},
        {kTime, "15:30", "24-hour", {"15:30"}, {"3.30"}},
        {kTime, "15:40", "from the half", {"3.40"}, {"3.20"}},
        {kTime, "15:00", "12-hour", {"3", "15", "3:00"}, {"4"}},
        {kTime, "15:00", "24-hour", {"15"}, {"3"}},
        {kTime, "00:30", "12-hour", {"12:30", "0.30"}, {}},
        {kPrice, "49,90", "short", {"49.90 kr", "49:90"}, {"49,9", "49"}},
        {kPrice, "49,00", "kronor", {"49:-", "49", "49,00"}, {"49,01"}},
        {kPhone, "070-123 45 67", "groups", {"070 123-4567"}, {"0701234568"}},
        {kYear, "2024", "tjugo", {"2024"}, {"24"}}};
    for (const Row& row : rows) {
        for (const auto& [typed, matches] : {std::pair{row.right, true}, {row.wrong, false}}) {
            for (const char* answer : typed) {
                EXPECT_EQ(LifeAnswerMatches(row.kind, row.value, row.way, answer), matches)
                    << row.value << " " << row.way << " " << answer;
            }
        }
    }
}

// Before the readers' own recordings exist their words are still written.
TEST(SayingWords, WritesTheWordsAsTheyJoin) {
    const ClipStore& store = ClipStore::Embedded();
    const auto words = [&store](LifeKind kind, const char* value, std::size_t way) {
        return SayingWords(store, LifeSayings(kind, value, kClear).at(way));
    };
    EXPECT_EQ(words(LifeKind::kTime, "15:25", 0), "fem i halv fyra");
    EXPECT_EQ(words(LifeKind::kYear, "1984", 0), "nittonhundraåttiofyra");
    EXPECT_EQ(words(LifeKind::kPrice, "1,50", 1), "en krona och femtio öre");
    EXPECT_EQ(words(LifeKind::kPrice, "1000,00", 0), "ettusen kronor");
    EXPECT_EQ(words(LifeKind::kPhone, "070-123 45 05", 0),
              "noll sju noll, ett två tre, fyrtiofem, noll fem");
}

// An everyday saying the store lacks one form of is said all clear.
TEST(SayingRecordings, FallsBackToClearWhenAFormIsMissing) {
    const std::vector<std::int16_t> samples{1};
    const auto clear = EncodeClip(samples, {}), inner = EncodeClip(samples, {{"INAM", "i"}});
    const ClipEntry n15{"NUMBERS", "N15", clear}, n25{"NUMBERS", "N25", clear};
    const ClipStore whole({n15, n25}, {{"NUMBERS", "N15", inner}}, {{"NUMBERS", "N25", inner}});
    const ClipStore lacking({n15, n25}, {}, {{"NUMBERS", "N25", inner}});
    const Saying said = LifeSayings(LifeKind::kTime, "15:25", kEveryday).at(1);
    // N25 has its last form in both: said clear only when N15 lacks its inner one.
    EXPECT_EQ(SayingRecordings(whole, said).at(1).size(), inner.size());
    EXPECT_EQ(SayingRecordings(lacking, said).at(1).size(), clear.size());
}

}  // namespace
}  // namespace talmo
