// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace talmo {

// One answer the learner gave, as the history keeps it.
struct AnswerRecord {
    std::int64_t at_ms = 0;       // when its verdict showed: milliseconds since 1970, UTC
    std::int64_t session_ms = 0;  // when the program that took it started
    std::string drill;            // "dictation", "pairs", ...
    std::string played;           // the number, or the pair as "14/40"
    std::string voice;            // a voice's name
    std::string style;            // "clear" or "everyday"
    std::string answer;           // what the learner gave
    bool right = false;
    std::int64_t answer_ms = 0;  // from the sound's end to the answer
    friend bool operator==(const AnswerRecord&, const AnswerRecord&) = default;
};

// What Forget did: every answer and damaged copy gone, or nothing changed
// (or, when a copy could not be removed, the answers only) and why.
struct ForgetOutcome {
    bool forgotten = false;
    std::string why;  // for the learner: "another program is writing to it", ...
};

// The learner's history: every answer, in one SQLite file. It never throws
// and never stops the practice: a damaged file is kept aside under a name of
// its own and a new one started; another program's lock while it opens is
// waited out for a second at most; a folder that cannot be written, a full
// disk or that lock held longer turns the history off for the run; a file from
// a newer program is only read. Each such event leaves one notice for the
// learner. Answers still held up by a lock when the store closes are owned up
// to on stderr and in a file beside the history, which the next store turns
// into its notice.
class HistoryStore {
  public:
    // The schema this program writes; a file's user_version says its own.
    static constexpr int kSchemaVersion = 1;
    // Every history is marked Talmo's ("Tlmo"): a file with another mark, or
    // none and tables of its own, is another program's and left as it is.
    static constexpr std::int32_t kApplicationId = 0x546c6d6f;
    enum class State { kOn, kReadOnly, kOff };

    // An empty path, where there is no home folder, turns it off at once.
    explicit HistoryStore(std::filesystem::path file);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // $XDG_DATA_HOME/talmo/history.sqlite3, ~/.local/share/talmo/ by default;
    // empty when there is no home folder.
    static std::filesystem::path DefaultPath();

    // Keeps the answer, durably (the commit is synchronous), before it
    // returns true. Waits for another program's write no longer than the
    // busy timeout; an answer that could not be written then is tried again
    // with the next one, or by Flush.
    bool Record(const AnswerRecord& answer);
    // Writes the answers Record could not, waiting out another program's
    // lock for `within` at most; how many are still unwritten.
    std::size_t Flush(std::chrono::milliseconds within = std::chrono::seconds(1)) noexcept;
    std::size_t Pending() const { return pending_.size(); }
    // Every answer from at_ms on, oldest first.
    std::vector<AnswerRecord> Since(std::int64_t at_ms) const;
    // The answers to each item (a drill's number or pair) ever missed, from
    // its last miss on, item by item, each item's oldest first: what Review's
    // schedule is worked out from. Only the times, the item and the verdict.
    std::vector<AnswerRecord> OfMissedItems() const;
    // The last `count` answers of a drill, oldest first.
    std::vector<AnswerRecord> Last(std::size_t count, const std::string& drill) const;
    // Forgets every answer, leaving nothing of them in the file, then removes
    // the damaged copies; waits out another program's write for a second.
    ForgetOutcome Forget() noexcept;
    // The damaged files kept aside beside the history (not their logs), sorted.
    std::vector<std::filesystem::path> DamagedCopies() const;

    State Status() const { return state_; }
    const std::filesystem::path& File() const { return file_; }
    // What the learner should be told of the history, once; then nothing.
    std::optional<std::string> TakeNotice() { return std::exchange(notice_, std::nullopt); }

  private:
    // kAgain: another program's lock, or a file changed under it; tried again.
    enum class Step { kDone, kAgain, kFailed };
    using Clock = std::chrono::steady_clock;

    void Open();
    Step OpenOnce(Clock::time_point until, bool& kept_aside);
    Step Migrate(int from);
    // kAgain on a lock; otherwise turns the history off with SQLite's reason.
    Step Failed();
    // As Failed, for a statement inside a transaction: rolls it back first.
    Step RolledBack();
    void TurnOff(const std::string& why);
    void AddNotice(const std::string& text);
    bool Write(const AnswerRecord& answer);
    Step WritePending();
    // The answers a store could not keep when it closed, told by the next one.
    void TakeUnsaved();
    void LeaveUnsaved(std::size_t count) const;
    // The answers a query gives, its parameters bound by bind.
    std::vector<AnswerRecord> Query(const char* sql,
                                    const std::function<void(sqlite3_stmt*)>& bind) const;

    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
    State state_ = State::kOff;
    std::string off_why_;  // why it was turned off, for the learner
    std::optional<std::string> notice_;
    std::vector<AnswerRecord> pending_;  // waited out by another program's write
};

}  // namespace talmo
