// SPDX-License-Identifier: MIT
#include "history/review_schedule.h"
#include "history/learner_history.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace talmo {
namespace {

// An answer at d days since 1970, in a session, to an item of a drill.
AnswerRecord A(double d, int session, const char* played, bool right, const char* drill = "pairs") {
    return {std::llround(d * kDayMs), session, drill, played, "male", "clear", "", right, 900};
}

// What a plan holds besides the items now: held, coming, next_day, next_session.
using Later = std::tuple<int, std::array<int, 7>, std::optional<std::int64_t>, bool>;

struct Case {
    const char* name;
    std::vector<AnswerRecord> answers;
    int session;
    double now;  // days since 1970
    std::vector<ReviewItem> due;
    std::optional<Later> later = std::nullopt;  // unchecked if none
};

class Review : public ::testing::TestWithParam<Case> {};

TEST_P(Review, BringsBackMissesOnALeitnerSchedule) {
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);  // Swedish time, summer time and all
    tzset();
    const Case& c = GetParam();
    auto plan = PlanReview(c.answers, c.session, std::llround(c.now * kDayMs), LocalCalendar{}, 3);
    EXPECT_EQ(plan.now, c.due);
    if (c.later) {
        EXPECT_EQ(Later(plan.held, plan.coming, plan.next_day, plan.next_session), *c.later);
    }
}

const ReviewItem kBox1{"pairs", "14/40", 1}, kBox2{"pairs", "14/40", 2}, kBox3{"pairs", "14/40", 3},
    kBox4{"pairs", "14/40", 4};
const AnswerRecord kMiss = A(0, 1, "14/40", false);

INSTANTIATE_TEST_SUITE_P(
    Histories, Review,
    ::testing::Values(
        Case{"never_missed", {A(0, 1, "14/40", true)}, 2, 0, {}},
        Case{"missed_not_due_in_the_same_session", {kMiss}, 1, 0, {}},
        Case{"stamped_in_the_future_due_now", {A(5, 1, "14/40", false)}, 1, 0, {kBox1}},
        Case{"missed_due_in_the_next", {kMiss}, 2, 0, {kBox1}},
        Case{"right_in_the_same_session_counts_for_nothing",
             {kMiss, A(0, 1, "14/40", true)},
             2,
             0,
             {kBox1}},
        Case{"box_2_waits_a_day", {kMiss, A(0, 2, "14/40", true)}, 3, 0, {}},
        Case{"box_2_due_the_next_day", {kMiss, A(0, 2, "14/40", true)}, 3, 1, {kBox2}},
        Case{"early_answers_do_not_move_it",
             {kMiss, A(0, 2, "14/40", true), A(0, 3, "14/40", true)},
             4,
             1,
             {kBox2}},
        Case{"box_3_waits_3_days",
             {kMiss, A(0, 2, "14/40", true), A(1, 3, "14/40", true)},
             4,
             3,
             {},
             Later{0, {0, 1}, 4, false}},
        Case{"box_3_due", {kMiss, A(0, 2, "14/40", true), A(1, 3, "14/40", true)}, 4, 4, {kBox3}},
        Case{"box_4_due_after_7_days",
             {kMiss, A(0, 2, "14/40", true), A(1, 3, "14/40", true), A(4, 4, "14/40", true)},
             5,
             11,
             {kBox4}},
        Case{"retired",
             {kMiss, A(0, 2, "14/40", true), A(1, 3, "14/40", true), A(4, 4, "14/40", true),
              A(11, 5, "14/40", true)},
             6,
             40,
             {},
             Later{}},
        Case{"a_miss_puts_it_back",
             {kMiss, A(0, 2, "14/40", true), A(1, 3, "14/40", false)},
             4,
             1,
             {kBox1}},
        Case{"in_the_order_first_missed_each_drill_apart",
             {A(0, 1, "17", false, "dictation"), kMiss, A(0, 1, "17", true),
              A(0, 1, "17", false, "pairs")},
             2,
             0,
             {{"dictation", "17", 1}, kBox1, {"pairs", "17", 1}}},
        // Only 17 was reviewed today (40 while due the day before, 80 not due): 2 more fit in 3.
        Case{"daily_limit_counts_the_reviewed_today",
             {kMiss, A(0, 0, "40", false), A(0, 1, "40", false), A(0, 1, "70", false),
              A(0, 1, "17", false), A(0, 2, "17", true), A(1, 3, "17", true), A(1, 3, "80", false)},
             3,
             1.5,
             {kBox1, {"pairs", "40", 1}},
             Later{1, {3, 1, 0, 1}, 2, true}},
        // Missed at 23:30 before clocks went forward on 2024-03-31 (19813), due the next day in
        // the same session; missed at 00:30 on 2024-10-27 (20023), not due at 23:30 that day.
        Case{"spring", {A(19813 - 1.5 / 24, 1, "14/40", false)}, 1, 19813 + 0.5, {kBox1}},
        Case{"autumn", {A(20023 - 1.5 / 24, 1, "14/40", false)}, 1, 20023 + 22.5 / 24, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// The last millisecond of 9999, as the clock counts it and the calendar dates it.
TEST(Calendar, DatesTheYear9999) {
    const std::int64_t last = MsSince1970({.tv_sec = 253402300799, .tv_nsec = 999999999});
    EXPECT_EQ(UtcCalendar{}.Day(last), 2932896);
    EXPECT_LE(std::abs(LocalCalendar{}.Day(last) - UtcCalendar{}.Day(last)), 1);
}

}  // namespace
}  // namespace talmo
