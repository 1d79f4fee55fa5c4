#pragma once

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

// The top-level chunks of a RIFF WAVE image, as views into it.
struct RiffChunk {
    std::string_view Id;
    std::span<const std::uint8_t> Body;
    std::size_t Offset;  // of the chunk header within the image
};

// The chunks in order, or nothing when the image is not a RIFF WAVE image or
// a chunk runs past its end. Bytes after the RIFF image (padding) are ignored.
std::optional<std::vector<RiffChunk>> ReadRiffChunks(std::span<const std::uint8_t> image);

// The "INFO" texts of the image's "LIST" chunk, such as "INAM" and "ICRD",
// without their terminating NUL.
std::map<std::string, std::string> ReadInfoTexts(std::span<const std::uint8_t> image);

// The samples of a clip, decoded by libsndfile from memory. Nothing when the
// image is not exactly a clip: PCM 16-bit, one channel, kClipSampleRate, at
// least one frame, and its sample data whole (a truncated image is refused).
std::optional<std::vector<std::int16_t>> DecodeClip(std::span<const std::uint8_t> image);

// A WAVE image in the clip format: the 44-byte header, the samples, then a
// "LIST"/"INFO" chunk holding the given texts (four-letter ids).
std::vector<std::uint8_t> EncodeClip(std::span<const std::int16_t> samples,
                                     const std::map<std::string, std::string>& info);

}  // namespace talmo
