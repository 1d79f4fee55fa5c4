// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <iosfwd>
#include <span>
#include <string>

#include "speech/clip_player.h"
#include "speech/voice.h"

namespace talmo {

// talmo-say, the companion command over the speech engine:
//   talmo-say N              speaks N through the player
//   talmo-say --clips N      prints N's clip names: "1ETT, N1000, N20, 1ETT"
//   talmo-say --wav FILE N   writes N, spoken, as one WAVE file in the clip format
//                            (FILE "-": to the standard output)
//   talmo-say --help         the usage; --version, "talmo-say VERSION"
// and, before or after the rest, --voice VOICE|all (the first voice by default)
// and --style clear|everyday (clear by default; --clips lists the same clips
// in either style, as a style changes only the recordings).
// With --as time|price|phone|year, N is a value of that kind ("15:25") said
// as the readers say it, in the way --way names (its first by default; "all":
// each in turn, --clips and --recordings a line "WAY: NAMES" for each); as
// the style may change a saying's words, --clips lists the style's.
// `voices` gives the recordings for the chosen voice.
// Returns the exit status: 0 done, 1 the sound could not be played, 2 a bad
// argument or an unwritable file (one line on err).
using VoicesFor = std::function<VoicePicker(std::string_view choice)>;
int RunSay(std::span<const std::string> args, const VoicesFor& voices, ClipPlayer& player,
           std::ostream& out, std::ostream& err);

}  // namespace talmo
