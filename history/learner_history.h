// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "history/history_store.h"
#include "history/keep_choice.h"
#include "history/user_files.h"

namespace talmo {

// A time as milliseconds since 1970, to the year 9999 and beyond, before
// 1970 too (tv_nsec is never negative).
constexpr std::int64_t MsSince1970(const timespec& t) {
    return std::int64_t{t.tv_sec} * 1000 + t.tv_nsec / 1000000;
}

// Milliseconds since 1970 by the wall clock: when an answer was given. Not
// system_clock, whose nanoseconds run out in 2262.
inline std::int64_t WallClockMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return MsSince1970(now);
}

// An answer as the history keeps it: given now, `heard` being when the sound
// of what it answers ended, said in that voice and style.
inline AnswerRecord AnswerNow(std::string drill, std::string played, std::string_view voice,
                              std::string_view style, std::string answer, bool right,
                              std::chrono::steady_clock::time_point heard) {
    const auto taken = std::chrono::steady_clock::now() - heard;
    return {.at_ms = WallClockMs(),
            .drill = std::move(drill),
            .played = std::move(played),
            .voice = std::string(voice),
            .style = std::string(style),
            .answer = std::move(answer),
            .right = right,
            .answer_ms = std::chrono::duration_cast<std::chrono::milliseconds>(taken).count()};
}

// The program's history: the store is opened when first needed (an answer
// to keep, or a drill that reads it), never at start, and answers are kept
// only while the learner wants them kept.
class LearnerHistory {
  public:
    // keep: the learner's choice, asked at every answer; err: where each
    // notice is written at once, for a learner who never opens the Drills window.
    LearnerHistory(std::filesystem::path file, KeepChoice& keep, std::ostream& err = std::cerr)
        : file_(std::move(file)), keep_(keep), err_(err), session_ms_(WallClockMs()) {}

    // When this run of the program began: its answers' session.
    std::int64_t SessionMs() const { return session_ms_; }

    // Whether answers are kept: the learner's choice, kept for next time.
    bool Keeps() const { return keep_.Keeps(); }
    // A change is told as a notice is, for the window to say where answers go.
    void SetKeeps(bool keeps) {
        if (keeps != Keeps()) {
            keep_.SetKeeps(keeps);
            if (notify_) {
                notify_();
            }
        }
    }

    // Keeps the answer, if the learner wants a history; false when it was not kept.
    bool Record(AnswerRecord answer) {
        if (!Keeps()) {
            return false;
        }
        answer.session_ms = session_ms_;
        const bool kept = Store().Record(answer);
        Collect();
        if (notify_ && notice_) {
            notify_();
        }
        return kept;
    }
    HistoryStore& Store() {
        if (!store_) {
            store_ = std::make_unique<HistoryStore>(file_);
            Collect();
        }
        return *store_;
    }
    // What the learner should be told, once.
    std::optional<std::string> TakeNotice() { return std::exchange(notice_, std::nullopt); }
    // Called when there is something to tell: the Drills window, while it is open.
    void OnNotice(std::function<void()> notify) { notify_ = std::move(notify); }
    // Closes the store, writing what waits behind another program's lock
    // first (a second at most) or saying what could not be: before the
    // program ends at once.
    void Close() { store_.reset(); }

  private:
    // The store's new notice, written out once, on one line whatever a
    // folder's name holds, and kept for the window.
    void Collect() {
        if (auto notice = store_->TakeNotice()) {
            err_ << "talmo: " << Printable(*notice) << std::endl;
            notice_ = notice_ ? *notice_ + " " + *notice : *notice;
        }
    }

    std::filesystem::path file_;
    KeepChoice& keep_;
    std::ostream& err_;
    std::optional<std::string> notice_;
    std::int64_t session_ms_;
    std::unique_ptr<HistoryStore> store_;
    std::function<void()> notify_;
};

}  // namespace talmo
