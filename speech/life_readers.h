// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "speech/clip_ref.h"
#include "speech/clip_store.h"
#include "speech/speech_style.h"

namespace talmo {

// The numbers of daily life a learner must hear as Swedes say them: a clock
// time, a price in kronor and öre, a mobile phone number and a year. Each
// reader is a pure function from a value to the clips that say it, beside
// the number speaker.
enum class LifeKind { kTime, kPrice, kPhone, kYear };

struct LifeKindInfo {
    LifeKind kind;
    std::string_view name;  // on the command line and in the history
};

// Every kind, in the enum's order: the one place a kind is named.
inline constexpr std::array kLifeKinds{
    LifeKindInfo{LifeKind::kTime, "time"},
    LifeKindInfo{LifeKind::kPrice, "price"},
    LifeKindInfo{LifeKind::kPhone, "phone"},
    LifeKindInfo{LifeKind::kYear, "year"},
};

std::string_view LifeKindName(LifeKind kind);
// The kind of that name, exactly; nothing for anything else.
std::optional<LifeKind> ParseLifeKind(std::string_view name);

// The category of the words only these readers say: klockan, halv, kvart,
// över, i, och, en, krona, kronor, öre, spänn.
inline constexpr std::string_view kLifeCategory = "LIFE";

// How a clip follows the one before it: inside one written word
// (nittonhundra|åttio|fyra), as the next word (fem|i|halv|fyra), or as the
// first of a new group after a short pause (a phone number's groups).
enum class Join { kWord, kSpace, kPause };

// The silence between two groups of a saying.
inline constexpr int kGroupPauseMs = 300;

// One recording of a saying: a clip in a form (kClear in the clear style;
// in the everyday style the forms of the number speaker, the unstressed
// words i, och and över in their inner form).
struct SaidClip {
    ClipRef clip;
    ClipForm form = ClipForm::kClear;
    Join join = Join::kWord;
    friend bool operator==(const SaidClip&, const SaidClip&) = default;
};

// One way of saying a value, named for the learner: a time's "12-hour",
// "from the half" (tio i halv fyra beside tjugo över tre) or "24-hour"; a
// price's "kronor and öre", "short" or "spänn"; a year's "nittonhundra",
// "tjugohundra", "tjugo" or "tvåtusen"; a phone number's "groups".
struct Saying {
    std::string_view way;
    std::vector<SaidClip> clips;
};

// The value as the reader writes it ("15:25", "49,90", "070-123 45 67",
// "2024"), from what a learner or a command line may type; nothing when the
// text is not a value of the kind (a time of 24:00 or 12:60, a price with
// three decimals, a phone number of 9 digits, a year before 1000 or after
// 2099).
std::optional<std::string> ReadLifeValue(LifeKind kind, std::string_view text);

// The one line that answers a text ReadLifeValue does not take.
std::string BadLifeValue(LifeKind kind, std::string_view text);

// Every way a value, as ReadLifeValue writes it, is said in that style, the
// reader's first choice first; empty for a value it does not take. Two ways
// that sound the same are one (klockan tre on either clock).
std::vector<Saying> LifeSayings(LifeKind kind, std::string_view value, SpeechStyle style);

// The saying of that way, or with no way named the first; nothing when the
// value has no such way.
std::optional<Saying> LifeSayingOfWay(LifeKind kind, std::string_view value, SpeechStyle style,
                                      std::string_view way = {});

// Whether a typed answer names the value as it was heard said that way: for
// halv fyra 15.30, 3.30 and 15:30 all do; for a price 49,90, 49.90 and 49:90;
// for a phone number its digits in any grouping.
bool LifeAnswerMatches(LifeKind kind, std::string_view value, std::string_view way,
                       std::string_view typed);

// How a saying is written, from its recordings' words: "fem i halv fyra",
// "sexton trettioett", "noll sju noll, ett två tre, fyrtiofem, sextiosju".
std::string SayingWords(const ClipStore& store, const Saying& saying);

// Its clips as RecordingNames writes a number's: "5FEM/inner, I/inner, ...";
// a pause as " | ".
std::string SayingClipNames(const Saying& saying);

// The recordings that say it, one for each of its clips, in order (an
// empty one for a clip the store lacks). A store that lacks one of its
// everyday recordings says it all clear, so that it is never cut short.
std::vector<ClipBytes> SayingRecordings(const ClipStore& store, const Saying& saying);

}  // namespace talmo
