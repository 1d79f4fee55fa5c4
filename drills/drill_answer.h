// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <string>

#include "drill_voices.h"
#include "learner_history.h"

namespace talmo {

// An answer in a drill as the history keeps it: given now, `heard` being the
// end of the number's sound, in the rendition it was said in.
inline AnswerRecord DrillAnswer(std::string drill, std::string played, const Rendition& rendition,
                                std::string answer, bool right,
                                std::chrono::steady_clock::time_point heard) {
    const auto taken = std::chrono::steady_clock::now() - heard;
    return {.at_ms = WallClockMs(),
            .drill = std::move(drill),
            .played = std::move(played),
            .voice = std::string(EmbeddedVoices()[rendition.voice].name),
            .style = std::string(StyleName(rendition.style)),
            .answer = std::move(answer),
            .right = right,
            .answer_ms = std::chrono::duration_cast<std::chrono::milliseconds>(taken).count()};
}

}  // namespace talmo
