// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include "speech/clip_ref.h"

namespace talmo {

// The clip of the word for a number from 0 to 29. Matching is by numeric
// equality, so 40.0 would match a row 40 while 5.5 matches none.
std::optional<ClipRef> SmallNumberClip(double number);

// The clip of the word for a multiple of ten from 20 to 90.
std::optional<ClipRef> TensClip(double number);

}  // namespace talmo
