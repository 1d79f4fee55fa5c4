// SPDX-License-Identifier: MIT
#include "speech/wave_image.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace talmo {
namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::string_view Tag(std::span<const std::uint8_t> bytes, std::size_t at) {
    return {reinterpret_cast<const char*>(bytes.data() + at), 4};
}

void AppendU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xff));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xff));
    }
}

void AppendTag(std::vector<std::uint8_t>& out, std::string_view tag) {
    out.insert(out.end(), tag.begin(), tag.begin() + 4);
}

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xff);
    }
}

}  // namespace

std::optional<std::vector<RiffChunk>> ReadRiffChunks(std::span<const std::uint8_t> image) {
    if (image.size() < 12 || Tag(image, 0) != "RIFF" || Tag(image, 8) != "WAVE") {
        return std::nullopt;
    }
    const std::uint64_t riff_end = std::uint64_t{ReadU32(image, 4)} + 8;
    if (riff_end > image.size()) {
        return std::nullopt;
    }
    std::vector<RiffChunk> chunks;
    std::size_t at = 12;
    while (at + 8 <= riff_end) {
        const std::uint64_t length = ReadU32(image, at + 4);
        if (at + 8 + length > riff_end) {
            return std::nullopt;
        }
        chunks.push_back({Tag(image, at), image.subspan(at + 8, length), at});
        at += 8 + length + (length & 1);  // chunks are word-aligned
    }
    return chunks;
}

std::map<std::string, std::string> ReadInfoTexts(std::span<const std::uint8_t> image) {
    std::map<std::string, std::string> texts;
    const auto chunks = ReadRiffChunks(image);
    if (!chunks) {
        return texts;
    }
    for (const RiffChunk& chunk : *chunks) {
        const auto body = chunk.body;
        if (chunk.id != "LIST" || body.size() < 4 || Tag(body, 0) != "INFO") {
            continue;
        }
        std::size_t at = 4;
        while (at + 8 <= body.size()) {
            const std::size_t length = ReadU32(body, at + 4);
            if (at + 8 + length > body.size()) {
                break;
            }
            std::string text(reinterpret_cast<const char*>(body.data() + at + 8), length);
            text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
            texts[std::string(Tag(body, at))] = std::move(text);
            at += 8 + length + (length & 1);
        }
    }
    return texts;
}

std::optional<std::vector<std::int16_t>> DecodeClip(std::span<const std::uint8_t> image) {
    // The codec is this file's own: a clip is the one plain WAVE layout, and
    // every field it has is checked here before a sample is read.
    const auto chunks = ReadRiffChunks(image);
    if (!chunks) {
        return std::nullopt;
    }
    const auto chunk = [&](std::string_view id) {
        const auto it = std::find_if(chunks->begin(), chunks->end(),
                                     [&](const RiffChunk& c) { return c.id == id; });
        return it == chunks->end() ? std::optional<RiffChunk>() : *it;
    };
    const auto format = chunk("fmt ");
    const auto data = chunk("data");
    if (!format || format->body.size() < kClipFormatBlock.size() ||
        !std::equal(kClipFormatBlock.begin(), kClipFormatBlock.end(), format->body.begin()) ||
        !data || data->body.empty() || data->body.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<std::int16_t> samples(data->body.size() / 2);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(samples.data(), data->body.data(), data->body.size());
    } else {
        for (std::size_t i = 0; i < samples.size(); ++i) {
            samples[i] =
                static_cast<std::int16_t>(data->body[2 * i] | (data->body[2 * i + 1] << 8));
        }
    }
    return samples;
}

std::vector<std::uint8_t> EncodeClip(std::span<const std::int16_t> samples,
                                     const std::map<std::string, std::string>& info) {
    std::vector<std::uint8_t> out;
    out.reserve(kClipHeaderSize + 2 * samples.size() + 256);
    AppendTag(out, "RIFF");
    AppendU32(out, 0);  // filled in at the end
    AppendTag(out, "WAVE");
    AppendTag(out, "fmt ");
    AppendU32(out, static_cast<std::uint32_t>(kClipFormatBlock.size()));
    out.insert(out.end(), kClipFormatBlock.begin(), kClipFormatBlock.end());
    AppendTag(out, "data");
    AppendU32(out, static_cast<std::uint32_t>(2 * samples.size()));
    for (const std::int16_t s : samples) {
        AppendU16(out, static_cast<std::uint16_t>(s));
    }
    if (!info.empty()) {
        const std::size_t list_at = out.size();
        AppendTag(out, "LIST");
        AppendU32(out, 0);
        AppendTag(out, "INFO");
        for (const auto& [id, text] : info) {
            AppendTag(out, (id + "    ").substr(0, 4));
            AppendU32(out, static_cast<std::uint32_t>(text.size() + 1));
            out.insert(out.end(), text.begin(), text.end());
            out.push_back(0);
            if ((text.size() + 1) % 2 != 0) {
                out.push_back(0);
            }
        }
        PutU32(out, list_at + 4, static_cast<std::uint32_t>(out.size() - list_at - 8));
    }
    PutU32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}

}  // namespace talmo
