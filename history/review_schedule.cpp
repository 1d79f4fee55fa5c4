// SPDX-License-Identifier: MIT
#include "history/review_schedule.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <map>
#include <utility>

namespace talmo {
namespace {

struct Progress {
    std::int64_t first_missed;  // orders the items
    int box = 0;                // 0: not in review (never missed, or retired)
    std::int64_t missed_session = 0;
    std::int64_t due_day = 0;  // the day it comes due, whatever the session
    std::int64_t last_ms = 0;  // its latest answer
    bool reviewed_today = false;

    bool Due(std::int64_t session_ms, std::int64_t at_ms, std::int64_t day) const {
        return box > 0 &&
               (day >= due_day || last_ms > at_ms || (box == 1 && session_ms > missed_session));
    }
};

constexpr int kWaitDays[] = {0, 1, 1, 3, 7};  // by the box moved into

}  // namespace

std::int64_t LocalCalendar::Day(std::int64_t ms) const {
    const auto seconds = static_cast<std::time_t>(ms / 1000 - (ms % 1000 < 0));
    std::tm local{};
    localtime_r(&seconds, &local);
    using namespace std::chrono;
    const year_month_day date{year{local.tm_year + 1900},
                              month{static_cast<unsigned>(local.tm_mon + 1)},
                              day{static_cast<unsigned>(local.tm_mday)}};
    return sys_days{date}.time_since_epoch().count();
}

ReviewPlan PlanReview(std::span<const AnswerRecord> answers, std::int64_t session_ms,
                      std::int64_t now_ms, const Calendar& calendar, int daily_limit) {
    const std::int64_t today = calendar.Day(now_ms);
    std::map<std::pair<std::string, std::string>, Progress> items;
    for (const AnswerRecord& a : answers) {
        auto it = items.find({a.drill, a.played});
        if (it == items.end()) {
            if (a.right) {
                continue;
            }
            it = items.emplace(std::pair{a.drill, a.played}, Progress{a.at_ms}).first;
        }
        Progress& p = it->second;
        const std::int64_t day = calendar.Day(a.at_ms);
        const bool due = p.Due(a.session_ms, a.at_ms, day);
        p.reviewed_today |= due && day == today;
        p.last_ms = std::max(p.last_ms, a.at_ms);
        if (!a.right) {
            p.box = 1;
            p.missed_session = a.session_ms;
        } else if (due) {
            p.box = p.box == 4 ? 0 : p.box + 1;
        } else {
            continue;
        }
        p.due_day = day + kWaitDays[p.box];
    }
    ReviewPlan plan;
    int reviewed = 0;
    std::vector<std::pair<std::int64_t, ReviewItem>> due;
    for (const auto& [key, p] : items) {
        reviewed += p.reviewed_today;
        if (p.Due(session_ms, now_ms, today)) {
            due.push_back({p.first_missed, {key.first, key.second, p.box}});
            ++plan.coming[0];
        } else if (p.box > 0) {
            // Box 1 too comes due on a day: the one after its miss, today.
            if (const std::int64_t wait = p.due_day - today; wait < std::ssize(plan.coming)) {
                ++plan.coming[static_cast<std::size_t>(wait)];
            }
            plan.next_day = std::min(plan.next_day.value_or(p.due_day), p.due_day);
            plan.next_session |= p.box == 1;
        }
    }
    std::stable_sort(due.begin(), due.end(), [](auto& a, auto& b) { return a.first < b.first; });
    const auto offered = std::clamp<std::ptrdiff_t>(daily_limit - reviewed, 0, std::ssize(due));
    for (std::ptrdiff_t i = 0; i < offered; ++i) {
        plan.now.push_back(std::move(due[static_cast<std::size_t>(i)].second));
    }
    plan.held = static_cast<int>(std::ssize(due) - offered);
    return plan;
}

}  // namespace talmo
