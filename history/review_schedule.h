// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "history_store.h"

namespace talmo {

// An item the learner missed, as Review brings it back: a number of the
// dictation, or a pair of Pairs.
struct ReviewItem {
    std::string drill;
    std::string played;
    int box;  // 1: due from the next session on; 2, 3, 4: due 1, 3 and 7 days on
    friend bool operator==(const ReviewItem&, const ReviewItem&) = default;
};

inline constexpr std::int64_t kDayMs = 24 * 60 * 60 * 1000;

// The items due in the session that began at session_ms, on the day of
// now_ms, on a Leitner schedule: a miss puts an item in box 1, due from the
// next session on; each right answer once it is due moves it on (due 1, 3,
// then 7 days after that answer), and one more retires it; a miss anywhere
// puts it back in box 1. Days are calendar days at utc_offset_ms from UTC.
// Each item's answers must be oldest first; the items come in the order of
// the first miss among them.
std::vector<ReviewItem> DueForReview(std::span<const AnswerRecord> answers, std::int64_t session_ms,
                                     std::int64_t now_ms, std::int64_t utc_offset_ms = 0);

}  // namespace talmo
