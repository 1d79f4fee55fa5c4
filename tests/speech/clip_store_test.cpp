// SPDX-License-Identifier: MIT
#include "speech/clip_store.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>
#include <string>

#include "speech/clip_lookup.h"
#include "speech/speech_engine.h"
#include "speech/voice.h"
#include "speech/wave_image.h"
#include "tests/support/recording_clip_player.h"

namespace talmo {
namespace {

const std::array<std::uint8_t, 6> kNoll{1, 2, 3, 4, 5, 6};
const std::array<std::uint8_t, 4> kGanger{7, 8, 9, 10};
const std::array<std::uint8_t, 3> kForsta{11, 12, 13};

ClipStore SmallStore() {
    return ClipStore({{"TIME", "0NOLL", kNoll},
                      {"NUMBERS", "5GANGER6", kGanger},
                      {"ORDINALS", "FORSTA", kForsta}});
}

struct LookupCase {
    ClipRef ref;
    const std::uint8_t* expected;  // nullptr: no such clip
};

class ClipStoreLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ClipStoreLookup, MatchesBothTextsIgnoringCase) {
    const ClipStore store = SmallStore();
    const ClipBytes bytes = store.LoadClip(GetParam().ref);
    if (GetParam().expected == nullptr) {
        EXPECT_TRUE(bytes.empty());
    } else {
        // The very bytes of the entry: nothing copied, nothing changed.
        EXPECT_EQ(bytes.data(), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, ClipStoreLookup,
                         ::testing::Values(LookupCase{{"TIME", "0NOLL"}, kNoll.data()},
                                           LookupCase{{"Time", "0NOLL"}, kNoll.data()},
                                           LookupCase{{"time", "0noll"}, kNoll.data()},
                                           LookupCase{{"NUMBERS", "5ganger6"}, kGanger.data()},
                                           LookupCase{{"Ordinals", "Forsta"}, kForsta.data()},
                                           LookupCase{{"NUMBERS", "0NOLL"}, nullptr},
                                           LookupCase{{"TIME", "0NOLLX"}, nullptr},
                                           LookupCase{{"TIME", "0NOL"}, nullptr},
                                           LookupCase{{"", ""}, nullptr},
                                           // Only ASCII letters fold: these are other names.
                                           LookupCase{{"ORDINALS", "F\xc3\x96RSTA"}, nullptr}));

TEST(ClipStore, HandsOverTheWholeEntryWithItsPadding) {
    const ClipBytes clip = ClipStore::Embedded().LoadClip({"TIME", "1ETT"});
    std::vector<std::uint8_t> padded(clip.begin(), clip.end());
    padded.push_back(0);
    padded.push_back(0);
    const ClipStore store({{"TIME", "1ETT", padded}});
    RecordingClipPlayer player;
    SpeechEngine(store, player).PlayNumber("1ett", "time");
    ASSERT_EQ(player.Images().size(), 1u);
    EXPECT_EQ(player.Images()[0], padded);
    // ... and the padded image still decodes as the clip it holds.
    EXPECT_EQ(DecodeClip(padded), DecodeClip(clip));
}

std::string ReadCatalogueList() {
    std::ifstream file(TALMO_CLIP_CATALOGUE);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class EmbeddedCatalogue : public ::testing::TestWithParam<std::string> {};

// Every row of the catalogue list is embedded in each voice, says the text it
// lists, and is that voice's own recording.
TEST_P(EmbeddedCatalogue, HoldsEveryListedClipWithItsText) {
    const ClipStore& store = FindVoice(GetParam())->clips;
    std::istringstream lines(ReadCatalogueList());
    std::string line;
    int rows = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        std::string category, name, text;
        std::getline(fields, category, '\t');
        std::getline(fields, name, '\t');
        std::getline(fields, text);
        const ClipBytes bytes = store.LoadClip({category, name});
        ASSERT_FALSE(bytes.empty()) << category << "/" << name;
        EXPECT_EQ(ReadInfoTexts(bytes)["INAM"], text) << category << "/" << name;
        for (const VoiceInfo& other : EmbeddedVoices()) {
            EXPECT_TRUE(other.name == GetParam() ||
                        DecodeClip(bytes) != DecodeClip(other.clips.LoadClip({category, name})))
                << category << "/" << name << " is the same recording in " << other.name;
        }
        ++rows;
    }
    EXPECT_GT(rows, 0);
    // ... and nothing else is.
    EXPECT_EQ(store.Entries().size(), static_cast<std::size_t>(rows));
}

// The clips the program names, in the letter case it names them.
TEST_P(EmbeddedCatalogue, ResolvesEveryClipTheProgramNames) {
    const ClipStore& store = FindVoice(GetParam())->clips;
    for (int n = -1; n <= 100; ++n) {
        for (const auto& clip : {SmallNumberClip(n), TensClip(n)}) {
            if (clip) {
                EXPECT_FALSE(store.LoadClip(*clip).empty()) << clip->Category << "/" << clip->Index;
            }
        }
    }
    const std::vector<ClipRef> named{
        {"NUMBERS", "N100"},           {"NUMBERS", "N1000"},          {"NUMBERS", "N101"},
        {"NUMBERS", "N200"},           {"NUMBERS", "N10000"},         {"NUMBERS", "N100000"},
        {"NUMBERS", "N2MILJONER"},     {"NUMBERS", "7MILJARDER"},     {"NUMBERS", "ENHALV"},
        {"NUMBERS", "TVATREDJEDELAR"}, {"NUMBERS", "TREFJARDEDELAR"}, {"NUMBERS", "SJUATTONDELAR"},
        {"NUMBERS", "PLUS"},           {"NUMBERS", "MINUS"},          {"NUMBERS", "DELATMED"},
        {"NUMBERS", "GANGER"},         {"NUMBERS", "LIKAMED"},        {"NUMBERS", "5ganger6"},
        {"NUMBERS", "7div2a"},         {"NUMBERS", "7div2b"},         {"ORDINALS", "FORSTA"},
        {"ORDINALS", "SJUTONDE"},      {"ORDINALS", "NITONDE"},       {"ORDINALS", "TJUGONDE"}};
    for (const ClipRef& clip : named) {
        EXPECT_FALSE(store.LoadClip(clip).empty()) << clip.Category << "/" << clip.Index;
    }
}

INSTANTIATE_TEST_SUITE_P(Voices, EmbeddedCatalogue, ::testing::ValuesIn(VoiceNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace talmo
