// SPDX-License-Identifier: MIT
#include "reference_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>

#include "clip_store.h"
#include "wave_image.h"

namespace talmo {
namespace {

std::string Said(const ReferenceRow& row) {
    const ClipBytes clip =
        ClipStore::Embedded().LoadClip({std::string(row.Category), std::string(row.Clip)});
    return clip.empty() ? "<no clip " + std::string(row.Clip) + ">" : ReadInfoTexts(clip)["INAM"];
}

// Each entry's clip exists and says exactly the written form the page shows
// (for the ordinals, the caption of the button).
void ExpectClipsSayTheirText(std::span<const ReferenceRow> rows, bool by_caption) {
    std::set<std::string> captions;
    for (const ReferenceRow& row : rows) {
        EXPECT_EQ(Said(row), std::string(by_caption ? row.Caption : row.WrittenForm))
            << row.Caption;
        EXPECT_TRUE(captions.insert(std::string(row.Caption)).second) << "twice: " << row.Caption;
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
        EXPECT_EQ(kCardinalButtons[i].Caption, std::to_string(i));
        EXPECT_EQ(kCardinalButtons[i].Category, i <= 12 ? "TIME" : "NUMBERS");
    }
}

TEST(ReferenceTables, TheDecimalCommaIsReadKomma) {
    EXPECT_EQ(kExpressions[1].Caption, "7 ÷ 2 = 3,5");
    EXPECT_EQ(kExpressions[1].WrittenForm, "sju delat med två är lika med tre komma fem");
}

}  // namespace
}  // namespace talmo
