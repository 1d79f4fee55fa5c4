// SPDX-License-Identifier: MIT
#include "drills/progress.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "drills/life_drill.h"
#include "drills/review_drill.h"

namespace talmo {

ProgressFigures TallyProgress(std::span<const AnswerRecord> answers, std::int64_t now_ms,
                              const Calendar& calendar, int day_count) {
    constexpr int kWeek = 7;
    // The shown days after the 6 before them, for the first shown day's week.
    std::vector<DayTally> days(static_cast<std::size_t>(day_count + kWeek - 1));
    const std::int64_t today = calendar.Day(now_ms);
    std::map<std::pair<std::string, std::string>, int> misses;
    for (const AnswerRecord& a : answers) {
        const std::int64_t back = today - calendar.Day(a.at_ms);
        if (back < 0 || back >= std::ssize(days)) {
            continue;
        }
        DayTally& day = days[days.size() - 1 - static_cast<std::size_t>(back)];
        ++day.answers;
        KindSet kinds{};
        if (const auto life = ParseLifeItem(a.drill, a.played)) {
            kinds[static_cast<std::size_t>(KindOf(life->row->kind))] = true;
        } else if (const auto pair = ParsePair(a.played)) {
            const int chosen = std::atoi(a.answer.c_str());
            kinds =
                KindsOf(a.right ? chosen : (chosen == pair->first ? pair->second : pair->first));
        } else {
            kinds = KindsOf(std::atoi(a.played.c_str()));
        }
        for (std::size_t k = 0; k < kKindCount; ++k) {
            day.given[k] += kinds[k];
            day.right[k] += kinds[k] && a.right;
        }
        if (!a.right && back < day_count) {
            ++misses[{a.drill, a.played}];
        }
    }
    for (std::size_t d = 0; d < days.size(); ++d) {
        days[d].day = today - std::ssize(days) + 1 + static_cast<std::int64_t>(d);
        for (std::size_t w = d < kWeek ? 0 : d + 1 - kWeek; w <= d; ++w) {
            for (std::size_t k = 0; k < kKindCount; ++k) {
                days[d].week_given[k] += days[w].given[k];
                days[d].week_right[k] += days[w].right[k];
            }
        }
    }
    ProgressFigures figures;
    figures.days.assign(days.end() - day_count, days.end());
    for (const auto& [item, count] : misses) {
        figures.most_missed.push_back({item.first, item.second, count});
    }
    std::stable_sort(figures.most_missed.begin(), figures.most_missed.end(),
                     [](const MissedItem& a, const MissedItem& b) { return a.misses > b.misses; });
    if (figures.most_missed.size() > 10) {
        figures.most_missed.resize(10);
    }
    return figures;
}

std::vector<NumberKind> ShownKinds(const ProgressFigures& figures) {
    std::vector<NumberKind> shown;
    for (std::size_t k = 0; k < kKindCount; ++k) {
        const auto kind = static_cast<NumberKind>(k);
        if (kind <= NumberKind::kOther || std::ranges::any_of(figures.days, [k](const DayTally& d) {
                return d.week_given[k] > 0;
            })) {
            shown.push_back(kind);
        }
    }
    return shown;
}

}  // namespace talmo
