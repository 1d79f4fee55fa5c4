// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <string>

#include "drills/drill_site.h"
#include "drills/drill_voices.h"
#include "drills/pair_sets.h"
#include "history/learner_history.h"
#include "speech/life_readers.h"
#include "speech/number_speaker.h"
#include "speech/voice.h"

namespace talmo {

// An answer in a drill as the history keeps it: given now, `heard` being the
// end of the number's sound, in the rendition it was said in.
inline AnswerRecord DrillAnswer(std::string drill, std::string played, const Rendition& rendition,
                                std::string answer, bool right,
                                std::chrono::steady_clock::time_point heard) {
    return AnswerNow(std::move(drill), std::move(played), rendition.voice,
                     StyleName(rendition.style), std::move(answer), right, heard);
}

// Keeps an answer in the learner's history, unless the number it answers
// never reached the sound server: that answer was a guess.
inline void KeepAnswer(const DrillSite& site, AnswerRecord answer) {
    if (site.speaker.LastReached()) {
        site.history.Record(std::move(answer));
    }
}

// The Swedish words the drills show for a number.
inline NumberWordsOf DrillWords() {
    return [](int n) { return NumberWords(EmbeddedVoices().front().clips, n); };
}

// And for a time, price, phone number or year said one way.
inline std::function<std::string(const Saying&)> DrillSayingWords() {
    return [](const Saying& s) { return SayingWords(EmbeddedVoices().front().clips, s); };
}

}  // namespace talmo
