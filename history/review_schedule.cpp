// SPDX-License-Identifier: MIT
#include "review_schedule.h"

#include <algorithm>
#include <map>
#include <utility>

namespace talmo {
namespace {

struct Progress {
    std::int64_t first_missed;  // orders the items
    int box = 0;                // 0: not in review (never missed, or retired)
    std::int64_t missed_session = 0;
    std::int64_t due_day = 0;  // for boxes 2 to 4
};

constexpr int kWaitDays[] = {0, 0, 1, 3, 7};  // by the box moved into

}  // namespace

std::vector<ReviewItem> DueForReview(std::span<const AnswerRecord> answers, std::int64_t session_ms,
                                     std::int64_t now_ms, std::int64_t utc_offset_ms) {
    const auto day = [&](std::int64_t ms) { return (ms + utc_offset_ms) / kDayMs; };
    std::map<std::pair<std::string, std::string>, Progress> items;
    for (const AnswerRecord& a : answers) {
        auto it = items.find({a.drill, a.played});
        if (!a.right) {
            if (it == items.end()) {
                it = items.emplace(std::pair{a.drill, a.played}, Progress{a.at_ms}).first;
            }
            it->second.box = 1;
            it->second.missed_session = a.session_ms;
            continue;
        }
        if (it == items.end() || it->second.box == 0) {
            continue;
        }
        Progress& p = it->second;
        const bool due = p.box == 1 ? a.session_ms > p.missed_session : day(a.at_ms) >= p.due_day;
        if (due) {
            p.box = p.box == 4 ? 0 : p.box + 1;
            p.due_day = day(a.at_ms) + kWaitDays[p.box];
        }
    }
    std::vector<std::pair<std::int64_t, ReviewItem>> due;
    for (const auto& [key, p] : items) {
        if (p.box == 1 ? session_ms > p.missed_session : p.box > 1 && day(now_ms) >= p.due_day) {
            due.push_back({p.first_missed, {key.first, key.second, p.box}});
        }
    }
    std::stable_sort(due.begin(), due.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<ReviewItem> items_due;
    for (auto& [_, item] : due) {
        items_due.push_back(std::move(item));
    }
    return items_due;
}

}  // namespace talmo
