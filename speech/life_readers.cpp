// SPDX-License-Identifier: MIT
#include "speech/life_readers.h"

namespace talmo {

std::string_view LifeKindName(LifeKind kind) {
    return kLifeKinds[static_cast<std::size_t>(kind)].name;
}

std::optional<LifeKind> ParseLifeKind(std::string_view name) {
    for (const LifeKindInfo& info : kLifeKinds) {
        if (info.name == name) {
            return info.kind;
        }
    }
    return std::nullopt;
}

// Placeholders until the readers land.
std::optional<std::string> ReadLifeValue(LifeKind, std::string_view) {
    return std::nullopt;
}
std::string BadLifeValue(LifeKind, std::string_view text) {
    return std::string(text);
}
std::vector<Saying> LifeSayings(LifeKind, std::string_view, SpeechStyle) {
    return {};
}
bool LifeAnswerMatches(LifeKind, std::string_view, std::string_view, std::string_view) {
    return false;
}
std::string SayingWords(const ClipStore&, const Saying&) {
    return {};
}
std::string SayingClipNames(const Saying&) {
    return {};
}
std::vector<ClipBytes> SayingRecordings(const ClipStore& store, const Saying& saying) {
    std::vector<ClipBytes> recordings;
    for (const SaidClip& c : saying.clips) {
        recordings.push_back(store.LoadClip(c.clip, c.form));
    }
    return recordings;
}

}  // namespace talmo
