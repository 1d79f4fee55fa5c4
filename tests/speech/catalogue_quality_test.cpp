// SPDX-License-Identifier: MIT
// The recordings themselves: format, loudness, onsets and endings, silence and
// pace, over the whole embedded catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numbers>
#include <regex>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "speech/clip_store.h"
#include "speech/number_speaker.h"
#include "speech/voice.h"
#include "speech/wave_image.h"

namespace talmo {
namespace {

constexpr double kSilence = 328;        // -40 dBFS: quieter samples are not sound
constexpr std::size_t kMaxQuiet = 200;  // 25 ms
constexpr int kPeakLow = 16423;         // -6 dBFS
constexpr int kPeakHigh = 29204;        // -1 dBFS, which leaves no room for a clipped sample
constexpr double kTargetDb = -15.0;     // the number words' median K-weighted level
constexpr double kMaxSyllablesPerSecond = 4.5;
// Unstressed in tools/voice/pronunciation.tsv: as quick as everyday speech at most.
const std::set<std::string> kClitics{"LIFE/I", "LIFE/OCH", "LIFE/OVER"};
constexpr double kMaxCliticSyllablesPerSecond = 7.0;
constexpr std::size_t kMs = kClipSampleRate / 1000;

// Clips whose last sound is a voiceless stop burst or an [s]: that noise ends
// without the decay a voiced ending has, so the ending bar does not apply.
// Add a clip as "CATEGORY/NAME" only after listening to its ending.
const std::set<std::string> kEndsOnBurstOrS{};

// Levels are dB relative to a mean square of 32768^2, so a square wave at full
// scale reads 0 dB and a full-scale sine -3.01 dB (no LUFS offset is applied).
double Db(double meanSquare) {
    return 10 * std::log10(meanSquare / (32768.0 * 32768.0));
}

struct Biquad {
    double b0, b1, b2, a1, a2;  // a0 normalised to 1
};

// BS.1770 K-weighting for any sample rate, since the published coefficients
// are for 48 kHz: each stage is its analog prototype taken through the
// bilinear transform pre-warped at its own corner frequency.
Biquad KShelf(double fs) {
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    const double k = std::tan(std::numbers::pi * f0 / fs);
    const double vh = std::pow(10.0, gainDb / 20);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
}

// Unlike the published table, the numerator is normalised too, so the gain is
// exactly 1 at Nyquist as in the prototype (at 8 kHz the difference is 0.26 dB).
Biquad KHighPass(double fs) {
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan(std::numbers::pi * f0 / fs);
    const double a0 = 1 + k / q + k * k;
    return {1 / a0, -2 / a0, 1 / a0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
}

std::vector<double> Filter(const Biquad& f, std::vector<double> x) {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : x) {
        const double y = f.b0 * v + f.b1 * x1 + f.b2 * x2 - f.a1 * y1 - f.a2 * y2;
        x2 = x1;
        x1 = v;
        y2 = y1;
        y1 = y;
        v = y;
    }
    return x;
}

double MeanSquare(std::span<const double> x) {
    double sum = 0;
    for (const double v : x) {
        sum += v * v;
    }
    return x.empty() ? 0 : sum / x.size();
}

// The largest mean square of `width` consecutive samples, sliding one sample
// at a time; the whole signal when it is shorter.
double LoudestMeanSquare(std::span<const double> x, std::size_t width) {
    width = std::min(width, x.size());
    double sum = MeanSquare(x.first(width)) * width;
    double best = sum;
    for (std::size_t i = width; i < x.size(); ++i) {
        sum += x[i] * x[i] - x[i - width] * x[i - width];
        best = std::max(best, sum);
    }
    return width == 0 ? 0 : best / width;
}

// Loudness as heard: the loudest 100 ms after K-weighting.
double KLevelDb(const std::vector<double>& samples) {
    const double fs = kClipSampleRate;
    return Db(LoudestMeanSquare(Filter(KHighPass(fs), Filter(KShelf(fs), samples)), 100 * kMs));
}

// Groups of vowels in the Swedish text, counting å, ä and ö (two bytes each in UTF-8).
int Syllables(const std::string& text) {
    static const std::regex kVowelGroup("([aeiouy]|\xc3\xa5|\xc3\xa4|\xc3\xb6)+");
    return static_cast<int>(std::distance(
        std::sregex_iterator(text.begin(), text.end(), kVowelGroup), std::sregex_iterator()));
}

std::string Upper(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

std::string Name(const ClipEntry& e) {
    return std::string(e.Category) + "/" + std::string(e.Index);
}

// What the bars look at, measured once per clip.
struct Measured {
    std::string name;  // CATEGORY/NAME
    std::string text;  // INAM
    std::size_t length = 0;
    std::size_t lead = 0, trail = 0;  // samples of silence before and after the sound
    int peak = 0;
    double kLevelDb = 0;
    double loudestDb = 0;  // the loudest 50 ms, unweighted
    double onsetDb = 0;    // the first 5 ms of sound
    double endingDb = 0;   // the last 10 ms of sound

    double SoundSeconds() const {
        return double(length - std::min(length, lead + trail)) / kClipSampleRate;
    }
};

Measured Measure(const ClipEntry& entry) {
    const auto decoded = DecodeClip(entry.bytes).value_or(std::vector<std::int16_t>{});
    const std::vector<double> s(decoded.begin(), decoded.end());
    Measured m;
    m.name = Name(entry);
    m.text = ReadInfoTexts(entry.bytes)["INAM"];
    m.length = s.size();
    const auto sound = [](double v) { return std::abs(v) >= kSilence; };
    m.lead = std::size_t(std::find_if(s.begin(), s.end(), sound) - s.begin());
    m.trail = std::size_t(std::find_if(s.rbegin(), s.rend(), sound) - s.rbegin());
    for (const double v : s) {
        m.peak = std::max(m.peak, int(std::abs(v)));
    }
    m.kLevelDb = KLevelDb(s);
    m.loudestDb = Db(LoudestMeanSquare(s, 50 * kMs));
    if (m.lead < s.size()) {
        const std::span<const double> voice(s.begin() + m.lead, s.end() - m.trail);
        m.onsetDb = Db(MeanSquare(voice.first(std::min(voice.size(), 5 * kMs))));
        m.endingDb = Db(MeanSquare(voice.last(std::min(voice.size(), 10 * kMs))));
    }
    return m;
}

const std::vector<Measured>& Catalogue(const std::string& voice) {
    static std::map<std::string, std::vector<Measured>> voices;
    auto [it, added] = voices.try_emplace(voice);
    if (added) {
        for (const ClipEntry& entry : FindVoice(voice)->clips.Entries()) {
            it->second.push_back(Measure(entry));
        }
    }
    return it->second;
}

// The words numbers are built from, as the number speaker uses them.
std::vector<const Measured*> NumberWords(const std::string& voice) {
    std::set<std::string> names;
    for (int n = 0; n <= kLargestSpokenNumber; ++n) {
        for (const ClipRef& ref : NumberClips(n)) {
            names.insert(Upper(ref.Category + "/" + ref.Index));
        }
    }
    std::vector<const Measured*> words;
    for (const Measured& m : Catalogue(voice)) {
        if (names.count(Upper(m.name)) != 0) {
            words.push_back(&m);
        }
    }
    EXPECT_EQ(words.size(), names.size()) << "the catalogue lacks clips the number speaker uses";
    return words;
}

double MedianKLevelDb(const std::vector<const Measured*>& clips) {
    std::vector<double> levels;
    for (const Measured* m : clips) {
        levels.push_back(m->kLevelDb);
    }
    std::sort(levels.begin(), levels.end());
    const std::size_t n = levels.size();
    return n == 0 ? -200.0 : (levels[(n - 1) / 2] + levels[n / 2]) / 2;
}

TEST(ClipCatalogue, KWeightingReproducesTheCoefficientsPublishedFor48kHz) {
    const Biquad shelf = KShelf(48000);
    EXPECT_NEAR(shelf.b0, 1.53512485958697, 1e-9);
    EXPECT_NEAR(shelf.b1, -2.69169618940638, 1e-9);
    EXPECT_NEAR(shelf.b2, 1.19839281085285, 1e-9);
    EXPECT_NEAR(shelf.a1, -1.69065929318241, 1e-9);
    EXPECT_NEAR(shelf.a2, 0.73248077421585, 1e-9);
    const Biquad highPass = KHighPass(48000);
    EXPECT_NEAR(highPass.a1, -1.99004745483398, 1e-9);
    EXPECT_NEAR(highPass.a2, 0.99007225036621, 1e-9);
}

struct Tone {
    double hz;
    double db;
};

void PrintTo(const Tone& t, std::ostream* os) {
    *os << t.hz << " Hz";
}

class KWeightedLevel : public ::testing::TestWithParam<Tone> {};

// One second of tone, faded in over 100 ms so that the high-pass's start-up
// transient does not make the loudest window.
TEST_P(KWeightedLevel, OfAFullScaleSineAt8kHz) {
    std::vector<double> sine(kClipSampleRate);
    const double fadeIn = 100 * kMs;
    for (std::size_t i = 0; i < sine.size(); ++i) {
        const double gain =
            (1 - std::cos(std::numbers::pi * std::min(double(i), fadeIn) / fadeIn)) / 2;
        sine[i] = std::round(
            32767 * gain *
            std::sin(2 * std::numbers::pi * GetParam().hz * double(i) / kClipSampleRate));
    }
    EXPECT_NEAR(KLevelDb(sine), GetParam().db, 0.01);
}

// -3.01 dB for the sine plus the gain of the analog prototypes at
// tan(pi f / 8000) / tan(pi f0 / 8000), where the bilinear transform puts f.
// The warp leaves 1 kHz +0.45 dB up at this rate rather than +0.69 dB.
INSTANTIATE_TEST_SUITE_P(ClipCatalogue, KWeightedLevel,
                         ::testing::Values(Tone{100, -4.186}, Tone{1000, -2.558},
                                           Tone{3000, 0.961}));

// Every voice's recordings are held to the same bars.
class VoiceCatalogue : public ::testing::TestWithParam<std::string> {};

TEST_P(VoiceCatalogue, EveryClipHasTheExactClipLayout) {
    for (const ClipEntry& entry : FindVoice(GetParam())->clips.Entries()) {
        const ClipBytes b = entry.bytes;
        ASSERT_GE(b.size(), kClipHeaderSize) << Name(entry);
        const auto chunks = ReadRiffChunks(b);
        ASSERT_TRUE(chunks.has_value()) << Name(entry);
        // fmt at 12, data at 36, then the LIST of INFO, and nothing else.
        ASSERT_EQ(chunks->size(), 3u) << Name(entry);
        EXPECT_EQ((*chunks)[0].id, "fmt ");
        EXPECT_EQ((*chunks)[0].offset, 12u);
        EXPECT_EQ((*chunks)[1].id, "data");
        EXPECT_EQ((*chunks)[1].offset, 36u) << Name(entry);
        EXPECT_EQ((*chunks)[1].body.size() % 2, 0u);
        EXPECT_EQ((*chunks)[2].id, "LIST");
        const std::vector<std::uint8_t> fmt((*chunks)[0].body.begin(), (*chunks)[0].body.end());
        EXPECT_EQ(fmt, std::vector<std::uint8_t>(kClipFormatBlock.begin(), kClipFormatBlock.end()))
            << Name(entry);
        const std::uint32_t riff = b[4] | (b[5] << 8) | (b[6] << 16) | (std::uint32_t(b[7]) << 24);
        EXPECT_EQ(riff + 8, b.size()) << Name(entry);
        EXPECT_TRUE(DecodeClip(b).has_value()) << Name(entry);
        const auto texts = ReadInfoTexts(b);
        EXPECT_FALSE(texts.count("INAM") == 0 || texts.at("INAM").empty()) << Name(entry);
        EXPECT_TRUE(texts.count("ICRD") == 1 &&
                    std::regex_match(texts.at("ICRD"), std::regex(R"(\d{4}-\d{2}-\d{2})")))
            << Name(entry);
        // The recording tool may sign its work in ISFT; nothing else belongs there.
        for (const auto& [id, text] : texts) {
            EXPECT_TRUE(id == "INAM" || id == "ICRD" || id == "ISFT")
                << Name(entry) << " carries " << id << " \"" << text << "\"";
        }
    }
}

// A number is built from several of these words, so they must sound equally loud.
TEST_P(VoiceCatalogue, NumberWordsSoundEquallyLoudAtTheTargetLevel) {
    const auto words = NumberWords(GetParam());
    ASSERT_FALSE(words.empty());
    const double median = MedianKLevelDb(words);
    EXPECT_NEAR(median, kTargetDb, 0.5) << "median K-weighted level of the number words";
    for (const Measured* m : words) {
        EXPECT_NEAR(m->kLevelDb, median, 1.0)
            << m->name << " reads " << m->kLevelDb << " dB against the median " << median;
    }
}

TEST_P(VoiceCatalogue, EveryClipSoundsAsLoudAsTheNumberWords) {
    const double median = MedianKLevelDb(NumberWords(GetParam()));
    for (const Measured& m : Catalogue(GetParam())) {
        EXPECT_NEAR(m.kLevelDb, median, 1.5)
            << m.name << " reads " << m.kLevelDb << " dB against the number words' " << median;
    }
}

TEST_P(VoiceCatalogue, PeaksAreHealthyAndNothingClips) {
    for (const Measured& m : Catalogue(GetParam())) {
        EXPECT_GE(m.peak, kPeakLow) << m.name << " peaks at " << m.peak;
        EXPECT_LE(m.peak, kPeakHigh)
            << m.name << " peaks at " << m.peak << (m.peak >= 32767 ? ", clipped" : "");
    }
}

// A voice that is cut off and faded out in a few milliseconds is still near
// full level just before its last audible sample; a natural ending has died
// away by then.
TEST_P(VoiceCatalogue, EndingsDecayInTheVoiceItself) {
    for (const Measured& m : Catalogue(GetParam())) {
        if (kEndsOnBurstOrS.count(m.name) == 0) {
            EXPECT_GE(m.loudestDb - m.endingDb, 20.0)
                << m.name << ": its last 10 ms of sound are only " << m.loudestDb - m.endingDb
                << " dB below its loudest 50 ms";
        }
    }
}

// Measured from the first audible sample, so leading silence cannot hide an
// abrupt start: a clip that opens at full level has its first 5 ms about as
// loud as its loudest 50 ms, while one whose sound builds up gradually (over
// 6 ms or more, for a straight ramp from zero) is at least 6 dB quieter there.
TEST_P(VoiceCatalogue, OnsetsRiseOverAtLeastFiveMilliseconds) {
    for (const Measured& m : Catalogue(GetParam())) {
        EXPECT_GE(m.loudestDb - m.onsetDb, 6.0)
            << m.name << ": its first 5 ms of sound are only " << m.loudestDb - m.onsetDb
            << " dB below its loudest 50 ms";
    }
}

TEST_P(VoiceCatalogue, ClipsStartAndEndOnTheWord) {
    for (const Measured& m : Catalogue(GetParam())) {
        EXPECT_LE(m.lead, kMaxQuiet)
            << m.name << " opens with " << m.lead / double(kMs) << " ms of silence";
        EXPECT_LE(m.trail, kMaxQuiet)
            << m.name << " ends with " << m.trail / double(kMs) << " ms of silence";
    }
}

TEST_P(VoiceCatalogue, SpeakingRateALearnerCanFollow) {
    for (const Measured& m : Catalogue(GetParam())) {
        EXPECT_LE(Syllables(m.text) / m.SoundSeconds(),
                  kClitics.count(m.name) ? kMaxCliticSyllablesPerSecond : kMaxSyllablesPerSecond)
            << m.name << " \"" << m.text << "\": " << Syllables(m.text) << " syllables in "
            << m.SoundSeconds() << " s of sound";
        EXPECT_LE(double(m.length) / kClipSampleRate, 4.6) << m.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Voices, VoiceCatalogue, ::testing::ValuesIn(VoiceNames()),
                         [](const auto& info) { return info.param; });

// A learner with all voices hears each as loud as the first.
TEST_P(VoiceCatalogue, IsLevelWithTheFirstVoice) {
    EXPECT_NEAR(MedianKLevelDb(NumberWords(GetParam())),
                MedianKLevelDb(NumberWords(VoiceNames().front())), 0.5);
}

}  // namespace
}  // namespace talmo
