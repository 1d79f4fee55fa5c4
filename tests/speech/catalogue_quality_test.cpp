// The recordings themselves: format, silence, fades, level and pace, over the
// whole embedded catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "clip_store.h"
#include "wave_image.h"

namespace talmo {
namespace {

constexpr int kSilence = 328;           // -40 dBFS
constexpr std::size_t kMaxQuiet = 200;  // 25 ms
constexpr int kMaxEdge = 32;            // the fades reach (almost) zero
constexpr int kPeakLow = 16423;         // -6 dBFS
constexpr int kPeakHigh = 30934;        // -0.5 dBFS
constexpr std::size_t kFrame = 160;     // 20 ms
constexpr double kMaxSyllablesPerSecond = 4.5;

std::string Name(const ClipEntry& e) {
    return std::string(e.Category) + "/" + std::string(e.Index);
}

std::vector<std::int16_t> Samples(const ClipEntry& entry) {
    auto samples = DecodeClip(entry.Bytes);
    EXPECT_TRUE(samples.has_value()) << Name(entry);
    return samples.value_or(std::vector<std::int16_t>{});
}

// RMS in dBFS over the 20 ms frames that are not silent.
double VoicedRmsDb(const std::vector<std::int16_t>& s) {
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t at = 0; at + kFrame <= s.size(); at += kFrame) {
        double frame = 0;
        for (std::size_t i = at; i < at + kFrame; ++i) {
            frame += double(s[i]) * s[i];
        }
        if (std::sqrt(frame / kFrame) >= kSilence) {
            sum += frame;
            count += kFrame;
        }
    }
    return count == 0 ? -200.0 : 20 * std::log10(std::sqrt(sum / count) / 32768.0);
}

// Groups of vowels in the Swedish text, counting å, ä and ö (two bytes each in UTF-8).
int Syllables(const std::string& text) {
    static const std::regex kVowelGroup("([aeiouy]|\xc3\xa5|\xc3\xa4|\xc3\xb6)+");
    return static_cast<int>(std::distance(
        std::sregex_iterator(text.begin(), text.end(), kVowelGroup), std::sregex_iterator()));
}

TEST(ClipCatalogue, EveryClipHasTheExactClipLayout) {
    for (const ClipEntry& entry : ClipStore::Embedded().Entries()) {
        const ClipBytes b = entry.Bytes;
        ASSERT_GE(b.size(), kClipHeaderSize) << Name(entry);
        const auto chunks = ReadRiffChunks(b);
        ASSERT_TRUE(chunks.has_value()) << Name(entry);
        // fmt at 12, data at 36, then the LIST of INFO, and nothing else.
        ASSERT_EQ(chunks->size(), 3u) << Name(entry);
        EXPECT_EQ((*chunks)[0].Id, "fmt ");
        EXPECT_EQ((*chunks)[0].Offset, 12u);
        EXPECT_EQ((*chunks)[1].Id, "data");
        EXPECT_EQ((*chunks)[1].Offset, 36u) << Name(entry);
        EXPECT_EQ((*chunks)[1].Body.size() % 2, 0u);
        EXPECT_EQ((*chunks)[2].Id, "LIST");
        const std::vector<std::uint8_t> fmt((*chunks)[0].Body.begin(), (*chunks)[0].Body.end());
        EXPECT_EQ(fmt, (std::vector<std::uint8_t>{1, 0, 1, 0, 0x40, 0x1f, 0, 0, 0x80, 0x3e, 0, 0, 2,
                                                  0, 16, 0}))
            << Name(entry);
        const std::uint32_t riff = b[4] | (b[5] << 8) | (b[6] << 16) | (std::uint32_t(b[7]) << 24);
        EXPECT_EQ(riff + 8, b.size()) << Name(entry);
        const auto texts = ReadInfoTexts(b);
        EXPECT_FALSE(texts.count("INAM") == 0 || texts.at("INAM").empty()) << Name(entry);
        EXPECT_TRUE(texts.count("ICRD") == 1 &&
                    std::regex_match(texts.at("ICRD"), std::regex(R"(\d{4}-\d{2}-\d{2})")))
            << Name(entry);
    }
}

TEST(ClipCatalogue, ClipsStartAndEndOnTheWordWithShortFades) {
    for (const ClipEntry& entry : ClipStore::Embedded().Entries()) {
        const auto s = Samples(entry);
        ASSERT_FALSE(s.empty());
        const auto loud = [](std::int16_t v) { return std::abs(int(v)) >= kSilence; };
        const auto first = std::find_if(s.begin(), s.end(), loud);
        const auto last = std::find_if(s.rbegin(), s.rend(), loud);
        EXPECT_LE(std::size_t(first - s.begin()), kMaxQuiet) << Name(entry);
        EXPECT_LE(std::size_t(last - s.rbegin()), kMaxQuiet) << Name(entry);
        EXPECT_LE(std::abs(int(s.front())), kMaxEdge) << Name(entry);
        EXPECT_LE(std::abs(int(s.back())), kMaxEdge) << Name(entry);
        // Half a millisecond in, the fade has not yet let the full signal through.
        EXPECT_LE(std::abs(int(s[2])), 8000) << Name(entry);
    }
}

TEST(ClipCatalogue, PeaksAreHealthyAndNothingClips) {
    for (const ClipEntry& entry : ClipStore::Embedded().Entries()) {
        const auto s = Samples(entry);
        int peak = 0;
        for (const std::int16_t v : s) {
            peak = std::max(peak, std::abs(int(v)));
        }
        EXPECT_GE(peak, kPeakLow) << Name(entry);
        EXPECT_LE(peak, kPeakHigh) << Name(entry);
    }
}

// A number is built from several of these words, so they must sound equally loud.
TEST(ClipCatalogue, NumberWordsAreEquallyLoud) {
    std::vector<std::string> words{"0NOLL", "1ETT",  "2TVA", "3TRE",  "4FYRA",  "5FEM",  "6SEX",
                                   "7SJU",  "8ATTA", "9NIO", "10TIO", "11ELVA", "12TOLV"};
    for (int n = 13; n <= 29; ++n) {
        words.push_back("N" + std::to_string(n));
    }
    for (int n = 30; n <= 90; n += 10) {
        words.push_back("N" + std::to_string(n));
    }
    words.push_back("N100");
    words.push_back("N1000");
    ASSERT_EQ(words.size(), 39u);
    double quietest = 0, loudest = -200;
    for (const std::string& word : words) {
        const ClipRef ref{word.front() == 'N' ? "NUMBERS" : "TIME", word};
        const auto image = ClipStore::Embedded().LoadClip(ref);
        ASSERT_FALSE(image.empty()) << word;
        const double db = VoicedRmsDb(*DecodeClip(image));
        quietest = std::min(quietest, db);
        loudest = std::max(loudest, db);
    }
    EXPECT_LE(loudest - quietest, 3.0) << "quietest " << quietest << " dBFS, loudest " << loudest;
}

TEST(ClipCatalogue, SpeakingRateALearnerCanFollow) {
    for (const ClipEntry& entry : ClipStore::Embedded().Entries()) {
        const auto s = Samples(entry);
        const std::string text = ReadInfoTexts(entry.Bytes)["INAM"];
        const double seconds = double(s.size()) / kClipSampleRate;
        EXPECT_LE(Syllables(text) / seconds, kMaxSyllablesPerSecond) << Name(entry) << " " << text;
        EXPECT_LE(seconds, 4.6) << Name(entry);
    }
}

}  // namespace
}  // namespace talmo
