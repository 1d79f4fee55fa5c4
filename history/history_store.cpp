// SPDX-License-Identifier: MIT
#include "history_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace talmo {
namespace fs = std::filesystem;
namespace {

// Long enough for another tutor's commit, short enough that a press never
// waits noticeably.
constexpr int kBusyMs = 80;
// Forgetting waits out another program this long.
constexpr std::chrono::milliseconds kLockWait{1000};

// The first column of the first row, as text; nothing on an error.
std::optional<std::string> Ask(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    std::optional<std::string> value;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(statement, 0);
        value = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    }
    sqlite3_finalize(statement);
    return value;
}

bool Run(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The local date and time, for the name of a file kept aside.
std::string Stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

}  // namespace

HistoryStore::HistoryStore(fs::path file) : file_(std::move(file)) {
    Open();
}

HistoryStore::~HistoryStore() {
    sqlite3_close(db_);
}

fs::path HistoryStore::DefaultPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base = data != nullptr && *data == '/'
                              ? fs::path(data)
                              : fs::path(home ? home : "") / ".local/share";
    return base / "talmo" / "history.sqlite3";
}

bool HistoryStore::Open() {
    std::error_code error;
    fs::create_directories(file_.parent_path(), error);
    if (error) {
        TurnOff("its folder cannot be made: " + error.message());
        return false;
    }
    for (bool kept_aside = false;;) {
        const int opened = sqlite3_open_v2(file_.c_str(), &db_,
                                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (opened != SQLITE_OK) {
            TurnOff(sqlite3_errstr(opened));
            return false;
        }
        sqlite3_busy_timeout(db_, kBusyMs);
        // A file that is not a database fails only at its first statement.
        const auto check = Ask(db_, "PRAGMA quick_check");
        const int code = sqlite3_errcode(db_);
        if (check == "ok") {
            break;
        }
        if (kept_aside || (!check && code != SQLITE_NOTADB && code != SQLITE_CORRUPT)) {
            TurnOff(check ? *check : sqlite3_errmsg(db_));
            return false;
        }
        // Damaged: kept aside as it is, with its log, for whoever may mend it.
        sqlite3_close(db_);
        db_ = nullptr;
        const fs::path aside = file_.string() + ".damaged-" + Stamp();
        fs::rename(file_, aside, error);
        if (error) {
            TurnOff("it is damaged and cannot be moved aside: " + error.message());
            return false;
        }
        for (const char* log : {"-wal", "-shm"}) {
            std::error_code none;
            fs::rename(file_.string() + log, aside.string() + log, none);
        }
        notice_ = "Your history in " + file_.string() + " was damaged. It is kept as " +
                  aside.string() + ", and a new history has been started.";
        kept_aside = true;
    }
    const auto version = Ask(db_, "PRAGMA user_version");
    if (!version) {
        TurnOff(sqlite3_errmsg(db_));
        return false;
    }
    if (std::atoi(version->c_str()) > kSchemaVersion) {
        // A newer program's file is left exactly as it is.
        sqlite3_close(db_);
        db_ = nullptr;
        if (sqlite3_open_v2(file_.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            TurnOff(sqlite3_errmsg(db_));
            return false;
        }
        state_ = State::kReadOnly;
        notice_ = "Your history in " + file_.string() +
                  " was written by a newer Talmo. It is left as it is: this Talmo reads it "
                  "but records nothing.";
        return true;
    }
    // A committed answer survives a crash and a power loss.
    if (Ask(db_, "PRAGMA journal_mode=WAL") != "wal" || !Run(db_, "PRAGMA synchronous=FULL") ||
        !Migrate(std::atoi(version->c_str()))) {
        TurnOff(sqlite3_errmsg(db_));
        return false;
    }
    state_ = State::kOn;
    return true;
}

bool HistoryStore::Migrate(int from) {
    if (from >= kSchemaVersion) {
        return true;
    }
    // In one transaction, and again from what another tutor may have done first.
    if (!Run(db_, "BEGIN IMMEDIATE")) {
        return false;
    }
    const int now = std::atoi(Ask(db_, "PRAGMA user_version").value_or("0").c_str());
    const bool done =
        (now >= 1 ||
         Run(db_,
             "CREATE TABLE answers (id INTEGER PRIMARY KEY, at_ms INTEGER NOT NULL, session_ms "
             "INTEGER NOT NULL, drill TEXT NOT NULL, played TEXT NOT NULL, voice TEXT NOT NULL, "
             "style TEXT NOT NULL, answer "
             "TEXT NOT NULL, is_right INTEGER NOT NULL, answer_ms INTEGER NOT NULL);"
             "CREATE INDEX answers_at ON answers (at_ms);"
             "CREATE INDEX answers_item ON answers (drill, played, at_ms, session_ms, is_right);"
             "PRAGMA user_version = 1;")) &&
        Run(db_, "COMMIT");
    if (!done) {
        Run(db_, "ROLLBACK");
    }
    return done;
}

void HistoryStore::TurnOff(const std::string& why) {
    sqlite3_close(db_);
    db_ = nullptr;
    state_ = State::kOff;
    off_why_ = why;
    const std::string off = "Talmo cannot keep your history in " + file_.string() + " (" + why +
                            "). Your practice goes on as before, but this time it is not kept.";
    notice_ = notice_ ? *notice_ + " " + off : off;
}

bool HistoryStore::Write(const AnswerRecord& a) {
    sqlite3_stmt* insert = nullptr;
    bool written =
        sqlite3_prepare_v2(db_,
                           "INSERT INTO answers (at_ms, session_ms, drill, played, voice, style, "
                           "answer, is_right, answer_ms) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                           -1, &insert, nullptr) == SQLITE_OK;
    if (written) {
        sqlite3_bind_int64(insert, 1, a.at_ms);
        sqlite3_bind_int64(insert, 2, a.session_ms);
        int column = 3;
        for (const std::string* text : {&a.drill, &a.played, &a.voice, &a.style, &a.answer}) {
            sqlite3_bind_text(insert, column++, text->c_str(), -1, SQLITE_STATIC);
        }
        sqlite3_bind_int(insert, 8, a.right ? 1 : 0);
        sqlite3_bind_int64(insert, 9, a.answer_ms);
        written = sqlite3_step(insert) == SQLITE_DONE;
    }
    sqlite3_finalize(insert);
    return written;
}

bool HistoryStore::Record(const AnswerRecord& answer) {
    if (state_ != State::kOn) {
        return false;
    }
    pending_.push_back(answer);
    if (!Run(db_, "BEGIN IMMEDIATE")) {
        if (sqlite3_errcode(db_) == SQLITE_BUSY) {
            return false;  // another tutor is writing: with the next answer
        }
        TurnOff(sqlite3_errmsg(db_));
        return false;
    }
    for (const AnswerRecord& each : pending_) {
        if (!Write(each)) {
            const std::string why = sqlite3_errmsg(db_);
            Run(db_, "ROLLBACK");
            TurnOff(why);
            return false;
        }
    }
    if (!Run(db_, "COMMIT")) {
        const int code = sqlite3_errcode(db_);
        const std::string why = sqlite3_errmsg(db_);
        Run(db_, "ROLLBACK");
        if (code != SQLITE_BUSY) {
            TurnOff(why);
        }
        return false;
    }
    pending_.clear();
    return true;
}

std::vector<AnswerRecord> HistoryStore::Since(std::int64_t at_ms) const {
    return Query(
        "SELECT at_ms, session_ms, drill, played, voice, style, answer, is_right, "
        "answer_ms FROM answers WHERE at_ms >= ? ORDER BY at_ms, id",
        [&](sqlite3_stmt* s) { sqlite3_bind_int64(s, 1, at_ms); });
}

std::vector<AnswerRecord> HistoryStore::OfMissedItems() const {
    // Before its last miss an item's answers no longer count; the schedule needs
    // neither what was said nor how, so the index answers all of it.
    return Query(
        "WITH last_miss AS (SELECT drill, played, MAX(at_ms) AS at FROM answers WHERE "
        "is_right = 0 GROUP BY drill, played) SELECT a.at_ms, a.session_ms, a.drill, a.played, "
        "'', '', '', a.is_right, 0 FROM answers a JOIN last_miss m ON a.drill = m.drill AND "
        "a.played = m.played AND a.at_ms >= m.at ORDER BY a.drill, a.played, a.at_ms",
        [](sqlite3_stmt*) {});
}

std::vector<AnswerRecord> HistoryStore::Last(std::size_t count, const std::string& drill) const {
    return Query(
        "SELECT * FROM (SELECT at_ms, session_ms, drill, played, voice, style, answer, "
        "is_right, answer_ms, id FROM answers WHERE drill = ? ORDER BY at_ms DESC, id "
        "DESC LIMIT ?) ORDER BY at_ms, id",
        [&](sqlite3_stmt* s) {
            sqlite3_bind_text(s, 1, drill.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(s, 2, static_cast<sqlite3_int64>(count));
        });
}

std::vector<AnswerRecord> HistoryStore::Query(
    const char* sql, const std::function<void(sqlite3_stmt*)>& bind) const {
    std::vector<AnswerRecord> answers;
    sqlite3_stmt* select = nullptr;
    if (db_ != nullptr && sqlite3_prepare_v2(db_, sql, -1, &select, nullptr) == SQLITE_OK) {
        bind(select);
        const auto text = [&](int column) {
            const auto* t = sqlite3_column_text(select, column);
            return std::string(t != nullptr ? reinterpret_cast<const char*>(t) : "");
        };
        while (sqlite3_step(select) == SQLITE_ROW) {
            answers.push_back({sqlite3_column_int64(select, 0), sqlite3_column_int64(select, 1),
                               text(2), text(3), text(4), text(5), text(6),
                               sqlite3_column_int(select, 7) != 0,
                               sqlite3_column_int64(select, 8)});
        }
    }
    sqlite3_finalize(select);
    return answers;
}

ForgetOutcome HistoryStore::Forget() noexcept {
    if (state_ == State::kReadOnly) {
        return {false, "it was written by a newer Talmo, so this one only reads it"};
    }
    if (state_ == State::kOff) {
        return {false, off_why_.empty() ? "it could not be opened" : off_why_};
    }
    // Forgotten means gone from the file too: the freed pages are zeroed, and
    // the log that still holds them is emptied into the file.
    sqlite3_busy_timeout(db_, static_cast<int>(kLockWait.count()));
    std::string why;
    if (!Run(db_, "PRAGMA secure_delete = ON") || !Run(db_, "BEGIN IMMEDIATE") ||
        !Run(db_, "DELETE FROM answers") || !Run(db_, "COMMIT")) {
        why = sqlite3_errcode(db_) == SQLITE_BUSY
                  ? "another program is writing to it"
                  : std::string("it could not be written (") + sqlite3_errmsg(db_) + ")";
        Run(db_, "ROLLBACK");
    } else {
        Run(db_, "PRAGMA wal_checkpoint(TRUNCATE)");
        pending_.clear();
    }
    sqlite3_busy_timeout(db_, kBusyMs);
    if (!why.empty()) {
        return {false, why};
    }
    // Only once the answers are gone: a failure before leaves everything as it was.
    std::string kept;
    for (const fs::path& copy : DamagedCopies()) {
        for (const char* end : {"", "-wal", "-shm"}) {
            std::error_code error;
            if (fs::remove(copy.string() + end, error); error) {
                kept += (kept.empty() ? "" : ", ") + copy.string() + end;
            }
        }
    }
    if (!kept.empty()) {
        return {false, "the answers are gone, but " + kept + " could not be removed"};
    }
    return {true, ""};
}

std::vector<fs::path> HistoryStore::DamagedCopies() const {
    const std::string prefix = file_.filename().string() + ".damaged-";
    std::vector<fs::path> copies;
    std::error_code error;
    for (fs::directory_iterator it(file_.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(prefix) && !name.ends_with("-wal") && !name.ends_with("-shm")) {
            copies.push_back(it->path());
        }
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

}  // namespace talmo
