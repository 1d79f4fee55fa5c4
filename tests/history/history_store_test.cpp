// SPDX-License-Identifier: MIT
#include "history/history_store.h"
#include "history/learner_history.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "tests/support/memory_keep.h"

namespace talmo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using State = HistoryStore::State;
using talmo::testing::MemoryKeep;

struct TempDir {
    fs::path path = [] {
        char name[] = "/tmp/talmo-history-XXXXXX";
        return fs::path(mkdtemp(name));
    }();
    ~TempDir() { fs::remove_all(path); }
};

// A child history_child FILE COUNT [FSIZE] (its `args`), as `prefix` runs it.
struct Child {
    pid_t pid;
    FILE* out;
    Child(const std::vector<std::string>& prefix, const std::vector<std::string>& child_args) {
        int pipe_fds[2];
        EXPECT_EQ(pipe(pipe_fds), 0);
        pid = fork();
        if (pid == 0) {
            dup2(pipe_fds[1], STDOUT_FILENO);
            std::vector<std::string> args = prefix;
            args.push_back(TALMO_HISTORY_CHILD);
            args.insert(args.end(), child_args.begin(), child_args.end());
            std::vector<char*> argv;
            for (std::string& a : args) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(pipe_fds[1]);
        out = fdopen(pipe_fds[0], "r");
    }
    // Everything it printed, once it has ended.
    std::string Rest() {
        std::string text;
        for (int c; (c = fgetc(out)) != EOF;) {
            text += static_cast<char>(c);
        }
        fclose(out);
        waitpid(pid, nullptr, 0);
        return text;
    }
};

std::set<long> Recorded(const std::string& output) {
    std::set<long> numbers;
    std::istringstream lines(output);
    for (std::string word; lines >> word;) {
        if (word == "recorded") {
            long n;
            lines >> n;
            numbers.insert(n);
        }
    }
    return numbers;
}

std::string IntegrityOf(const fs::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
    std::string result = sqlite3_step(check) == SQLITE_ROW
                             ? reinterpret_cast<const char*>(sqlite3_column_text(check, 0))
                             : sqlite3_errmsg(db);
    sqlite3_finalize(check);
    sqlite3_close(db);
    return result;
}

void RunSql(const fs::path& file, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

std::shared_ptr<sqlite3> Hold(const fs::path& file, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    return {db, sqlite3_close};
}

// A history from before the mark, in a rollback journal: Talmo's all the same.
constexpr const char* kUnmarked = "CREATE TABLE answers (x); PRAGMA user_version = 1";

AnswerRecord At(std::int64_t at_ms, std::string played = "14") {
    return {at_ms, 1, "dictation", std::move(played), "male", "clear", "40", false, 900};
}

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Big enough that checking it takes a while, with a page's header damaged.
void MakeDamaged(const fs::path& file) {
    RunSql(file,
           "CREATE TABLE t (x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
           "WHERE i < 5000) INSERT INTO t SELECT randomblob(30) FROM n");
    std::fstream(file, std::ios::in | std::ios::out | std::ios::binary).seekp(40960)
        << std::string(64, '\x55');
}

struct Opening {
    const char* name;
    std::function<void(const fs::path&)> make;  // what is there before
    State state;
    const char* notice;  // in the notice; "" for none
    bool kept_aside;
};

class HistoryAtOpen : public ::testing::TestWithParam<Opening> {};

TEST_P(HistoryAtOpen, OpensWhatItCanAndSaysOnceWhatItCannot) {
    const TempDir dir;
    const fs::path file = dir.path / "talmo" / "history.sqlite3";
    fs::create_directories(file.parent_path());
    GetParam().make(file);
    const std::string before = fs::exists(file) ? Contents(file) : "";
    HistoryStore store(file);
    EXPECT_EQ(store.Status(), GetParam().state);
    const std::string notice = store.TakeNotice().value_or("");
    EXPECT_NE(notice.find(GetParam().notice), std::string::npos) << notice;
    EXPECT_EQ(notice.empty(), *GetParam().notice == '\0') << notice;
    EXPECT_FALSE(store.TakeNotice());
    EXPECT_EQ(notice.find("not an error"), std::string::npos) << notice;
    const std::vector<fs::path> aside = store.DamagedCopies();
    ASSERT_EQ(aside.size(), GetParam().kept_aside ? 1u : 0u);
    EXPECT_TRUE(aside.empty() || Contents(aside.front()) == before);
    EXPECT_EQ(store.Record(At(5)), GetParam().state == State::kOn);
    EXPECT_EQ(store.Forget().forgotten, GetParam().state == State::kOn);
    EXPECT_TRUE(store.Since(0).empty() && store.DamagedCopies().empty());
    if (GetParam().state != State::kOn) {
        EXPECT_EQ(Contents(file), before);
        // A newer history's empty log is left to it; another program's is not made.
        EXPECT_TRUE(GetParam().state == State::kReadOnly || !fs::exists(file.string() + "-wal"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, HistoryAtOpen,
    ::testing::Values(Opening{"none", [](const fs::path&) {}, State::kOn, "", false},
                      Opening{"not_a_database",
                              [](const fs::path& f) { std::ofstream(f) << std::string(3000, 'x'); },
                              State::kOn, "was damaged. It is kept as", true},
                      Opening{"damaged_pages", MakeDamaged, State::kOn, "was damaged", true},
                      Opening{"another_programs",
                              [](const fs::path& f) {
                                  RunSql(f, "CREATE TABLE notes (x); INSERT INTO notes VALUES (1)");
                              },
                              State::kOff, "(it is another program's database, not a Talmo", false},
                      Opening{"newer_version",
                              [](const fs::path& f) {
                                  HistoryStore(f).Record(At(1));  // marked as Talmo's
                                  RunSql(f, "DROP TABLE answers; PRAGMA user_version = 7");
                              },
                              State::kReadOnly, "written by a newer Talmo", false},
                      Opening{"folder_is_a_file",
                              [](const fs::path& f) {
                                  fs::remove(f.parent_path()), std::ofstream(f.parent_path());
                              },
                              State::kOff, "cannot keep your history", false}),
    [](const auto& info) { return std::string(info.param.name); });

// Killed at any moment while it records, every answer it said it had
// recorded is there, whole.
TEST(History, EveryRecordedAnswerSurvivesSigkill) {
    const TempDir dir;
    std::mt19937 random(2026);
    std::size_t answers = 0;
    for (int run = 0; run < 200; ++run) {
        const fs::path file = dir.path / ("h" + std::to_string(run));
        Child child({}, {file, "1000000"});
        char first[64];
        ASSERT_TRUE(fgets(first, sizeof first, child.out)) << "run " << run;  // it records
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        kill(child.pid, SIGKILL);
        std::set<long> reported = Recorded(child.Rest());
        reported.insert(0);
        answers += reported.size();
        std::set<long> kept;
        for (const AnswerRecord& a : HistoryStore(file).Since(0)) {
            kept.insert(a.at_ms);
        }
        ASSERT_TRUE(std::includes(kept.begin(), kept.end(), reported.begin(), reported.end()))
            << "run " << run << ": " << reported.size() << " reported, " << kept.size() << " kept";
        ASSERT_EQ(IntegrityOf(file), "ok") << "run " << run;
    }
    std::printf("200 kills while recording; %zu answers reported, every one kept\n", answers);
}

// Private, the folders above too, while a file that is there keeps its mode;
// its log stays small however long the session, and is emptied at its end.
TEST(History, ItsFilesArePrivateAndItsLogSmall) {
    const mode_t was = umask(022);  // under which SQLite makes a file 0644
    const TempDir dir;
    const fs::path file = dir.path / "data" / "talmo" / "h", shared = dir.path / "shared";
    std::ofstream{shared}, fs::permissions(shared, fs::perms(0640));
    HistoryStore store(file), other(shared);
    EXPECT_TRUE(store.Record(At(0)) && other.Record(At(0)));
    std::uintmax_t largest = 0;
    for (int n = 1; n < 1000 && store.Record(At(n)); ++n) {
        largest = std::max(largest, fs::file_size(file.string() + "-wal"));
    }
    std::printf("1000 answers, each its own commit: the log at most %ju bytes\n", largest);
    EXPECT_TRUE(store.Since(0).size() == 1000 && largest < 256 * 1024);
    for (const auto& [path, mode] : {std::pair{dir.path / "data", 0700},
                                     {file, 0600},
                                     {file.string() + "-wal", 0600},
                                     {file.string() + "-shm", 0600},
                                     {shared.string() + "-wal", 0640}}) {
        EXPECT_EQ(fs::status(path).permissions(), fs::perms(mode)) << path;
    }
    HistoryStore(file).Record(At(1000));  // closed while another keeps it open
    EXPECT_EQ(fs::file_size(file.string() + "-wal"), 0u);
    umask(was);
}

// Told on one line, with no home at all or a folder named to break the line.
TEST(History, ANoticeIsOneLine) {
    const TempDir dir;
    std::ofstream{dir.path / "a\nb"};  // where its folder would be
    for (const auto& [file, said] : {std::pair{fs::path(), "history: there is no home folder"},
                                     {dir.path / "a\nb/h", "a\\nb/h ("}}) {
        std::ostringstream err;
        MemoryKeep keep;
        LearnerHistory(file, keep, err).Store();
        EXPECT_NE(err.str().find(said), std::string::npos) << err.str();
        EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << err.str();
    }
}

// A learner who may not write the folder practises on, told once.
TEST(History, AFolderThatCannotBeWrittenTurnsItOff) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root, to run the child as nobody";
    }
    const TempDir dir;
    fs::permissions(dir.path, fs::perms::owner_all);
    const std::string out =
        Child({"runuser", "-u", "nobody", "--"}, {dir.path / "talmo" / "h", "3"}).Rest();
    EXPECT_TRUE(Recorded(out).empty()) << out;
    EXPECT_NE(out.find("notice Talmo cannot keep your history"), std::string::npos) << out;
}

// A full disk turns the history off; what was recorded stays, whole.
TEST(History, AFullDiskTurnsItOff) {
    const TempDir dir;
    const fs::path file = dir.path / "h";
    const std::string out = Child({}, {file, "100000", std::to_string(96 * 1024)}).Rest();
    EXPECT_NE(out.find("notice Talmo cannot keep your history"), std::string::npos) << out;
    const std::set<long> reported = Recorded(out);
    EXPECT_GT(reported.size(), 0u);
    EXPECT_LT(reported.size(), 100000u);
    EXPECT_EQ(HistoryStore(file).Since(0).size(), reported.size());
    EXPECT_EQ(IntegrityOf(file), "ok");
}

// Two tutors at once both record, and neither waits long for the other.
TEST(History, TwoTutorsRecordAtOnce) {
    const TempDir dir;
    const fs::path file = dir.path / "h";
    HistoryStore first(file);  // the file exists before they race
    Child a({}, {file, "300"}), b({}, {file, "300"});
    for (const std::string& out : {a.Rest(), b.Rest()}) {
        EXPECT_EQ(Recorded(out).size(), 300u) << out;  // one kept waiting goes with the next
        EXPECT_LT(std::stod(out.substr(out.find("longest ") + 8)), 100) << out;
    }
    EXPECT_EQ(first.Since(0).size(), 600u);
}

// Another program's lock at open is waited out for a second, then owned up to.
TEST(History, ALockAtOpenIsWaitedOutForASecond) {
    for (const auto& [before, hold, ms] :
         {std::tuple{kUnmarked, "BEGIN EXCLUSIVE", 300},                  // at its check
          std::tuple{kUnmarked, "BEGIN; SELECT * FROM answers", 300},     // the log's switch
          std::tuple{"PRAGMA journal_mode=WAL", "BEGIN IMMEDIATE", 300},  // the schema
          std::tuple{kUnmarked, "BEGIN EXCLUSIVE", 1300}}) {
        const TempDir dir;
        const fs::path file = dir.path / "h";
        RunSql(file, before);
        auto other = Hold(file, hold);
        std::thread release([&] { std::this_thread::sleep_for(ms * 1ms), other.reset(); });
        HistoryStore store(file);
        release.join();
        const std::string notice = store.TakeNotice().value_or("");
        EXPECT_EQ(store.Status(), ms < 1000 ? State::kOn : State::kOff) << hold << ": " << notice;
        EXPECT_EQ(notice.find("(another program kept it locked)") != std::string::npos, ms > 1000);
    }
}

// An answer held up by a lock is written once it lifts; one still held up when
// the program ends is owned up to by the next, at once and to the window.
TEST(History, AnAnswerHeldUpByALockIsWrittenOrOwnedUpTo) {
    const TempDir dir;
    const fs::path file = dir.path / "h";
    HistoryStore store(file);
    auto other = Hold(file, "BEGIN IMMEDIATE");
    EXPECT_FALSE(store.Record(At(1)));
    std::thread release([&] { std::this_thread::sleep_for(200ms), other.reset(); });
    EXPECT_EQ(store.Flush(), 0u);
    release.join();
    {
        const auto again = Hold(file, "BEGIN IMMEDIATE");
        HistoryStore closing(file);
        closing.Record(At(2)), closing.Record(At(3));
    }
    std::ostringstream err;
    MemoryKeep keep;
    LearnerHistory next(file, keep, err);
    EXPECT_TRUE(next.Record(At(4)));
    const std::string notice = next.TakeNotice().value_or("");
    EXPECT_TRUE(notice.starts_with("2 answers of an earlier session could not be kept")) << notice;
    EXPECT_EQ(err.str(), "talmo: " + notice + "\n");
    EXPECT_FALSE(fs::exists(file.string() + ".unsaved"));
}

// Two tutors opening one damaged history at once: its bytes are kept aside,
// whole, once, and both record in the one new history.
TEST(History, TwoTutorsKeepADamagedHistoryAsideOnce) {
    const TempDir dir;
    MakeDamaged(dir.path / "base");
    const std::string damaged = Contents(dir.path / "base");
    for (int run = 0; run < 40; ++run) {
        const fs::path file = dir.path / ("h" + std::to_string(run));
        std::ofstream(file, std::ios::binary) << damaged;
        const std::string at = "@" + std::to_string(WallClockMs() + 30);
        Child a({}, {file, "1", at}), b({}, {file, "1", at});
        const std::string out = a.Rest() + b.Rest();
        const HistoryStore store(file);
        ASSERT_EQ(store.DamagedCopies().size(), 1u) << "run " << run << "\n" << out;
        EXPECT_EQ(Contents(store.DamagedCopies().front()), damaged) << "run " << run;
        EXPECT_EQ(store.Since(0).size(), 2u) << "run " << run << "\n" << out;
    }
}

// Forgetting waits out another program's write, then changes nothing; a damaged
// copy it cannot remove is named.
TEST(History, ForgettingSaysWhyNot) {
    const TempDir dir;
    const fs::path file = dir.path / "h", first = file.string() + ".damaged-1",
                   second = file.string() + ".damaged-2";
    HistoryStore store(file);
    store.Record(At(1));
    fs::create_directories(second / "x");
    std::ofstream(first) << "x";
    std::ofstream(first.string() + "-wal") << "x";
    EXPECT_EQ(store.DamagedCopies(), (std::vector{first, second}));
    auto other = Hold(file, "BEGIN IMMEDIATE");
    EXPECT_EQ(store.Forget().why, "another program is writing to it");
    EXPECT_EQ(store.Since(0).size() + store.DamagedCopies().size(), 3u);
    other.reset();
    const ForgetOutcome outcome = store.Forget();
    EXPECT_EQ(outcome.why,
              "the answers are gone, but " + second.string() + " could not be removed");
    EXPECT_FALSE(outcome.forgotten);
    EXPECT_EQ(store.DamagedCopies(), std::vector{second});
    EXPECT_FALSE(fs::exists(first.string() + "-wal"));
}

}  // namespace
}  // namespace talmo
