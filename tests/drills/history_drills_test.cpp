// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "drills/dictation_drill.h"
#include "drills/life_drill.h"
#include "drills/progress.h"
#include "drills/review_drill.h"

namespace talmo {
namespace {

// The views and the speaker as one log, in the order things happened.
struct Log final : DictationDrillView, ReviewView, DrillSpeaker {
    std::vector<std::string> lines;
    std::string typed;
    std::string AnswerText() override { return typed; }
    void ClearAnswer() override {}
    void ShowVerdict(const std::string& text) override {
        if (!text.empty()) {
            lines.push_back(text);
        }
    }
    void Refresh() override {}
    void ShowPlace(int item, int items) override {
        lines.push_back(std::to_string(item) + " of " + std::to_string(items));
    }
    void AskPair(int left, int right) override {
        lines.push_back("pair " + std::to_string(left) + "|" + std::to_string(right));
    }
    void AskTyped(std::string_view what) override { lines.push_back(std::string(what)); }
    void Finished() override { lines.push_back("finished"); }
    void Speak(int number, const Rendition&) override {
        lines.push_back("say " + std::to_string(number));
    }
    void SpeakSaying(const Saying& saying, const Rendition&) override {
        lines.push_back("say " + std::string(saying.way));
    }
    void Pause(std::chrono::milliseconds) override { lines.push_back("pause"); }
    std::vector<std::string> Take() { return std::exchange(lines, {}); }
};

struct Zeros final : DrillRandom {
    std::size_t Below(std::size_t) override { return 0; }
};

// The draws given, in order, then zeros.
struct Scripted final : DrillRandom {
    std::deque<std::size_t> draws;
    std::size_t Below(std::size_t n) override {
        const std::size_t next = draws.empty() ? 0 : draws.front();
        if (!draws.empty()) {
            draws.pop_front();
        }
        EXPECT_LT(next, n);
        return next;
    }
};

// A saying's words as its way, which the verdicts show.
std::string WayWords(const Saying& saying) {
    return "<" + std::string(saying.way) + ">";
}

// After a miss the learner hears what they wrote, a pause, then what was
// said; a right answer goes straight on to the next number.
TEST(DictationDrill, AMissPlaysWhatWasWrittenThenWhatWasSaid) {
    Log log;
    Zeros zeros;
    DictationDrill drill(log, log, zeros, [](int n) { return "w" + std::to_string(n); });
    std::vector<bool> verdicts;
    drill.OnAnswer(
        [&](int, const std::string&, bool right, const Rendition&) { verdicts.push_back(right); });
    drill.Play();
    ASSERT_EQ(drill.Number(), 13);  // the first number of the first kind
    log.typed = "x1";
    drill.Check();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{
                              "say 13", "Type the number you heard, in digits, from 0 to 99999."}));
    log.typed = "14";
    drill.Check();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"You wrote 14 \u2014 w14; it was 13 \u2014 w13",
                                                    "say 14", "pause", "say 13"}));
    EXPECT_FALSE(drill.Number());
    drill.Enter();  // on to the next number
    log.typed = " 13 ";
    drill.Enter();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"say 13", "Right: 13 \u2014 w13", "say 13"}));
    EXPECT_EQ(verdicts, (std::vector<bool>{false, true}));
    EXPECT_TRUE(drill.Number());
}

struct LifeCase {
    const char* name;
    LifeKind kind;
    std::deque<std::size_t> draws;  // the value's, the rendition's, the way's
    const char* typed;
    std::vector<std::string> heard;  // and seen, from Play to the verdict's sound
    const char* kept;                // drill, played, answer; "" for none
};

void PrintTo(const LifeCase& c, std::ostream* out) {
    *out << c.name;
}

class LifeDrills : public ::testing::TestWithParam<LifeCase> {};

