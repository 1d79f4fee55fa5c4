// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "speech/clip_ref.h"

namespace talmo {

using ClipBytes = std::span<const std::uint8_t>;

// One stored recording: a complete RIFF WAVE image, possibly followed by
// alignment padding, which belongs to the entry and is handed on with it.
struct ClipEntry {
    std::string_view Category;
    std::string_view Index;
    ClipBytes bytes;
};

// Which recording of a clip: its clear citation form (the only one every
// clip has), or in everyday speech, inside a number (no accent of its own,
// carried on by the phrase), as its last element (the number's stress and
// final fall), ending the first of two phrases (tusen's rise, then a pause),
// or ending at the closure of its last t, so that the t of a following tusen
// is heard once (ett, tjugoett).
enum class ClipForm { kClear, kInner, kLast, kPhraseEnd, kClosed };
inline constexpr int kClipForms = 5;

// The read-only catalogue of recordings. It only hands out views of bytes
// that outlive it (the embedded catalogue lives as long as the program), so
// loading a clip copies nothing.
class ClipStore {
  public:
    // The clear recordings, then those of each everyday form in ClipForm's order.
    explicit ClipStore(std::vector<ClipEntry> entries, std::vector<ClipEntry> inner = {},
                       std::vector<ClipEntry> last = {}, std::vector<ClipEntry> phrase_end = {},
                       std::vector<ClipEntry> closed = {});

    // The catalogue built into this program, in its first voice (see
    // EmbeddedVoices for them all).
    static const ClipStore& Embedded();

    // The stored bytes of the clip in that form, whole and unchanged; empty
    // when the catalogue has no such recording.
    ClipBytes LoadClip(const ClipRef& ref, ClipForm form = ClipForm::kClear) const;

    // The clear recordings, one a clip.
    std::span<const ClipEntry> Entries() const { return entries_[0]; }

  private:
    // Per form, sorted by upper-cased category, then name.
    std::vector<ClipEntry> entries_[kClipForms];
};

}  // namespace talmo
