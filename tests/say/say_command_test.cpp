// SPDX-License-Identifier: MIT
#include "say/say_command.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "speech/life_readers.h"
#include "speech/number_speaker.h"
#include "speech/wave_image.h"
#include "tests/support/recording_clip_player.h"

namespace talmo {
namespace {

struct SayResult {
    int status;
    std::string out;
    std::string err;
};

SayResult Say(std::vector<std::string> args, ClipPlayer& player) {
    std::ostringstream out, err;
    const int status = RunSay(args, VoicePicker::ForChoice, player, out, err);
    return {status, out.str(), err.str()};
}

SayResult Say(std::vector<std::string> args) {
    RecordingClipPlayer player;
    return Say(std::move(args), player);
}

bool OneLine(const std::string& text) {
    return !text.empty() && text.back() == '\n' && text.find('\n') == text.size() - 1;
}

TEST(TalmoSay, ClipsPrintsTheClipNamesOnOneLine) {
    EXPECT_EQ(Say({"--clips", "1021"}).out, "1ETT, N1000, N20, 1ETT\n");
    EXPECT_EQ(Say({"--clips", "0"}).out, "0NOLL\n");
    EXPECT_EQ(Say({"--clips", "99999"}).out, "N90, 9NIO, N1000, 9NIO, N100, N90, 9NIO\n");
    EXPECT_EQ(Say({"--clips", "+7"}).out, "7SJU\n");
    EXPECT_EQ(Say({"--style", "everyday", "--recordings", "1001"}).out, "N1000/inner, 1ETT/last\n");
    EXPECT_EQ(Say({"--as", "time", "15:25", "--clips"}).out, "5FEM, I, HALV, 4FYRA\n");
    EXPECT_EQ(Say({"--as=year", "--clips", "2024", "--way", "all"}).out,
              "tjugohundra: N20, N100, N24\ntjugo: N20, N24\ntvåtusen: 2TVA, N1000, N20, 4FYRA\n");
    EXPECT_EQ(Say({"--as", "time", "--way=from the half", "--clips", "15.20"}).out,
              "10TIO, I, HALV, 4FYRA\n");
    EXPECT_EQ(Say({"--style", "everyday", "--as", "price", "--clips", "99", "--way", "spänn"}).out,
              "N90, 9NIO, SPANN\n");
    EXPECT_EQ(Say({"--as", "time", "24:00"}).err,
              "talmo-say: not a clock time from 00:00 to 23:59: 24:00\n");
}

class TalmoSayRejects : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(TalmoSayRejects, WithOneLineAndStatusTwo) {
    RecordingClipPlayer player;
    const SayResult run = Say(GetParam(), player);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_TRUE(player.Images().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, TalmoSayRejects,
    ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"100000"},
                      std::vector<std::string>{"-1"}, std::vector<std::string>{"abc"},
                      std::vector<std::string>{"12abc"}, std::vector<std::string>{"1.5"},
                      std::vector<std::string>{""}, std::vector<std::string>{" 5"},
                      std::vector<std::string>{"99999999999999999999999"},
                      std::vector<std::string>{"--clips"},
                      std::vector<std::string>{"--clips", "1e3"}, std::vector<std::string>{"--wav"},
                      std::vector<std::string>{"--wav", "5"}, std::vector<std::string>{"5", "6"},
                      std::vector<std::string>{"--voice", "alto", "5"},
                      std::vector<std::string>{"5", "--voice"},
                      std::vector<std::string>{"--clips", "5", "--voice=Male"},
                      std::vector<std::string>{"\x1b]0;TITLE\a5"},
                      std::vector<std::string>{"--voice", "fe\nmale", "5"},
                      std::vector<std::string>{"--clips", "--recordings", "5"},
                      std::vector<std::string>{"--as", "time", "24:00"},
                      std::vector<std::string>{"--as", "hour", "3"},
                      std::vector<std::string>{"--as", "phone", "--clips", "070-123 45 6"},
                      std::vector<std::string>{"--as", "time", "15:25", "--way", "from the half"},
                      std::vector<std::string>{"--way", "all", "5"}));

TEST(TalmoSay, NamesAnUnknownOptionThenGivesTheUsage) {
    for (const auto& args :
         {std::vector<std::string>{"--loud", "5"}, std::vector<std::string>{"5", "-x"}}) {
        const SayResult run = Say(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty());
        const std::string named = "talmo-say: unknown option '" + args[args[0] == "5"] + "'\n";
        EXPECT_EQ(run.err.substr(0, named.size()), named);
        EXPECT_TRUE(run.err.substr(named.size()).starts_with("usage: talmo-say")) << run.err;
    }
}

TEST(TalmoSay, PrintsItsVersion) {
    const SayResult run = Say({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "talmo-say " TALMO_VERSION "\n");
    EXPECT_TRUE(run.err.empty());
}

TEST(TalmoSay, SpeaksThroughThePlayer) {
    RecordingClipPlayer player;
    const SayResult run = Say({"342"}, player);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty());
    EXPECT_EQ(player.Images().size(), NumberClips(342).size());
    // Each way a saying of its own; a phone number's groups apart by a pause.
    RecordingClipPlayer years, phone;
    EXPECT_EQ(Say({"--as", "year", "--way", "all", "2024"}, years).status, 0);
    EXPECT_EQ(years.NumberStarts().size(), 3u);
    EXPECT_EQ(Say({"--as", "phone", "070-123 45 67"}, phone).status, 0);
    EXPECT_EQ(phone.Images().size(), 10u + 3u);
}

TEST(TalmoSay, SaysSoWhenTheSoundCannotBePlayed) {
    RecordingClipPlayer failing(false);
    const SayResult run = Say({"342"}, failing);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    // Every clip was still tried.
    EXPECT_EQ(failing.Images().size(), NumberClips(342).size());
}

class TalmoSayWav : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() /
            ("talmo-say-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        // Folders a test locked are opened again first, so that they can go.
        std::error_code ec;
        for (const char* locked : {"locked", "read-only"}) {
            std::filesystem::permissions(dir_ / locked, std::filesystem::perms::owner_all, ec);
        }
        std::filesystem::remove_all(dir_, ec);
    }

