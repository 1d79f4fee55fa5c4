// SPDX-License-Identifier: MIT
#include "history/history_store.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <thread>
#include <utility>

#include "history/user_files.h"

namespace talmo {
namespace fs = std::filesystem;
namespace {

// Long enough for another tutor's commit, short enough that a press never
// waits noticeably.
constexpr int kBusyMs = 80;
// Opening and forgetting wait out another program this long, and so does the
// last flush.
constexpr std::chrono::milliseconds kLockWait{1000};
constexpr const char* kLocked = "another program kept it locked";
// The log is emptied into the file every 32 pages (128 KiB), and cut back to
// 128 KiB when it starts over: a long session's log stays small.
constexpr const char* kSmallLog =
    "PRAGMA journal_size_limit = 131072; PRAGMA wal_autocheckpoint = 32";

// SQLite is opened with the first history, not linked: linked, the tutor
// would load it at every start, though the history is opened only with the
// first answer to keep or the Drills window. The functions are looked up once;
// without the library the history is off, as on a folder it cannot write.
#define TALMO_SQLITE_FUNCTIONS(X) \
    X(sqlite3_bind_int)           \
    X(sqlite3_bind_int64)         \
    X(sqlite3_bind_text)          \
    X(sqlite3_busy_timeout)       \
    X(sqlite3_close)              \
    X(sqlite3_column_int)         \
    X(sqlite3_column_int64)       \
    X(sqlite3_column_text)        \
    X(sqlite3_errcode)            \
    X(sqlite3_errmsg)             \
    X(sqlite3_errstr)             \
    X(sqlite3_exec)               \
    X(sqlite3_finalize)           \
    X(sqlite3_open_v2)            \
    X(sqlite3_prepare_v2)         \
    X(sqlite3_step)

struct SqliteLibrary {
#define TALMO_SQLITE_POINTER(name) decltype(&::name) name = nullptr;
    TALMO_SQLITE_FUNCTIONS(TALMO_SQLITE_POINTER)
#undef TALMO_SQLITE_POINTER
};

// The library's functions, or null if it is missing or lacks one of them.
const SqliteLibrary* OpenSqlite() {
    static const SqliteLibrary* const library = []() -> const SqliteLibrary* {
        void* handle = dlopen("libsqlite3.so.0", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            return nullptr;
        }
        static SqliteLibrary functions;
        bool complete = true;
#define TALMO_SQLITE_LOOK_UP(name)                                              \
    functions.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
    complete = complete && functions.name != nullptr;
        TALMO_SQLITE_FUNCTIONS(TALMO_SQLITE_LOOK_UP)
#undef TALMO_SQLITE_LOOK_UP
        if (!complete) {
            dlclose(handle);
            return nullptr;
        }
        return &functions;
    }();
    return library;
}

// Only called once Open has opened the library.
const SqliteLibrary& Lib() {
    return *OpenSqlite();
}

// As sqlite3_close, which takes no database as nothing to do: the store
// closes whether or not it opened one.
void Close(sqlite3* db) {
    if (db != nullptr) {
        Lib().sqlite3_close(db);
    }
}

// The first column of the first row, as text; nothing on an error.
std::optional<std::string> Ask(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    std::optional<std::string> value;
    if (Lib().sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        Lib().sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = Lib().sqlite3_column_text(statement, 0);
        value = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    }
    Lib().sqlite3_finalize(statement);
    return value;
}

bool Run(sqlite3* db, const char* sql) {
    return Lib().sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Why the last statement failed, for the learner: SQLite's words, unless a
// query that merely found nothing left it none ("not an error").
std::string Reason(sqlite3* db) {
    const int code = Lib().sqlite3_errcode(db);
    return code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE
               ? "it could not be read as a history"
               : Lib().sqlite3_errmsg(db);
}

// What a file says of itself, read at one moment.
struct Header {
    std::int64_t application_id = 0;
    int version = 0;       // user_version
    bool empty = false;    // no table, index or view at all: a new file
    bool answers = false;  // a table of answers, as every history has
};

std::optional<Header> ReadHeader(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    std::optional<Header> header;
    if (Lib().sqlite3_prepare_v2(
            db,
            "SELECT (SELECT application_id FROM pragma_application_id), (SELECT "
            "user_version FROM pragma_user_version), NOT EXISTS (SELECT 1 FROM "
            "sqlite_schema), EXISTS (SELECT 1 FROM sqlite_schema WHERE type = "
            "'table' AND name = 'answers')",
            -1, &statement, nullptr) == SQLITE_OK &&
        Lib().sqlite3_step(statement) == SQLITE_ROW) {
        header =
            Header{Lib().sqlite3_column_int64(statement, 0), Lib().sqlite3_column_int(statement, 1),
                   Lib().sqlite3_column_int(statement, 2) != 0,
                   Lib().sqlite3_column_int(statement, 3) != 0};
    }
    Lib().sqlite3_finalize(statement);
    return header;
}

// Talmo's: marked so; or from before the mark (answers, at version 1 or
// later); or new, with nothing in it yet.
bool IsTalmos(const Header& h) {
    return h.application_id == HistoryStore::kApplicationId ||
           (h.application_id == 0 &&
            ((h.version >= 1 && h.answers) || (h.version == 0 && h.empty)));
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

int MsLeft(std::chrono::steady_clock::time_point until) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

std::string Answers(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " answer" : " answers");
}

// Which file a path names: the one found damaged, or another one since.
using Identity = std::pair<dev_t, ino_t>;
std::optional<Identity> IdentityOf(const std::string& path) {
    struct stat about {};
    if (stat(path.c_str(), &about) != 0) {
        return std::nullopt;
    }
    return Identity{about.st_dev, about.st_ino};
}

// 0, or why `to` could not be given `from`'s file; never replaces `to`.
int RenameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without it: a second name, then the first one dropped.
    if (link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    unlink(from.c_str());
    return 0;
}

// A damaged file kept aside: its new name, or why it could not be moved
// (an errno); neither when the path names another file by now.
struct Aside {
    std::string name;
    int error = 0;
};

// Tutors that found one file damaged at once take turns (an flock on it), and
// each moves only the very file it checked, with its logs, to a name no other
// can take: the damaged original is never lost, nor a new history moved.
Aside MoveAside(const std::string& file, const Identity& damaged) {
    const int held = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (held < 0) {
        return {"", errno == ENOENT ? 0 : errno};  // moved aside by another already
    }
    struct stat about {};
    const bool ours = fstat(held, &about) == 0 && Identity{about.st_dev, about.st_ino} == damaged &&
                      flock(held, LOCK_EX) == 0 && IdentityOf(file) == damaged;
    const std::string logs[] = {"-wal", "-shm"};
    std::optional<Identity> log_files[] = {IdentityOf(file + logs[0]), IdentityOf(file + logs[1])};
    Aside aside;
    const std::string stem = file + ".damaged-" + Stamp();
    for (int n = 1; ours && aside.name.empty() && aside.error == 0 && n < 1000; ++n) {
        const std::string name = n == 1 ? stem : stem + "-" + std::to_string(n);
        if (const int error = RenameNoReplace(file, name); error == 0) {
            aside.name = name;
        } else if (error != EEXIST) {
            aside.error = error;
        }
    }
    for (int i = 0; i < 2 && !aside.name.empty(); ++i) {
        // Only the logs that were there with it: not a new history's.
        if (log_files[i] && IdentityOf(file + logs[i]) == log_files[i]) {
            RenameNoReplace(file + logs[i], aside.name + logs[i]);
        }
    }
    close(held);
    return aside;
}

}  // namespace

HistoryStore::HistoryStore(fs::path file) : file_(std::move(file)) {
    if (file_.empty()) {
        TurnOff(kNoHome);
        return;
    }
    TakeUnsaved();
    Open();
}

HistoryStore::~HistoryStore() {
    if (const std::size_t left = Flush(kLockWait); left > 0 && state_ == State::kOn) {
        std::fprintf(stderr, "talmo: %zu answer%s could not be kept in %s: %s.\n", left,
                     left == 1 ? "" : "s", Printable(file_.string()).c_str(), kLocked);
        LeaveUnsaved(left);
    } else if (state_ == State::kOn) {
        // The session's last answers go into the file and the log to nothing,
        // even while another tutor keeps it open.
        Run(db_, "PRAGMA wal_checkpoint(TRUNCATE)");
    }
    Close(db_);
}

fs::path HistoryStore::DefaultPath() {
    const std::optional<fs::path> data = DataFolder();
    return data ? *data / "talmo" / "history.sqlite3" : fs::path();
}

void HistoryStore::Open() {
    if (OpenSqlite() == nullptr) {
        TurnOff("SQLite, which keeps it, cannot be loaded");
        return;
    }
    // The learner's answers are theirs alone: folders 0700, files 0600.
    if (const std::error_code error = MakePrivateFolders(file_.parent_path())) {
        TurnOff("its folder cannot be made: " + error.message());
        return;
    }
    // Another tutor making the file, or a tool reading it, holds it only for a
    // moment: it is looked at again until the bound, then the history is off.
    const auto until = Clock::now() + kLockWait;
    for (bool kept_aside = false; OpenOnce(until, kept_aside) == Step::kAgain;) {
        Close(db_);
        db_ = nullptr;
        if (Clock::now() >= until) {
            TurnOff(kLocked);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

HistoryStore::Step HistoryStore::Failed() {
    if (Lib().sqlite3_errcode(db_) == SQLITE_BUSY) {
        return Step::kAgain;
    }
    TurnOff(Reason(db_));
    return Step::kFailed;
}

HistoryStore::Step HistoryStore::OpenOnce(Clock::time_point until, bool& kept_aside) {
    // SQLite would make it 0644 less the umask, and gives its logs the file's
    // mode; one that is there keeps its own. Failing here, SQLite says why.
    if (const int made = open(file_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        made >= 0) {
        close(made);
    }
    const auto before = IdentityOf(file_);
    const int opened = Lib().sqlite3_open_v2(file_.c_str(), &db_,
                                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK) {
        TurnOff(Lib().sqlite3_errstr(opened));
        return Step::kFailed;
    }
    Lib().sqlite3_busy_timeout(db_, MsLeft(until));
    // A file that is not a database fails only at its first statement.
    const auto check = Ask(db_, "PRAGMA quick_check");
    const int code = Lib().sqlite3_errcode(db_);
    if (!check && code == SQLITE_BUSY) {
        return Step::kAgain;
    }
    if (check != "ok") {
        if (kept_aside || (!check && code != SQLITE_NOTADB && code != SQLITE_CORRUPT)) {
            TurnOff(check ? *check : Reason(db_));
            return Step::kFailed;
        }
        const auto found = IdentityOf(file_);
        Close(db_);
        db_ = nullptr;
        if (!found || found != before) {
            return Step::kAgain;  // another file by now, to be checked in turn
        }
        const Aside aside = MoveAside(file_, *found);
        if (aside.error != 0) {
            TurnOff(std::string("it is damaged and cannot be moved aside: ") +
                    std::strerror(aside.error));
            return Step::kFailed;
        }
        if (!aside.name.empty()) {
            AddNotice("Your history in " + file_.string() + " was damaged. It is kept as " +
                      aside.name + ", and a new history has been started.");
            kept_aside = true;
        }
        return Step::kAgain;
    }
    const std::optional<Header> header = ReadHeader(db_);
    if (!header) {
        return Failed();
    }
    if (!IsTalmos(*header)) {
        // Closed before anything is written: not even the log's switch.
        TurnOff("it is another program's database, not a Talmo history; it is left as it is");
        return Step::kFailed;
    }
    if (header->version > kSchemaVersion) {
        // A newer program's file is left exactly as it is.
        Close(db_);
        db_ = nullptr;
        if (Lib().sqlite3_open_v2(file_.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK) {
            TurnOff(Reason(db_));
            return Step::kFailed;
        }
        Lib().sqlite3_busy_timeout(db_, kBusyMs);
        state_ = State::kReadOnly;
        AddNotice("Your history in " + file_.string() +
                  " was written by a newer Talmo. It is left as it is: this Talmo reads it "
                  "but records nothing.");
        return Step::kDone;
    }
    // A committed answer survives a crash and a power loss.
    const auto mode = Ask(db_, "PRAGMA journal_mode=WAL");
    if (!mode || !Run(db_, "PRAGMA synchronous=FULL") || !Run(db_, kSmallLog)) {
        return Failed();
    }
    if (mode != "wal") {
        TurnOff("its file system cannot keep a write-ahead log");
        return Step::kFailed;
    }
    if (const Step migrated = Migrate(header->version); migrated != Step::kDone) {
        return migrated;
    }
    Lib().sqlite3_busy_timeout(db_, kBusyMs);
    state_ = State::kOn;
    return Step::kDone;
}

HistoryStore::Step HistoryStore::RolledBack() {
    // Told before the rollback, which would leave "not an error".
    const int code = Lib().sqlite3_errcode(db_);
    const std::string why = Reason(db_);
    Run(db_, "ROLLBACK");
    if (code == SQLITE_BUSY) {
        return Step::kAgain;
    }
    TurnOff(why);
    return Step::kFailed;
}

HistoryStore::Step HistoryStore::Migrate(int from) {
    if (from >= kSchemaVersion) {
        return Step::kDone;
    }
    // In one transaction, and again from what another tutor may have done first.
    if (!Run(db_, "BEGIN IMMEDIATE")) {
        return Failed();
    }
    const int now = std::atoi(Ask(db_, "PRAGMA user_version").value_or("0").c_str());
    const std::string create =
        "CREATE TABLE answers (id INTEGER PRIMARY KEY, at_ms INTEGER NOT NULL, session_ms "
        "INTEGER NOT NULL, drill TEXT NOT NULL, played TEXT NOT NULL, voice TEXT NOT NULL, "
        "style TEXT NOT NULL, answer TEXT NOT NULL, is_right INTEGER NOT NULL, answer_ms INTEGER "
        "NOT NULL);"
        "CREATE INDEX answers_at ON answers (at_ms);"
        "CREATE INDEX answers_item ON answers (drill, played, at_ms, session_ms, is_right);"
        "PRAGMA user_version = 1; PRAGMA application_id = " +
        std::to_string(kApplicationId);
    if ((now >= 1 || Run(db_, create.c_str())) && Run(db_, "COMMIT")) {
        return Step::kDone;
    }
    return RolledBack();
}

void HistoryStore::TurnOff(const std::string& why) {
    Close(db_);
    db_ = nullptr;
    state_ = State::kOff;
    off_why_ = why;
    const std::string said =
        file_.empty() ? ": " + why : " in " + file_.string() + " (" + why + ")";
    AddNotice("Talmo cannot keep your history" + said +
              ". Your practice goes on as before, but this time it is not kept.");
}

void HistoryStore::AddNotice(const std::string& text) {
    notice_ = notice_ ? *notice_ + " " + text : text;
}

// Claimed by a rename first, so that two tutors opening at once tell it once.
void HistoryStore::TakeUnsaved() {
    const std::string unsaved = file_.string() + ".unsaved";
    const std::string taken = unsaved + "-" + std::to_string(getpid());
    if (std::rename(unsaved.c_str(), taken.c_str()) != 0) {
        return;
    }
    std::size_t lost = 0;
    std::ifstream in(taken);
    for (std::string line; std::getline(in, line);) {
        lost += std::strtoull(line.c_str(), nullptr, 10);
    }
    in.close();
    std::remove(taken.c_str());
    if (lost > 0) {
        AddNotice(Answers(lost) +
                  " of an earlier session could not be kept: another program kept your history "
                  "locked.");
    }
}

void HistoryStore::LeaveUnsaved(std::size_t count) const {
    const int note = open((file_.string() + ".unsaved").c_str(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (note < 0) {
        return;  // already owned up to on stderr
    }
    const std::string line = Answers(count) + " of a session that ended " + Stamp() +
                             " could not be kept: another program kept the history locked.\n";
    if (write(note, line.data(), line.size()) < 0) {
        // Nowhere else to say it: stderr has it.
    }
    close(note);
}

bool HistoryStore::Write(const AnswerRecord& a) {
    sqlite3_stmt* insert = nullptr;
    bool written = Lib().sqlite3_prepare_v2(
                       db_,
                       "INSERT INTO answers (at_ms, session_ms, drill, played, voice, style, "
                       "answer, is_right, answer_ms) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr) == SQLITE_OK;
    if (written) {
        Lib().sqlite3_bind_int64(insert, 1, a.at_ms);
        Lib().sqlite3_bind_int64(insert, 2, a.session_ms);
        int column = 3;
        for (const std::string* text : {&a.drill, &a.played, &a.voice, &a.style, &a.answer}) {
            Lib().sqlite3_bind_text(insert, column++, text->c_str(), -1, SQLITE_STATIC);
        }
        Lib().sqlite3_bind_int(insert, 8, a.right ? 1 : 0);
        Lib().sqlite3_bind_int64(insert, 9, a.answer_ms);
        written = Lib().sqlite3_step(insert) == SQLITE_DONE;
    }
    Lib().sqlite3_finalize(insert);
    return written;
}

bool HistoryStore::Record(const AnswerRecord& answer) {
    if (state_ != State::kOn) {
        return false;
    }
    pending_.push_back(answer);
    return WritePending() == Step::kDone;
}

std::size_t HistoryStore::Flush(std::chrono::milliseconds within) noexcept {
    const auto until = Clock::now() + within;
    while (state_ == State::kOn && !pending_.empty()) {
        Lib().sqlite3_busy_timeout(db_, MsLeft(until));
        if (WritePending() != Step::kAgain || Clock::now() >= until) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (db_ != nullptr) {
        Lib().sqlite3_busy_timeout(db_, kBusyMs);
    }
    return pending_.size();
}

HistoryStore::Step HistoryStore::WritePending() {
    if (!Run(db_, "BEGIN IMMEDIATE")) {
        return Failed();  // another tutor writing: the answers wait
    }
    for (const AnswerRecord& each : pending_) {
        if (!Write(each)) {
            return RolledBack();
        }
    }
    if (!Run(db_, "COMMIT")) {
        return RolledBack();
    }
    pending_.clear();
    return Step::kDone;
}

std::vector<AnswerRecord> HistoryStore::Since(std::int64_t at_ms) const {
    return Query(
        "SELECT at_ms, session_ms, drill, played, voice, style, answer, is_right, "
        "answer_ms FROM answers WHERE at_ms >= ? ORDER BY at_ms, id",
        [&](sqlite3_stmt* s) { Lib().sqlite3_bind_int64(s, 1, at_ms); });
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
            Lib().sqlite3_bind_text(s, 1, drill.c_str(), -1, SQLITE_TRANSIENT);
            Lib().sqlite3_bind_int64(s, 2, static_cast<sqlite3_int64>(count));
        });
}

std::vector<AnswerRecord> HistoryStore::Query(
    const char* sql, const std::function<void(sqlite3_stmt*)>& bind) const {
    std::vector<AnswerRecord> answers;
    sqlite3_stmt* select = nullptr;
    if (db_ != nullptr && Lib().sqlite3_prepare_v2(db_, sql, -1, &select, nullptr) == SQLITE_OK) {
        bind(select);
        const auto text = [&](int column) {
            const auto* t = Lib().sqlite3_column_text(select, column);
            return std::string(t != nullptr ? reinterpret_cast<const char*>(t) : "");
        };
        while (Lib().sqlite3_step(select) == SQLITE_ROW) {
            answers.push_back({Lib().sqlite3_column_int64(select, 0),
                               Lib().sqlite3_column_int64(select, 1), text(2), text(3), text(4),
                               text(5), text(6), Lib().sqlite3_column_int(select, 7) != 0,
                               Lib().sqlite3_column_int64(select, 8)});
        }
    }
    Lib().sqlite3_finalize(select);
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
    Lib().sqlite3_busy_timeout(db_, static_cast<int>(kLockWait.count()));
    std::string why;
    if (!Run(db_, "PRAGMA secure_delete = ON") || !Run(db_, "BEGIN IMMEDIATE") ||
        !Run(db_, "DELETE FROM answers") || !Run(db_, "COMMIT")) {
        why = Lib().sqlite3_errcode(db_) == SQLITE_BUSY
                  ? "another program is writing to it"
                  : "it could not be written (" + Reason(db_) + ")";
        Run(db_, "ROLLBACK");
    } else {
        Run(db_, "PRAGMA wal_checkpoint(TRUNCATE)");
        pending_.clear();
    }
    Lib().sqlite3_busy_timeout(db_, kBusyMs);
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
