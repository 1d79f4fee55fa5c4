#include "wave_image.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <iterator>

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

// libsndfile's virtual I/O over a read-only image in two parts: a header
// and the sample data, which stays where it is.
struct MemoryReader {
    std::span<const std::uint8_t> head;
    std::span<const std::uint8_t> tail;
    sf_count_t position = 0;

    sf_count_t Size() const { return static_cast<sf_count_t>(head.size() + tail.size()); }
};

sf_count_t VioLength(void* user) {
    return static_cast<MemoryReader*>(user)->Size();
}

sf_count_t VioSeek(sf_count_t offset, int whence, void* user) {
    auto* r = static_cast<MemoryReader*>(user);
    sf_count_t target = offset;
    if (whence == SEEK_CUR) {
        target = r->position + offset;
    } else if (whence == SEEK_END) {
        target = r->Size() + offset;
    }
    r->position = std::clamp<sf_count_t>(target, 0, r->Size());
    return r->position;
}

sf_count_t VioRead(void* ptr, sf_count_t count, void* user) {
    auto* r = static_cast<MemoryReader*>(user);
    auto* out = static_cast<std::uint8_t*>(ptr);
    sf_count_t done = 0;
    for (const auto part_start : {sf_count_t{0}, static_cast<sf_count_t>(r->head.size())}) {
        const auto part = part_start == 0 ? r->head : r->tail;
        const sf_count_t end = part_start + static_cast<sf_count_t>(part.size());
        if (r->position < part_start || r->position >= end || done == count) {
            continue;
        }
        const sf_count_t n = std::min(count - done, end - r->position);
        std::memcpy(out + done, part.data() + (r->position - part_start),
                    static_cast<std::size_t>(n));
        r->position += n;
        done += n;
    }
    return done;
}

sf_count_t VioWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t VioTell(void* user) {
    return static_cast<MemoryReader*>(user)->position;
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
        const auto body = chunk.Body;
        if (chunk.Id != "LIST" || body.size() < 4 || Tag(body, 0) != "INFO") {
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
    // The image's own chunks are checked here, and libsndfile is handed only a
    // plain header of its own making and the sample data: a crafted chunk can
    // then neither send its parser astray (one made it loop) nor pass off a
    // truncated image as a shorter one.
    const auto chunks = ReadRiffChunks(image);
    if (!chunks) {
        return std::nullopt;
    }
    const auto chunk = [&](std::string_view id) {
        const auto it = std::find_if(chunks->begin(), chunks->end(),
                                     [&](const RiffChunk& c) { return c.Id == id; });
        return it == chunks->end() ? std::optional<RiffChunk>() : *it;
    };
    const auto format = chunk("fmt ");
    const auto data = chunk("data");
    static constexpr std::uint8_t kClipFormat[16] = {1,    0,    1, 0, 0x40, 0x1f, 0,  0,
                                                     0x80, 0x3e, 0, 0, 2,    0,    16, 0};
    if (!format || format->Body.size() < 16 ||
        !std::equal(std::begin(kClipFormat), std::end(kClipFormat), format->Body.begin()) ||
        !data || data->Body.empty() || data->Body.size() % 2 != 0) {
        return std::nullopt;
    }
    const auto declared_frames = static_cast<sf_count_t>(data->Body.size() / 2);
    const std::vector<std::uint8_t> header = [&] {
        auto plain = EncodeClip({}, {});
        PutU32(plain, 4, static_cast<std::uint32_t>(plain.size() - 8 + data->Body.size()));
        PutU32(plain, 40, static_cast<std::uint32_t>(data->Body.size()));
        return plain;
    }();

    MemoryReader reader{header, data->Body};
    SF_VIRTUAL_IO io{VioLength, VioSeek, VioRead, VioWrite, VioTell};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &reader);
    if (file == nullptr) {
        return std::nullopt;
    }
    std::optional<std::vector<std::int16_t>> samples;
    if (info.samplerate == kClipSampleRate && info.channels == 1 &&
        info.format == (SF_FORMAT_WAV | SF_FORMAT_PCM_16) && info.frames == declared_frames) {
        std::vector<std::int16_t> decoded(static_cast<std::size_t>(info.frames));
        if (sf_readf_short(file, decoded.data(), info.frames) == info.frames) {
            samples = std::move(decoded);
        }
    }
    sf_close(file);
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
    AppendU32(out, 16);
    AppendU16(out, 1);  // PCM
    AppendU16(out, 1);  // mono
    AppendU32(out, kClipSampleRate);
    AppendU32(out, kClipSampleRate * 2);
    AppendU16(out, 2);
    AppendU16(out, 16);
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