// A value drawn and said one of its ways; its answer judged against that
// way and kept with it; after a miss a time is heard every way side by
// side, anything else as it was; a text that is no value of the kind is
// told what to type, and not kept.
TEST_P(LifeDrills, SayJudgeAndKeep) {
    const LifeCase& c = GetParam();
    Log log;
    Scripted random;
    random.draws = c.draws;
    LifeDrill drill(LifeDrillOf(c.kind), log, log, random, WayWords);
    std::string kept;
    drill.OnAnswer([&](const LifeTrial& trial, const std::string& answer, bool right) {
        kept = std::string(trial.row->drill) + " " + LifePlayed(trial.value, trial.saying.way) +
               " " + answer + (right ? " right" : " wrong");
    });
    drill.Play();
    log.typed = c.typed;
    drill.Enter();
    EXPECT_EQ(log.Take(), c.heard);
    EXPECT_EQ(kept, c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LifeDrills,
    ::testing::Values(
        LifeCase{"clock_right_in_12_hours",
                 LifeKind::kTime,
                 {15, 0, 4, 0, 0},  // 15, on the five, :20; 12-hour
                 "3.20",
                 {"say 12-hour", "Right: 15:20 \u2014 <12-hour>", "say 12-hour"},  // and on
                 "clock 15:20|12-hour 3.20 right"},
        LifeCase{"clock_missed_from_the_half",
                 LifeKind::kTime,
                 {15, 0, 4, 0, 1},
                 "15:25",
                 {"say from the half",
                  "You wrote 15:25; it was 15:20 \u2014 <12-hour> or <from the half> or <24-hour>",
                  "say 12-hour", "pause", "say from the half", "pause", "say 24-hour"},
                 "clock 15:20|from the half 15:25 wrong"},
        LifeCase{"clock_whole_hour_missed_heard_once",  // klockan tre on either clock
                 LifeKind::kTime,
                 {3, 0, 0, 0, 0},
                 "4.00",
                 {"say 12-hour", "You wrote 4.00; it was 03:00 \u2014 <12-hour>", "say 12-hour"},
                 "clock 03:00|12-hour 4.00 wrong"},
        LifeCase{"clock_whole_hour_by_its_hour",
                 LifeKind::kTime,
                 {15, 0, 0, 0, 0},
                 "3",
                 {"say 12-hour", "Right: 15:00 \u2014 <12-hour>", "say 12-hour"},
                 "clock 15:00|12-hour 3 right"},
        LifeCase{"clock_not_a_time",
                 LifeKind::kTime,
                 {9, 3, 7, 0, 0},  // any minute: 09:07
                 "9.60",
                 {"say 12-hour", std::string(LifeDrillOf(LifeKind::kTime).hint)},
                 ""},
        LifeCase{"price_missed",
                 LifeKind::kPrice,
                 {48, 0, 2, 0, 0},  // 49, a shop's öre: 90; short
                 "49,95",
                 {"say short", "You wrote 49,95; it was 49,90 \u2014 <short>", "say short"},
                 "prices 49,90|short 49,95 wrong"},
        LifeCase{"phone_missed",
                 LifeKind::kPhone,
                 {0, 1, 2, 3, 4, 5, 6, 7},
                 "0701234576",
                 {"say groups", "You wrote 0701234576; it was 070-123 45 67 \u2014 <groups>",
                  "say groups"},
                 "phone 070-123 45 67|groups 0701234576 wrong"},
        LifeCase{"year_right",
                 LifeKind::kYear,
                 {0, 84},
                 "1984",
                 {"say nittonhundra", "Right: 1984 \u2014 <nittonhundra>", "say nittonhundra"},
                 "years 1984|nittonhundra 1984 right"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every value a drill draws is one its reader takes, and says.
TEST(LifeDrills, DrawWhatTheReadersSay) {
    SeededRandom random;
    for (const LifeDrillRow& row : kLifeDrills) {
        for (int i = 0; i < 300; ++i) {
            const std::string drawn = row.draw(random);
            const auto value = ReadLifeValue(row.kind, drawn);
            ASSERT_TRUE(value && !LifeSayings(row.kind, *value, SpeechStyle::kClear).empty())
                << drawn;
        }
    }
}

// What a learner may type: groups of three after a space, spaces around.
TEST(TypedNumber, TakesDigitsInGroups) {
    const std::pair<const char*, std::optional<int>> answers[] = {
        {" 42 ", 42}, {"17 000", 17000}, {"17\u00a0000", 17000}, {"99999", 99999}, {"17 0 00", {}},
        {"1 2", {}},  {"17  000", {}},   {"100000", {}},         {"17,000", {}},   {"", {}},
        {"-5", {}},   {"1 000 000", {}}, {"\t7\u00a0", 7}};
    for (const auto& [typed, number] : answers) {
        EXPECT_EQ(TypedNumber(typed), number) << typed;
    }
    EXPECT_NE(NotANumber("17,000").find("without a comma"), std::string::npos);
}

// Each due item asked as it was met, its answer reported under its own drill.
TEST(ReviewDrill, AsksEachItemAsItWasMet) {
    Log log;
    Zeros zeros;
    ReviewDrill drill(
        log, log, zeros, [](int n) { return "w" + std::to_string(n); }, WayWords);
    std::vector<std::string> kept;
    drill.OnAnswer(
        [&](const ReviewItem& item, const std::string& answer, bool right, const Rendition& r) {
            kept.push_back(item.drill + " " + item.played + " " + answer +
                           (right ? " right " : " wrong ") + std::string(StyleName(r.style)));
        });
    drill.Start({{"pairs", "14/40", 1},
                 {"dictation", "105", 2},
                 {"dictation", "61", 1},
                 {"clock", "15:20|from the half", 1},
                 {"prices", "49,00|sp\u00e4nn", 1}},
                {});
    drill.Choose(1);  // 40 on the right; 14 was heard
    drill.Enter();
    drill.Answer("105");  // right: straight on
    drill.Answer("64");
    drill.Enter();
    drill.Answer("15:25");
    drill.Enter();
    drill.Answer("49");  // said as it was met, in everyday speech, the only one with spänn
    EXPECT_EQ(log.Take(),
              (std::vector<std::string>{
                  "1 of 5",
                  "pair 14|40",
                  "say 14",
                  "That was 14 \u2014 w14; you chose 40 \u2014 w40",
                  "say 14",
                  "pause",
                  "say 40",
                  "2 of 5",
                  "number",
                  "say 105",
                  "Right: 105 \u2014 w105",
                  "3 of 5",
                  "number",
                  "say 61",
                  "You wrote 64 \u2014 w64; it was 61 \u2014 w61",
                  "say 64",
                  "pause",
                  "say 61",
                  "4 of 5",
                  "time",
                  "say from the half",
                  "You wrote 15:25; it was 15:20 \u2014 <12-hour> or <from the half> or <24-hour>",
                  "say 12-hour",
                  "pause",
                  "say from the half",
                  "pause",
                  "say 24-hour",
                  "5 of 5",
                  "price",
                  "say sp\u00e4nn",
                  "Right: 49,00 \u2014 <sp\u00e4nn>",
                  "finished"}));
    EXPECT_EQ(kept,
              (std::vector<std::string>{
                  "pairs 14/40 40 wrong clear", "dictation 105 105 right clear",
                  "dictation 61 64 wrong clear", "clock 15:20|from the half 15:25 wrong clear",
                  "prices 49,00|sp\u00e4nn 49 right everyday"}));
}

TEST(Progress, TalliesTheLastDaysAndTheMostMissed) {
    const auto at = [](int day, const char* drill, const char* played, const char* answer,
                       bool right) {
        return AnswerRecord{day * kDayMs, 0, drill, played, "male", "clear", answer, right, 0};
    };
    const std::vector<AnswerRecord> answers{
        at(-1, "dictation", "14", "40", false),  // 30 days before: only in the first week
        at(25, "pairs", "14/40", "14", false),   // 40 heard
        at(29, "dictation", "14", "14", true),   at(29, "dictation", "14", "41", false),
        at(29, "dictation", "105", "105", true), at(29, "clock", "15:20|12-hour", "15:25", false)};
    const ProgressFigures figures = TallyProgress(answers, 29 * kDayMs + 1, UtcCalendar{});
    ASSERT_EQ(figures.days.size(), 30u);
    const auto teens = static_cast<std::size_t>(NumberKind::kTeensTens);
    EXPECT_EQ(figures.days[25].answers, 1);
    EXPECT_EQ(figures.days[25].given[teens], 1);
    EXPECT_EQ(figures.days[25].right[teens], 0);
    EXPECT_EQ(figures.days[29].answers, 4);
    EXPECT_EQ(figures.days[29].given[teens], 2);  // the time counts for its kind alone
    const auto time = static_cast<std::size_t>(NumberKind::kTime);
    EXPECT_EQ(figures.days[29].given[time] - figures.days[29].right[time], 1);
    EXPECT_EQ(figures.days[29].right[teens], 1);
    EXPECT_EQ(figures.days[0].day, 0);
    EXPECT_EQ(figures.days[5].week_given[teens], 1);  // day -1 is in the week to day 5
    EXPECT_EQ(figures.days[6].week_given[teens], 0);
    EXPECT_EQ(figures.days[29].week_given[teens], 3);  // days 25 and 29
    EXPECT_EQ(figures.days[29].week_right[teens], 1);
    EXPECT_EQ(figures.most_missed,
              (std::vector<MissedItem>{
                  {"clock", "15:20|12-hour", 1}, {"dictation", "14", 1}, {"pairs", "14/40", 1}}));
    const auto shown = ShownKinds(figures);  // the numbers' kinds, and the time once answered
    EXPECT_EQ(shown.size(), static_cast<std::size_t>(NumberKind::kOther) + 2);
    EXPECT_EQ(shown.back(), NumberKind::kTime);
}

}  // namespace
}  // namespace talmo
