// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

// Every clip is PCM, mono, 16-bit at this rate.
inline constexpr int kClipSampleRate = 8000;
inline constexpr std::size_t kClipHeaderSize = 44;

// The body of a clip's "fmt " chunk, which says exactly that: PCM, one
// channel, 8000 Hz, 16000 bytes a second, 2 bytes a frame, 16 bits.
inline constexpr std::array<std::uint8_t, 16> kClipFormatBlock{1,    0,    1, 0, 0x40, 0x1f, 0,  0,
                                                               0x80, 0x3e, 0, 0, 2,    0,    16, 0};
static_assert(kClipFormatBlock[4] + 256 * kClipFormatBlock[5] == kClipSampleRate);

// The top-level chunks of a RIFF WAVE image, as views into it.
struct RiffChunk {
    std::string_view id;
    std::span<const std::uint8_t> body;
    std::size_t offset;  // of the chunk header within the image
};

// The chunks in order, or nothing when the image is not a RIFF WAVE image or
// a chunk runs past its end. Bytes after the RIFF image (padding) are ignored.
std::optional<std::vector<RiffChunk>> ReadRiffChunks(std::span<const std::uint8_t> image);

// The "INFO" texts of the image's "LIST" chunk, such as "INAM" and "ICRD",
// without their terminating NUL.
std::map<std::string, std::string> ReadInfoTexts(std::span<const std::uint8_t> image);

// The samples of a clip. Nothing when the image is not exactly a clip: PCM
// 16-bit, one channel, kClipSampleRate, at least one frame, and its sample
// data whole (a truncated image is refused).
std::optional<std::vector<std::int16_t>> DecodeClip(std::span<const std::uint8_t> image);

// A WAVE image in the clip format: the 44-byte header, the samples, then a
// "LIST"/"INFO" chunk holding the given texts (four-letter ids).
std::vector<std::uint8_t> EncodeClip(std::span<const std::int16_t> samples,
                                     const std::map<std::string, std::string>& info);

}  // namespace talmo
