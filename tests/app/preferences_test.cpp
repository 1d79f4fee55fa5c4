// SPDX-License-Identifier: MIT
#include "preferences.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>
#include <sstream>

namespace talmo {
namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

struct Start {
    std::optional<QByteArray> file;  // none: no file at all
    std::string voice;
    std::string complaint;  // a part of the one line on stderr; empty: silence
};

class PreferencesAtStart : public ::testing::TestWithParam<Start> {};

// Whatever the file holds, the program starts, with the defaults for what it
// cannot read, and the file is left as it was.
TEST_P(PreferencesAtStart, ReadsWhatItCanAndLeavesTheFileAlone) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("talmo/talmo.conf");
    if (GetParam().file) {
        ASSERT_TRUE(QDir().mkpath(dir.filePath("talmo")));
        Put(path, *GetParam().file);
    }
    std::ostringstream err;
    const Preferences preferences(err, path);
    EXPECT_EQ(preferences.Voice(), GetParam().voice);
    const std::string said = err.str();
    if (GetParam().complaint.empty()) {
        EXPECT_EQ(said, "");
    } else {
        EXPECT_NE(said.find(GetParam().complaint), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    EXPECT_EQ(QFile::exists(path), GetParam().file.has_value());
    EXPECT_EQ(Contents(path), GetParam().file.value_or(QByteArray()));
}

INSTANTIATE_TEST_SUITE_P(
    Files, PreferencesAtStart,
    ::testing::Values(Start{std::nullopt, "male", ""}, Start{"", "male", ""},
                      Start{"[General]\nvoice=female\n", "female", ""},
                      Start{"voice=all\n", "all", ""}, Start{"voice=both\n", "all", ""},
                      Start{"voice=alto\n", "male", "voice=alto"},
                      Start{"voice=Female\n", "male", "is not a voice"},
                      Start{"voice=male, female\n", "male", "not a single word"},
                      Start{"voice=female\nthis line is damaged\n", "male", "cannot read"}));

TEST(Preferences, AChangeIsSavedAndReadOnTheNextStart) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("talmo/talmo.conf");
    std::ostringstream err;
    Preferences(err, path).SetVoice("female");
    EXPECT_EQ(Preferences(err, path).Voice(), "female");
    EXPECT_EQ(err.str(), "");
}

TEST(Preferences, AFolderThatCannotBeWrittenCostsOneLineAndNothingElse) {
    const QTemporaryDir dir;
    Put(dir.filePath("talmo"), "a file where the folder should be");
    std::ostringstream err;
    Preferences preferences(err, dir.filePath("talmo/talmo.conf"));
    preferences.SetVoice("female");
    EXPECT_EQ(preferences.Voice(), "female");  // for this run
    EXPECT_NE(err.str().find("cannot save"), std::string::npos) << err.str();
}

TEST(Preferences, AFileItCouldNotReadIsNotSavedOver) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("talmo.conf");
    const QByteArray damaged = "voice=female\nthis line is damaged\n";
    Put(path, damaged);
    std::ostringstream err;
    Preferences(err, path).SetVoice("all");
    EXPECT_EQ(Contents(path), damaged);
    EXPECT_NE(err.str().find("not saved over"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace talmo
