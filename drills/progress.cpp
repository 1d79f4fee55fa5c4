// SPDX-License-Identifier: MIT
#include "progress.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "review_drill.h"
#include "review_schedule.h"

namespace talmo {

ProgressFigures TallyProgress(std::span<const AnswerRecord> answers, std::int64_t now_ms,
                              std::int64_t utc_offset_ms, int day_count) {
    ProgressFigures figures;
    figures.days.resize(static_cast<std::size_t>(day_count));
    const std::int64_t today = (now_ms + utc_offset_ms) / kDayMs;
    std::map<std::pair<std::string, std::string>, int> misses;
    for (const AnswerRecord& a : answers) {
        const std::int64_t back = today - (a.at_ms + utc_offset_ms) / kDayMs;
        if (back < 0 || back >= day_count) {
            continue;
        }
        DayTally& day = figures.days[static_cast<std::size_t>(day_count - 1 - back)];
        ++day.answers;
        int heard = 0;
        if (const auto pair = ParsePair(a.played)) {
            const int chosen = std::atoi(a.answer.c_str());
            heard = a.right ? chosen : (chosen == pair->first ? pair->second : pair->first);
        } else {
            heard = std::atoi(a.played.c_str());
        }
        const KindSet kinds = KindsOf(heard);
        for (std::size_t k = 0; k < kKindCount; ++k) {
            day.given[k] += kinds[k];
            day.right[k] += kinds[k] && a.right;
        }
        if (!a.right) {
            ++misses[{a.drill, a.played}];
        }
    }
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

}  // namespace talmo
