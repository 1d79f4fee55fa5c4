// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "history/history_store.h"

namespace talmo {

// An item the learner missed, as Review brings it back: a number of the
// dictation, or a pair of Pairs.
struct ReviewItem {
    std::string drill;
    std::string played;
    int box;  // 1: due from the next session or day on; 2, 3, 4: due 1, 3 and 7 days on
    friend bool operator==(const ReviewItem&, const ReviewItem&) = default;
};

inline constexpr std::int64_t kDayMs = 24 * 60 * 60 * 1000;

// The learner's calendar: the day an instant falls on.
class Calendar {
  public:
    virtual ~Calendar() = default;
    // The date at ms (since 1970, UTC), as days since 1970-01-01.
    virtual std::int64_t Day(std::int64_t ms) const = 0;
};

// The local dates of the zone TZ names, each instant at the offset it had:
// one offset for all would move answers near midnight across summer time.
class LocalCalendar final : public Calendar {
  public:
    std::int64_t Day(std::int64_t ms) const override;
};

// The dates in UTC, the same in every zone.
class UtcCalendar final : public Calendar {
  public:
    std::int64_t Day(std::int64_t ms) const override { return ms / kDayMs - (ms % kDayMs < 0); }
};

struct ReviewPlan {
    std::vector<ReviewItem> now;  // to review now, in the order first missed
    int held = 0;                 // due too, but over today's limit: "and N more tomorrow"
    // How many items come due on each day from today on, were none answered;
    // today's are those due now, held or not.
    std::array<int, 7> coming{};
    // Of the items not due now, the first day one comes due, and whether one
    // comes due sooner, with the next session.
    std::optional<std::int64_t> next_day;
    bool next_session = false;
};

// Review on a Leitner schedule, for the session that began at session_ms:
// a miss puts an item in box 1, due from the next session or the next day,
// whichever comes first; each right answer once it is due moves it on (due
// 1, 3, then 7 days after that answer), and one more retires it; a miss
// anywhere puts it back in box 1. An item answered after now_ms (the clock
// was set back since) is due now. At most daily_limit items are reviewed a
// day: an item counts as reviewed today when it was answered today while
// due, whatever the answer and in whichever session, so restarting the
// program does not lift the limit. Days are the calendar's. Each item's
// answers must be oldest first.
ReviewPlan PlanReview(std::span<const AnswerRecord> answers, std::int64_t session_ms,
                      std::int64_t now_ms, const Calendar& calendar, int daily_limit = 50);

// The items to review now.
inline std::vector<ReviewItem> DueForReview(std::span<const AnswerRecord> answers,
                                            std::int64_t session_ms, std::int64_t now_ms,
                                            const Calendar& calendar = LocalCalendar{}) {
    return PlanReview(answers, session_ms, now_ms, calendar).now;
}

}  // namespace talmo
