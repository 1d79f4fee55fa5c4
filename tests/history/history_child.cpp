// SPDX-License-Identifier: MIT
// A tutor's history, as the promise tests drive it from a process of its own:
//     history_child FILE COUNT [FSIZE | @AT]
// records COUNT answers, numbered from 0, printing "recorded N" once each is
// committed, then "longest MS" (the longest Record) and any notice. With
// FSIZE, files may grow no larger (SIGXFSZ ignored); with @AT, it opens the
// history at AT (ms since 1970), so that two children open it at once.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "history/history_store.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    if (argc > 3 && argv[3][0] == '@') {
        std::this_thread::sleep_until(std::chrono::system_clock::time_point(
            std::chrono::milliseconds(std::atoll(argv[3] + 1))));
    } else if (argc > 3) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t size = std::strtoull(argv[3], nullptr, 10);
        const rlimit limit{size, size};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    using Clock = std::chrono::steady_clock;
    talmo::HistoryStore store(argv[1]);
    const long count = std::atol(argv[2]);
    double longest = 0;
    long unreported = 0;
    for (long n = 0; n < count; ++n) {
        const talmo::AnswerRecord answer{.at_ms = n,
                                         .session_ms = 1,
                                         .drill = "dictation",
                                         .played = std::to_string(n),
                                         .voice = "male",
                                         .style = "clear",
                                         .answer = std::to_string(n),
                                         .right = true,
                                         .answer_ms = 1000 + getpid()};
        const auto start = Clock::now();
        const bool kept = store.Record(answer);
        longest = std::max(longest,
                           std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        for (; kept && unreported <= n; ++unreported) {
            std::printf("recorded %ld\n", unreported);
        }
        std::fflush(stdout);
    }
    std::printf("longest %.1f\n", longest);
    if (const auto notice = store.TakeNotice()) {
        std::printf("notice %s\n", notice->c_str());
    }
    return 0;
}