    std::filesystem::path dir_;
};

// In the voice asked for, male when none is; --voice may stand anywhere.
TEST_F(TalmoSayWav, WritesTheClipsSamplesBackToBack) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> runs{
        {{"--wav", "", "31121"}, "male"},
        {{"--voice", "female", "--wav", "", "31121"}, "female"},
        {{"--wav", "", "31121", "--voice=male"}, "male"}};
    for (auto [args, voice] : runs) {
        const auto path = (dir_ / "31121.wav").string();
        *std::find(args.begin(), args.end(), "") = path;
        ASSERT_EQ(Say(args).status, 0);
        std::ifstream file(path, std::ios::binary);
        const std::vector<std::uint8_t> image(std::istreambuf_iterator<char>(file), {});
        const auto samples = DecodeClip(image);
        ASSERT_TRUE(samples.has_value());
        std::vector<std::int16_t> expected;
        for (const ClipRef& clip : NumberClips(31121)) {
            const auto part = DecodeClip(FindVoice(voice)->clips.LoadClip(clip));
            ASSERT_TRUE(part.has_value());
            expected.insert(expected.end(), part->begin(), part->end());
        }
        EXPECT_TRUE(*samples == expected) << args[0] << " " << args[1];
        EXPECT_EQ(ReadInfoTexts(image)["INAM"], "31121");
        // Only the file itself is left: no temporary beside it.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
    }
}

// The groups' pauses as silence, as the engine plays them.
TEST_F(TalmoSayWav, WritesASayingWithItsPauses) {
    const auto path = (dir_ / "phone.wav").string();
    ASSERT_EQ(Say({"--as", "phone", "--wav", path, "0701234505"}).status, 0);
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> image(std::istreambuf_iterator<char>(file), {});
    std::vector<std::int16_t> expected;
    const ClipStore& store = FindVoice("male")->clips;
    const auto sayings = LifeSayings(LifeKind::kPhone, "070-123 45 05", SpeechStyle::kClear);
    for (const SaidClip& c : sayings.at(0).clips) {
        if (c.join == Join::kPause) {
            expected.resize(expected.size() + kClipSampleRate * kGroupPauseMs / 1000);
        }
        const auto part = DecodeClip(store.LoadClip(c.clip));
        ASSERT_TRUE(part.has_value());
        expected.insert(expected.end(), part->begin(), part->end());
    }
    EXPECT_TRUE(DecodeClip(image) == expected);
    EXPECT_EQ(ReadInfoTexts(image)["INAM"], "070-123 45 05");
}

