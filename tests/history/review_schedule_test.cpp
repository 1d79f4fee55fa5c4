// SPDX-License-Identifier: MIT
#include "review_schedule.h"

#include <gtest/gtest.h>

namespace talmo {
namespace {

// An answer at noon of a day, in a session, to an item of a drill.
AnswerRecord A(int day, int session, const char* played, bool right, const char* drill = "pairs") {
    return {day * kDayMs + kDayMs / 2, session, drill, played, "male", "clear", "", right, 900};
}

struct Case {
    const char* name;
    std::vector<AnswerRecord> answers;
    int session;
    int day;
    std::vector<ReviewItem> due;
};

class Review : public ::testing::TestWithParam<Case> {};

TEST_P(Review, BringsBackMissesOnALeitnerSchedule) {
    const Case& c = GetParam();
    EXPECT_EQ(DueForReview(c.answers, c.session, c.day * kDayMs + 1), c.due);
}

const ReviewItem kBox1{"pairs", "14/40", 1}, kBox2{"pairs", "14/40", 2}, kBox3{"pairs", "14/40", 3},
    kBox4{"pairs", "14/40", 4};
const AnswerRecord kMiss = A(0, 1, "14/40", false);

INSTANTIATE_TEST_SUITE_P(
    Histories, Review,
    ::testing::Values(
        Case{"never_missed", {A(0, 1, "14/40", true)}, 2, 0, {}},
        Case{"missed_not_due_in_the_same_session", {kMiss}, 1, 0, {}},
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
             {}},
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
             {}},
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
             {{"dictation", "17", 1}, kBox1, {"pairs", "17", 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace talmo
