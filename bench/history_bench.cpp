// SPDX-License-Identifier: MIT
// The learner's history with 100 000 answers in its file: recording one more
// (its commit synchronous), working out Review's due items, and tallying and
// drawing the Progress chart.
//
//     QT_QPA_PLATFORM=offscreen build/bench/history_bench
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "drills/pair_sets.h"
#include "drills/progress_page.h"
#include "history/history_store.h"
#include "history/learner_history.h"
#include "history/review_schedule.h"

namespace talmo {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kAnswers = 100000;

// The median and the longest of n runs, in milliseconds.
std::pair<double, double> Time(int n, const std::function<void()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        const auto start = Clock::now();
        run();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

// 100 000 answers over the last 90 days, one in six missed, in one
// transaction: a third of them Pairs (a random set's random pair), the rest
// dictation in the ranges a learner practises, the small ones most.
void Fill(const std::filesystem::path& file) {
    HistoryStore{file};  // the schema
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO answers (at_ms, session_ms, drill, played, voice, style, "
        "answer, is_right, answer_ms) VALUES (?, ?, ?, ?, 'male', 'clear', ?, ?, 900)",
        -1, &insert, nullptr);
    std::mt19937 random(1);
    const std::int64_t now = WallClockMs();
    for (int i = 0; i < kAnswers; ++i) {
        const std::int64_t at = now - 90 * kDayMs + i * (90 * kDayMs / kAnswers);
        const bool pairs = random() % 3 == 0;
        const PairSet& set = PairSets()[random() % PairSets().size()];
        const NumberPair pair = set.pairs[random() % set.pairs.size()];
        constexpr int kRanges[] = {101, 101, 101, 101, 101, 1001, 1001, 1001, 10001, 100000};
        const int n = static_cast<int>(random() % kRanges[random() % 10]);
        const std::string played =
            pairs ? std::to_string(pair.first) + "/" + std::to_string(pair.second)
                  : std::to_string(n);
        sqlite3_bind_int64(insert, 1, at);
        sqlite3_bind_int64(insert, 2, at - at % kDayMs);
        sqlite3_bind_text(insert, 3, pairs ? "pairs" : "dictation", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, played.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, std::to_string(n).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 6, random() % 6 != 0);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

int Run(int argc, char** argv) {
    QApplication app(argc, argv);
    char name[] = "/tmp/talmo-history-bench-XXXXXX";
    const std::filesystem::path dir = mkdtemp(name);
    const auto file = dir / "history.sqlite3";
    Fill(file);
    HistoryStore store(file);
    const std::int64_t now = WallClockMs();
    const auto [record, record_max] = Time(200, [&] {
        store.Record({now, now, "dictation", "14", "male", "clear", "40", false, 900});
    });
    std::size_t due = 0;
    const auto [review, review_max] =
        Time(10, [&] { due = DueForReview(store.OfMissedItems(), now, now).size(); });
    ProgressChart chart(nullptr);
    chart.resize(640, 300);
    QImage image(chart.size(), QImage::Format_ARGB32);
    const auto [progress, progress_max] = Time(10, [&] {
        chart.Show(TallyProgress(store.Since(now - 31 * kDayMs), now));
        chart.render(&image);
    });
    std::filesystem::remove_all(dir);
    std::printf(
        "history of %d answers (+200 recorded):\n"
        "  recording an answer: median %.2f ms, longest %.2f ms (goal: median 10 ms or less)\n"
        "  Review's due items (%zu due): median %.1f ms, longest %.1f ms (goal: 50 ms)\n"
        "  the Progress panel tallied and drawn: median %.1f ms, longest %.1f ms (goal: 150 ms)\n",
        kAnswers, record, record_max, due, review, review_max, progress, progress_max);
    return record <= 10 && review <= 50 && progress <= 150 ? 0 : 1;
}

}  // namespace
}  // namespace talmo

int main(int argc, char** argv) {
    return talmo::Run(argc, argv);
}
