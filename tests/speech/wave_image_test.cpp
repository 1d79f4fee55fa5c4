// SPDX-License-Identifier: MIT
#include "speech/wave_image.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "speech/clip_store.h"

namespace talmo {
namespace {

std::vector<std::uint8_t> Clip() {
    const ClipBytes bytes = ClipStore::Embedded().LoadClip({"TIME", "7SJU"});
    return {bytes.begin(), bytes.end()};
}

void Put16(std::vector<std::uint8_t>& image, std::size_t at, std::uint16_t v) {
    image[at] = static_cast<std::uint8_t>(v);
    image[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        image[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

TEST(DecodeClip, DecodesAStoredClip) {
    const auto image = Clip();
    const auto samples = DecodeClip(image);
    ASSERT_TRUE(samples.has_value());
    const std::uint32_t data_bytes = image[40] | (image[41] << 8) | (image[42] << 16) |
                                     (static_cast<std::uint32_t>(image[43]) << 24);
    ASSERT_EQ(samples->size() * 2, data_bytes);
    // The samples are the bytes after the header, unchanged.
    for (std::size_t i = 0; i < samples->size(); ++i) {
        ASSERT_EQ(static_cast<std::uint16_t>((*samples)[i]),
                  image[44 + 2 * i] | (image[45 + 2 * i] << 8));
    }
}

struct Damage {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> apply;
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.name;
}

class DecodeClipRefuses : public ::testing::TestWithParam<Damage> {};

TEST_P(DecodeClipRefuses, AnImageThatIsNotExactlyAClip) {
    auto image = Clip();
    GetParam().apply(image);
    EXPECT_FALSE(DecodeClip(image).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Images, DecodeClipRefuses,
    ::testing::Values(Damage{"Empty", [](auto& im) { im.clear(); }},
                      Damage{"HeaderOnly", [](auto& im) { im.resize(44); }},
                      // Cut inside the samples, with the RIFF length mended so only the data
                      // chunk is short: it must not play as a shorter clip.
                      Damage{"TruncatedSamples",
                             [](auto& im) {
                                 im.resize(44 + 200);
                                 Put32(im, 4, static_cast<std::uint32_t>(im.size() - 8));
                             }},
                      Damage{"TruncatedImage", [](auto& im) { im.resize(im.size() / 2); }},
                      Damage{"NotRiff", [](auto& im) { im[0] = 'X'; }},
                      Damage{"NotWave", [](auto& im) { im[8] = 'X'; }},
                      Damage{"OtherRate",
                             [](auto& im) {
                                 Put32(im, 24, 22050);
                                 Put32(im, 28, 44100);
                             }},
                      Damage{"Stereo",
                             [](auto& im) {
                                 Put16(im, 22, 2);
                                 Put32(im, 28, 32000);
                                 Put16(im, 32, 4);
                             }},
                      Damage{"EightBit",
                             [](auto& im) {
                                 Put32(im, 28, 8000);
                                 Put16(im, 32, 1);
                                 Put16(im, 34, 8);
                             }},
                      Damage{"NoSamples",
                             [](auto& im) {
                                 im.resize(44);
                                 Put32(im, 40, 0);
                                 Put32(im, 4, 36);
                             }},
                      Damage{"Noise",
                             [](auto& im) {
                                 for (std::size_t i = 0; i < im.size(); ++i) {
                                     im[i] = static_cast<std::uint8_t>(i * 7919 % 251);
                                 }
                             }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncodeClip, WritesTheClipFormatThatDecodesBack) {
    const std::vector<std::int16_t> samples{0, 1, -1, 32767, -32768, 1234, -4321};
    const auto image = EncodeClip(samples, {{"INAM", "tjugoett"}, {"ICRD", "2026-12-07"}});
    const std::vector<std::uint8_t> header{
        'R', 'I', 'F', 'F', 0,  0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
        ' ', 16,  0,   0,   0,  1, 0,   1,   0,   0x40, 0x1f, 0,   0,   0x80, 0x3e,
        0,   0,   2,   0,   16, 0, 'd', 'a', 't', 'a',  14,   0,   0,   0};
    ASSERT_GE(image.size(), header.size());
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (i < 4 || i >= 8) {
            EXPECT_EQ(image[i], header[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(image.size() % 2, 0u);
    const auto chunks = ReadRiffChunks(image);
    ASSERT_TRUE(chunks.has_value());
    ASSERT_EQ(chunks->size(), 3u);
    EXPECT_EQ((*chunks)[0].id, "fmt ");
    EXPECT_EQ((*chunks)[1].id, "data");
    EXPECT_EQ((*chunks)[2].id, "LIST");
    EXPECT_EQ(DecodeClip(image), samples);
    const auto texts = ReadInfoTexts(image);
    EXPECT_EQ(texts.at("INAM"), "tjugoett");
    EXPECT_EQ(texts.at("ICRD"), "2026-12-07");
}

}  // namespace
}  // namespace talmo
