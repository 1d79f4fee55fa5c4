// SPDX-License-Identifier: MIT
#include "speech/speech_engine.h"
#include "speech/life_readers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "speech/life_readers.h"
#include "speech/number_speaker.h"
#include "tests/support/recording_clip_player.h"

namespace talmo {
namespace {

// The names of the catalogue entries whose bytes the player was handed.
std::vector<std::string> PlayedNames(const RecordingClipPlayer& player, const ClipStore& store) {
    std::vector<std::string> names;
    for (const auto& image : player.Images()) {
        std::string name = "?";
        for (const ClipEntry& entry : store.Entries()) {
            if (std::equal(image.begin(), image.end(), entry.bytes.begin(), entry.bytes.end())) {
                name = std::string(entry.Category) + "/" + std::string(entry.Index);
            }
        }
        names.push_back(name);
    }
    return names;
}

// The player learns where each number begins and ends, so that it can give
// up on the rest of a number at once and run one clip into the next; a lone
// clip is a number of its own.
TEST(SpeechEngine, TellsThePlayerWhereEachNumberBeginsAndEnds) {
    RecordingClipPlayer player;
    SpeechEngine engine(ClipStore::Embedded(), player);
    engine.SpeakNumber(1021);
    engine.PlayNumber("PLUS", "NUMBERS");
    engine.PlayNumber("MINUS", "NUMBERS");
    engine.SpeakNumber(99999);
    EXPECT_EQ(player.NumberStarts(), (std::vector<std::size_t>{0, 4, 5, 6}));
    EXPECT_EQ(player.NumberEnds(), (std::vector<std::size_t>{4, 5, 6, 13}));
    EXPECT_EQ(player.Images().size(), 13u);
}

struct PlayCase {
    const char* index;
    const char* category;
    const char* played;  // "" when nothing may play
};

void PrintTo(const PlayCase& d, std::ostream* os) {
    *os << d.category << "/" << d.index;
}

class PlayNumberCase : public ::testing::TestWithParam<PlayCase> {};

TEST_P(PlayNumberCase, PlaysTheClipNamedInAnyCase) {
    const ClipStore& store = ClipStore::Embedded();
    RecordingClipPlayer player;
    const std::string index = GetParam().index;
    const std::string category = GetParam().category;
    SpeechEngine(store, player).PlayNumber(index, category);
    const auto played = PlayedNames(player, store);
    if (*GetParam().played == '\0') {
        EXPECT_TRUE(played.empty());
    } else {
        EXPECT_EQ(played, std::vector<std::string>{GetParam().played});
    }
}

INSTANTIATE_TEST_SUITE_P(Names, PlayNumberCase,
                         ::testing::Values(PlayCase{"0NOLL", "Time", "TIME/0NOLL"},
                                           PlayCase{"0NOLL", "TIME", "TIME/0NOLL"},
                                           PlayCase{"5ganger6", "NUMBERS", "NUMBERS/5GANGER6"},
                                           PlayCase{"7div2a", "NUMBERS", "NUMBERS/7DIV2A"},
                                           PlayCase{"sjutonde", "ordinals", "ORDINALS/SJUTONDE"},
                                           PlayCase{"NOSUCH", "NUMBERS", ""},
                                           PlayCase{"N40", "TIME", ""}));

TEST(SpeechEngine, SpeaksTheClipsOfANumberOneAfterAnother) {
    const ClipStore& store = ClipStore::Embedded();
    RecordingClipPlayer player;
    SpeechEngine(store, player).SpeakNumber(31121);
    EXPECT_EQ(PlayedNames(player, store),
              (std::vector<std::string>{"NUMBERS/N30", "TIME/1ETT", "NUMBERS/N1000", "TIME/1ETT",
                                        "NUMBERS/N100", "NUMBERS/N20", "TIME/1ETT"}));
}

// Everyday speech: each clip in its everyday form, a lone clip clear; a store
// without the style says the whole number clear.
TEST(SpeechEngine, EverydayStyleSaysInnerFormsThenTheLastForm) {
    const ClipStore& store = ClipStore::Embedded();
    const ClipStore clear_only({store.Entries().begin(), store.Entries().end()});
    for (const ClipStore* voice : {&store, &clear_only}) {
        RecordingClipPlayer player;
        SpeechEngine engine(*voice, player, SpeechStyle::kEveryday);
        engine.SpeakNumber(31121);
        engine.PlayNumber("N30", "NUMBERS");
        std::vector<std::vector<std::uint8_t>> expected;
        // 31121 keeps every clip of NumberClips: said clear, each in its one recording.
        for (const EverydayClip& c : EverydayClips(31121)) {
            const ClipBytes bytes =
                store.LoadClip(c.clip, voice == &store ? c.form : ClipForm::kClear);
            ASSERT_FALSE(bytes.empty());
            expected.emplace_back(bytes.begin(), bytes.end());
        }
        const ClipBytes lone = store.LoadClip({"NUMBERS", "N30"});
        expected.emplace_back(lone.begin(), lone.end());
        EXPECT_EQ(player.Images(), expected);
    }
}

TEST(SpeechEngine, ReadNumberSpeaksTheSameAsSpeakNumber) {
    const ClipStore& store = ClipStore::Embedded();
    for (const int n : {0, 121, 1021, 99999}) {
        RecordingClipPlayer spoken, read;
        SpeechEngine(store, spoken).SpeakNumber(n);
        SpeechEngine(store, read).ReadNumber(n);
        EXPECT_EQ(read.Images(), spoken.Images()) << n;
        EXPECT_EQ(read.Images().size(), NumberClips(n).size()) << n;
    }
}

TEST(SpeechEngine, NumbersOutsideTheRangeSayNothing) {
    RecordingClipPlayer player;
    SpeechEngine engine(ClipStore::Embedded(), player);
    for (const int n : {-1, 100000, -2147483647 - 1, 2147483647}) {
        engine.ReadNumber(n);
    }
    EXPECT_TRUE(player.Images().empty());
}

// A player that never manages to play: every clip is still tried, in order.
TEST(SpeechEngine, GoesOnThroughEveryClipWhenThePlayerFails) {
    const ClipStore& store = ClipStore::Embedded();
    RecordingClipPlayer failing(false), working;
    for (const int n : {0, 1101, 31121, 99999}) {
        SpeechEngine(store, failing).SpeakNumber(n);
        SpeechEngine(store, working).SpeakNumber(n);
    }
    EXPECT_EQ(failing.Images(), working.Images());
    EXPECT_EQ(failing.Images().size(), 1u + 5u + 7u + 7u);
}

// A catalogue with every clip name of the real one, each holding only the
// voice's tag, so that what was played shows whose voice it was.
ClipStore TaggedVoice(const std::uint8_t* tag) {
    std::vector<ClipEntry> entries;
    for (const ClipEntry& entry : ClipStore::Embedded().Entries()) {
        entries.push_back({entry.Category, entry.Index, ClipBytes(tag, 1)});
    }
    return ClipStore(std::move(entries));
}

// With both voices each number or lone clip takes one draw, and every clip of
// a number is in the voice drawn for it; the same number again at once keeps
// its voice, so the quiz's Repeat sounds like the play it repeats; so does a
// clock time, price, phone number or year.
TEST(SpeechEngine, WithTwoVoicesANumberIsNeverSplitAndARepeatKeepsItsVoice) {
    static constexpr std::uint8_t kMale = 'M', kFemale = 'F';
    const ClipStore male = TaggedVoice(&kMale), female = TaggedVoice(&kFemale);
    std::string coin = "FMFMMF";  // the draws, in order
    RecordingClipPlayer player;
    SpeechEngine engine(VoicePicker({&male, &female},
                                    [&coin] {
                                        const bool second = coin.at(0) == 'F';
                                        coin.erase(0, 1);
                                        return second ? 1u : 0u;
                                    },
                                    {"male", "female"}),
                        player);
    EXPECT_EQ(engine.LastSaid().voice, "");        // nothing said yet
    engine.SpeakNumber(31121);                     // F
    engine.ReadNumber(31121);                      // the same number again: F, no draw
    EXPECT_EQ(engine.LastSaid().voice, "female");  // what a history row names
    engine.ReadNumber(99999);                      // M
    engine.PlayNumber("PLUS", "NUMBERS");          // F
    engine.ReadNumber(99999);                      // not right after itself: M
    engine.PlayNumber("PLUS", "NUMBERS");          // a lone clip draws again: M
    const Saying three = LifeSayings(LifeKind::kTime, "03:00", SpeechStyle::kClear).at(0);
    engine.SpeakSaying(three, SpeechStyle::kClear);  // klockan tre: F
    engine.SpeakSaying(three, SpeechStyle::kClear);  // again at once: F, no draw
    std::string heard;
    for (const auto& image : player.Images()) {
        heard += static_cast<char>(image.at(0));
    }
    EXPECT_EQ(heard,
              "FFFFFFF"
              "FFFFFFF"
              "MMMMMMM"
              "F"
              "MMMMMMM"
              "M"
              "FFFF");
    EXPECT_TRUE(coin.empty());
    EXPECT_EQ(engine.LastSaid().voice, "female");
}

}  // namespace
}  // namespace talmo
