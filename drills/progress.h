// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "drills/number_kinds.h"
#include "history/history_store.h"
#include "history/review_schedule.h"

namespace talmo {

// One day's answers: how many, and per kind of number how many were given
// and how many were right, that day and in the 7 days ending on it.
struct DayTally {
    std::int64_t day = 0;  // the Calendar's day number
    int answers = 0;
    std::array<int, kKindCount> given{};
    std::array<int, kKindCount> right{};
    std::array<int, kKindCount> week_given{};  // below 5, too few for a sure point
    std::array<int, kKindCount> week_right{};
};

// An item missed, and how often.
struct MissedItem {
    std::string drill;
    std::string played;
    int misses;
    friend bool operator==(const MissedItem&, const MissedItem&) = default;
};

struct ProgressFigures {
    std::vector<DayTally> days;           // the last days, oldest first, today last
    std::vector<MissedItem> most_missed;  // the most missed first
    std::array<int, 7> coming{};          // items due for review, today and the next 6 days
};

// What the Progress panel shows, from the answers (oldest first; the first
// day's week needs the 6 days before it): each of the last `day_count` days
// of the calendar up to now, and the ten items missed most in them. A pair's
// answer counts for the kinds of the number heard, a life drill's for its
// kind alone.
ProgressFigures TallyProgress(std::span<const AnswerRecord> answers, std::int64_t now_ms,
                              const Calendar& calendar = LocalCalendar{}, int day_count = 30);

// The kinds the chart and its table show: every kind of number, and a life
// drill's kind once the days shown have answers of it.
std::vector<NumberKind> ShownKinds(const ProgressFigures& figures);

}  // namespace talmo
