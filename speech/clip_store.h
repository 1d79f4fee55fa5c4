// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "clip_ref.h"

namespace talmo {

using ClipBytes = std::span<const std::uint8_t>;

// One stored recording: a complete RIFF WAVE image, possibly followed by
// alignment padding, which belongs to the entry and is handed on with it.
struct ClipEntry {
    std::string_view Category;
    std::string_view Index;
    ClipBytes bytes;
};

// The read-only catalogue of recordings. It only hands out views of bytes
// that outlive it (the embedded catalogue lives as long as the program), so
// loading a clip copies nothing.
class ClipStore {
  public:
    explicit ClipStore(std::vector<ClipEntry> entries);

    // The catalogue built into this program, in its first voice (see
    // EmbeddedVoices for them all).
    static const ClipStore& Embedded();

    // The stored bytes of the clip, whole and unchanged; empty when the
    // catalogue has no such clip.
    ClipBytes LoadClip(const ClipRef& ref) const;

    std::span<const ClipEntry> Entries() const { return entries_; }

  private:
    std::vector<ClipEntry> entries_;  // sorted by upper-cased category, then name
};

}  // namespace talmo
