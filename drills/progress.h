// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "history_store.h"
#include "number_kinds.h"

namespace talmo {

// One day's answers: how many, and per kind of number how many were given
// and how many were right.
struct DayTally {
    int answers = 0;
    std::array<int, kKindCount> given{};
    std::array<int, kKindCount> right{};
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
};

// What the Progress panel shows, from the answers (oldest first): each of
// the last `day_count` calendar days (at utc_offset_ms from UTC) up to now,
// and the ten items missed most in them. A pair's answer counts for the kinds
// of the number heard.
ProgressFigures TallyProgress(std::span<const AnswerRecord> answers, std::int64_t now_ms,
                              std::int64_t utc_offset_ms = 0, int day_count = 30);

}  // namespace talmo
