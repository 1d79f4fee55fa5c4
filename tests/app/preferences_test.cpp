// SPDX-License-Identifier: MIT
#include "app/preferences.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace talmo {
namespace {

std::string Contents(const QString& path) {
    std::ifstream file(path.toStdString());
    return {std::istreambuf_iterator<char>(file), {}};
}

constexpr const char* kJunk = "\x89PNG=\x1a\xff\n";
// A preferences file in form, but too large to be one.
const std::string kHuge = "voice=female\n" + std::string(1 << 20, ';') + "\n";

struct Start {
    const char* file;  // null: no file at all
    std::string voice;
    std::string complaint = {};  // in the one line on stderr; empty: silence
    SpeechStyle style = SpeechStyle::kClear;
    DrillChoices drills = {};
    const char* changed = nullptr;  // the file once the drills' pairs change; null: not tried
    bool saves = true;
    bool keeps = true;  // answers kept in the history
};

class PreferencesAtStart : public ::testing::TestWithParam<Start> {};

// Whatever the file holds, the program starts, with the defaults for what it
// cannot read, and the file is left as it was; a change rewrites only its line.
TEST_P(PreferencesAtStart, ReadsWhatItCanAndLeavesTheFileAlone) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("talmo.conf");
    if (GetParam().file != nullptr) {
        std::ofstream(path.toStdString()) << GetParam().file;
    }
    std::ostringstream err;
    Preferences preferences(err, path);
    EXPECT_EQ(preferences.Voice(), GetParam().voice);
    EXPECT_EQ(preferences.Style(), GetParam().style);
    EXPECT_EQ(preferences.Drills(), GetParam().drills);
    EXPECT_EQ(preferences.Saves(), GetParam().saves);
    EXPECT_EQ(preferences.Keeps(), GetParam().keeps);
    const std::string said = err.str();
    EXPECT_NE(said.find(GetParam().complaint), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), GetParam().complaint.empty() ? 0 : 1);
    EXPECT_EQ(std::filesystem::exists(path.toStdString()), GetParam().file != nullptr);
    EXPECT_EQ(Contents(path), GetParam().file != nullptr ? GetParam().file : "");
    if (GetParam().changed != nullptr) {
        DrillChoices drills = preferences.Drills();
        drills.pair_set = "unit-ten";
        preferences.SetDrills(drills);
        EXPECT_EQ(Contents(path), GetParam().changed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, PreferencesAtStart,
    ::testing::Values(
        Start{nullptr, "male", ""}, Start{"", "male", ""},
        Start{"[General]\nvoice=female\n", "female", ""},
        Start{.file = "voice=all",
              .voice = "all",
              .changed = "voice=all\n\n[drills]\npairs=unit-ten\n"},
        Start{"voice=both\n", "all", ""}, Start{"voice=alto\n", "male", "voice=alto"},
        Start{"voice=Female\n", "male", "is not a voice"},
        Start{"voice=male, female\n", "male", "not a single word"},
        Start{.file = "voice=female\nthis line is damaged\n",
              .voice = "male",
              .complaint = "cannot read",
              .saves = false},
        Start{.file = kJunk,
              .voice = "male",
              .complaint = "cannot read",
              .changed = kJunk,
              .saves = false},
        Start{.file = kHuge.c_str(),
              .voice = "male",
              .complaint = "over 1 MiB",
              .changed = kHuge.c_str(),
              .saves = false},
        Start{"voice=fe\x1b[2J\rmale\n", "male", "voice=fe\\x1b[2J\\rmale"},
        Start{"style=everyday\n", "male", "", SpeechStyle::kEveryday},
        Start{"style=casual\n", "male", "is not clear or everyday; using clear"},
        Start{"[drills]\nvoice=female\nstyle=clear\npairs=sex-sju\n",
              "male",
              "",
              SpeechStyle::kClear,
              {"female", StyleChoice::kClear, "sex-sju"}},
        Start{.file = "# mine\n[drills]\n; by hand\npairs = sex-sju ; hard\nspeed=9\n",
              .voice = "male",
              .drills = {.pair_set = "sex-sju"},
              .changed = "# mine\n[drills]\n; by hand\npairs = unit-ten ; hard\nspeed=9\n"},
        Start{.file = "[drills]\nvoice=female\n\n[history]\nkeep=false\n",
              .voice = "male",
              .drills = {.voice = "female"},
              .changed = "[drills]\nvoice=female\npairs=unit-ten\n\n[history]\nkeep=false\n",
              .keeps = false},
        Start{"[drills]\nstyle=loud\n", "male", "is not clear, everyday or both; using both"},
        Start{"[drills]\npairs=all\n", "male", "not a set of pairs"}));

// A change is saved for the next start, but never over a file that could not
// be read, and a folder that cannot be written costs a line, not the change.
TEST(Preferences, SavesAChangeWhereItCan) {
    const QTemporaryDir dir;
    const QString fresh = dir.filePath("fresh/talmo.conf");
    const QString damaged = dir.filePath("damaged.conf");
    std::ofstream(damaged.toStdString()) << "voice=female\nthis line is damaged\n";
    std::ofstream(dir.filePath("file").toStdString()) << "a file where the folder should be";
    std::ostringstream err;
    // An empty path: there is no home folder to keep them in.
    for (const QString& path : {fresh, damaged, dir.filePath("file/talmo.conf"), QString()}) {
        Preferences preferences(err, path);
        preferences.SetDrills({.voice = "female"});
        preferences.SetKeeps(false);
        EXPECT_EQ(preferences.Drills().voice, "female");
        EXPECT_EQ(preferences.Saves(), path == fresh);
    }
    EXPECT_EQ(Preferences(err, fresh).Drills().voice, "female");
    EXPECT_FALSE(Preferences(err, fresh).Keeps());
    const DrillChoices drills{"male", StyleChoice::kClear, "unit-ten"};
    Preferences(err, fresh).SetDrills(drills);
    EXPECT_EQ(Preferences(err, fresh).Drills(), drills);
    EXPECT_EQ(Contents(damaged), "voice=female\nthis line is damaged\n");
    // The learner's alone, whatever the umask lets others have.
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(dir.filePath("fresh").toStdString()).permissions(), fs::perms(0700));
    EXPECT_EQ(fs::status(fresh.toStdString()).permissions(), fs::perms(0600));
    const std::string said = err.str();
    EXPECT_NE(said.find("not saved over"), std::string::npos) << said;
    EXPECT_NE(said.find("cannot save"), std::string::npos) << said;
    EXPECT_NE(said.find("no home folder"), std::string::npos) << said;
    // And the damaged file's line, and the missing home's once.
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 6) << said;
}

}  // namespace
}  // namespace talmo
