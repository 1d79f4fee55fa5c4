// SPDX-License-Identifier: MIT
#include "reference/reference_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>

#include "speech/clip_store.h"
#include "speech/wave_image.h"

namespace talmo {
namespace {

std::string Said(const ReferenceRow& row) {
    const ClipBytes clip =
        ClipStore::Embedded().LoadClip({std::string(row.category), std::string(row.clip)});
    return clip.empty() ? "<no clip " + std::string(row.clip) + ">" : ReadInfoTexts(clip)["INAM"];
}

// Each entry's clip exists and says exactly the written form the page shows
// (for the ordinals, the caption of the button).
void ExpectClipsSayTheirText(std::span<const ReferenceRow> rows, bool by_caption) {
    std::set<std::string> captions;
    for (const ReferenceRow& row : rows) {
        EXPECT_EQ(Said(row), std::string(by_caption ? row.caption : row.written_form))
            << row.caption;
        EXPECT_TRUE(captions.insert(std::string(row.caption)).second) << "twice: " << row.caption;
    }
}

TEST(ReferenceTables, EveryClipSaysWhatThePageShows) {
    ExpectClipsSayTheirText(kCardinalButtons, false);
    ExpectClipsSayTheirText(kCardinalList, false);
    ExpectClipsSayTheirText(kFractions, false);
    ExpectClipsSayTheirText(kOrdinals, true);
    ExpectClipsSayTheirText(kOperators, false);
    ExpectClipsSayTheirText(kExpressions, false);
}

TEST(ReferenceTables, ButtonCaptionsAreTheirIndexes) {
    for (std::size_t i = 0; i < kCardinalButtons.size(); ++i) {
        EXPECT_EQ(kCardinalButtons[i].caption, std::to_string(i));
        EXPECT_EQ(kCardinalButtons[i].category, i <= 12 ? "TIME" : "NUMBERS");
    }
}

TEST(ReferenceTables, TheDecimalCommaIsReadKomma) {
    EXPECT_EQ(kExpressions[1].caption, "7 ÷ 2 = 3,5");
    EXPECT_EQ(kExpressions[1].written_form, "sju delat med två är lika med tre komma fem");
}

}  // namespace
}  // namespace talmo