TEST_F(TalmoSayWav, LeavesNothingBehindWhenItCannotWrite) {
    const auto missing_dir = (dir_ / "no-such-folder" / "x.wav").string();
    const SayResult run = Say({"--wav", missing_dir, "5"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(OneLine(run.err)) << run.err;

    const SayResult to_dir = Say({"--wav", dir_.string(), "5"});
    EXPECT_EQ(to_dir.status, 2);
    EXPECT_TRUE(OneLine(to_dir.err)) << to_dir.err;

    const SayResult bad_number = Say({"--wav", (dir_ / "x.wav").string(), "100000"});
    EXPECT_EQ(bad_number.status, 2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 0);
}

// talmo-say run as an ordinary user (nobody, when the tests run as root):
// paths it may not write get the one line and status 2, never an abort.
TEST_F(TalmoSayWav, RefusesPathsTheUserMayNotWrite) {
    namespace fs = std::filesystem;
    const bool root = geteuid() == 0;
    fs::permissions(dir_, fs::perms::all);
    const fs::path locked = dir_ / "locked", read_only = dir_ / "read-only";
    fs::create_directories(locked);
    fs::create_directories(read_only);
    fs::permissions(locked, root ? fs::perms::owner_all : fs::perms::none);
    fs::permissions(read_only, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
    if (!root) {
        fs::permissions(read_only, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const fs::path kept = dir_ / "kept.wav";
    std::ofstream(kept) << "old";
    fs::permissions(kept, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    // Over a file size limit a write fails like any other, rather than a signal.
    const std::pair<const char*, fs::path> runs[] = {{"", locked / "x.wav"},
                                                     {"", read_only / "x.wav"},
                                                     {"", kept},
                                                     {"ulimit -f 4; ", dir_ / "big.wav"}};
    for (const auto& [limit, target] : runs) {
        const std::string out = (dir_ / "out").string(), err = (dir_ / "err").string();
        const std::string command =
            limit + std::string(root ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "") +
            "'" TALMO_SAY_BINARY "' --wav '" + target.string() + "' 5 >'" + out + "' 2>'" + err +
            "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), 2) << command;
        std::ifstream in(err);
        const std::string said((std::istreambuf_iterator<char>(in)), {});
        EXPECT_TRUE(OneLine(said) && said.starts_with("talmo-say: cannot write")) << said;
        fs::remove(out);
        fs::remove(err);
    }
    std::ifstream in(kept);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 3);  // nothing of big.wav
}

// Each kind of target gets the sound where it leads and stays what it was,
// with no temporary left beside it: as a shell script would find it.
TEST_F(TalmoSayWav, WritesWhereItIsToldAndNothingElse) {
    const std::string wave = Say({"--wav", "-", "5"}).out;
    ASSERT_TRUE(DecodeClip(std::vector<std::uint8_t>(wave.begin(), wave.end())));
    std::ofstream(dir_ / "wave") << wave;
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"", "new.wav", "test $(stat -c %a new.wav) = 644 && cmp new.wav ../wave"},
        {"echo >own.wav; chmod 600 own.wav", "own.wav",
         "test $(stat -c %a own.wav) = 600 && cmp own.wav ../wave"},
        {"echo >real.wav; ln -s real.wav link", "link", "test -L link && cmp real.wav ../wave"},
        {"ln -s later.wav link", "link", "test -L link && cmp later.wav ../wave"},
        {"echo >one.wav; ln one.wav two", "one.wav",
         "test $(stat -c %h one.wav) = 2 && cmp two ../wave"},
        {"mkfifo pipe; timeout 10 cat pipe >got &", "pipe",
         "wait; test -p pipe && cmp got ../wave"},
        {"", "-", "cmp out ../wave"},
    };
    int n = 0;
    for (const auto& [setup, target, check] : rows) {
        const std::string folder = (dir_ / std::to_string(++n)).string();
        const std::string script = "mkdir '" + folder + "' && cd '" + folder + "' && umask 022; " +
                                   setup + "\n'" TALMO_SAY_BINARY "' --wav " + target +
                                   " 5 >out && " + check + " && test -z \"$(ls -A | grep '^[.]')\"";
        EXPECT_EQ(std::system(script.c_str()), 0) << script;
    }
}

// As root, /dev/null and /dev/stdout are written into, never replaced: tried
// on a /dev of its own, in a private mount namespace, so that a fault cannot
// harm the machine's.
TEST_F(TalmoSayWav, WritesIntoDevicesAsRoot) {
    if (geteuid() != 0 || std::system("unshare --mount true 2>/dev/null") != 0) {
        GTEST_SKIP() << "needs root and a mount namespace of its own";
    }
    const std::string say = TALMO_SAY_BINARY " --wav ", wave = (dir_ / "wave").string();
    std::ofstream(wave) << Say({"--wav", "-", "5"}).out;
    const std::string script =
        "unshare --mount --propagation private sh -c 'mount -t tmpfs none /dev && "
        "mknod -m 666 /dev/null c 1 3 && ln -s /proc/self/fd/1 /dev/stdout && " +
        say + "/dev/null 5 && test -c /dev/null && " + say + "/dev/stdout 5 >" + wave +
        ".out && test -L /dev/stdout && cmp " + wave + " " + wave + ".out'";
    EXPECT_EQ(std::system(script.c_str()), 0) << script;
}

}  // namespace
}  // namespace talmo
