// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "clip_ref.h"

namespace talmo {

inline constexpr int kLargestSpokenNumber = 99999;

// The clips that say n in Swedish, in order: one to seven of them for
// 0 <= n <= 99999, none outside that range.
std::vector<ClipRef> NumberClips(int n);

// How NumberClips writes its result: "1ETT, N1000, N20, 1ETT".
std::string ClipNames(const std::vector<ClipRef>& clips);

}  // namespace talmo
