// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "speech/clip_ref.h"
#include "speech/clip_store.h"
#include "speech/speech_style.h"

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

// A clip of a number as everyday speech says it, and the recording's form.
struct EverydayClip {
    ClipRef clip;
    ClipForm form;
};

// The clips that say n as Swedes say it in everyday speech: those of
// NumberClips, but a number from 100 to 199 or 1000 to 1999 begins with hundra
// or tusen, without ett. One main stress a phrase: every clip is inner but the
// last. A number of a thousand or more is one phrase when what follows the
// thousands is a tens-and-units group or nothing (tusen ett, tjugoett tusen
// tjugoett), two when hundreds follow (fyrtifem tusen | sexhundra sjuttiåtta):
// tusen then ends the first phrase. Ett and tjugoett before tusen end at their
// closure, so that one t is heard. Empty outside 0 to 99999.
std::vector<EverydayClip> EverydayClips(int n);

// The recordings that say n in that style, clip by clip: NumberClips' in the
// clear style, EverydayClips' in the everyday style. A store that lacks one of
// the everyday recordings says the number clear, so it is never cut short.
std::vector<SpokenClip> NumberRecordings(const ClipStore& store, int n, SpeechStyle style);

// The word a clip's clear recording names (its INAM text), lower-cased;
// empty when the store has no recording of it or the recording names none.
std::string ClipWord(const ClipStore& store, const ClipRef& clip);

// Words run together as one written word lose a letter where three like
// consonants meet: ett + tusen is "ettusen".
void SpellAsOneWord(std::string& words);

// A recording form's name: "clear", "inner", "last", "phrase-end", "closed".
std::string_view FormName(ClipForm form);

// How NumberClips writes its result: "1ETT, N1000, N20, 1ETT".
std::string ClipNames(const std::vector<ClipRef>& clips);

// The recordings that say n in that style, written as ClipNames writes clips,
// an everyday one with its form: "N1000/inner, N20/inner, 1ETT/last".
std::string RecordingNames(int n, SpeechStyle style);

}  // namespace talmo
