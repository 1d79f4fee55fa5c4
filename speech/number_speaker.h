// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "clip_ref.h"
#include "clip_store.h"
#include "speech_style.h"

namespace talmo {

inline constexpr int kLargestSpokenNumber = 99999;

// The clips that say n in Swedish, in order: one to seven of them for
// 0 <= n <= 99999, none outside that range.
std::vector<ClipRef> NumberClips(int n);

// How n is written in Swedish, from the words its clips' recordings name:
// one word ("fyrtio", "ettusentjugoett"); empty outside 0 to 99999.
std::string NumberWords(const ClipStore& store, int n);

// A clip of a number with the recording that says it.
struct SpokenClip {
    ClipRef clip;
    ClipBytes bytes;  // empty when the store has no recording of the clip
};

// The recordings that say n in that style, clip by clip. Everyday speech
// takes each clip's inner form and the last clip's last form; a form the
// store lacks falls back to the clear recording, so a number is never cut short.
std::vector<SpokenClip> NumberRecordings(const ClipStore& store, int n, SpeechStyle style);

// How NumberClips writes its result: "1ETT, N1000, N20, 1ETT".
std::string ClipNames(const std::vector<ClipRef>& clips);

}  // namespace talmo
