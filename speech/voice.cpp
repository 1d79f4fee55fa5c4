// SPDX-License-Identifier: MIT
#include "speech/voice.h"

#include <chrono>
#include <memory>
#include <random>

namespace talmo {

const VoiceInfo* FindVoice(std::string_view name) {
    for (const VoiceInfo& voice : EmbeddedVoices()) {
        if (voice.name == name) {
            return &voice;
        }
    }
    return nullptr;
}

std::optional<std::string> ParseVoiceChoice(std::string_view text) {
    if (FindVoice(text) != nullptr || text == kAllVoices) {
        return std::string(text);
    }
    // The name the choice had when there were only two.
    if (text == "both" && EmbeddedVoices().size() == 2) {
        return std::string(kAllVoices);
    }
    return std::nullopt;
}

std::vector<std::string> VoiceNames() {
    std::vector<std::string> names;
    for (const VoiceInfo& voice : EmbeddedVoices()) {
        names.emplace_back(voice.name);
    }
    return names;
}

std::string VoiceChoices() {
    std::string choices;
    for (const std::string& name : VoiceNames()) {
        choices += name + "|";
    }
    return choices + std::string(kAllVoices);
}

std::string BadVoiceMessage(std::string_view value) {
    std::string names;
    for (const std::string& name : VoiceNames()) {
        names += (names.empty() ? "" : ", ") + name;
    }
    return "--voice takes " + names + " or " + std::string(kAllVoices) + ", not '" +
           std::string(value) + "'";
}

VoicePicker VoicePicker::ForChoice(std::string_view choice) {
    if (choice != kAllVoices) {
        const VoiceInfo* voice = FindVoice(choice);
        return VoicePicker(voice != nullptr ? *voice : EmbeddedVoices().front());
    }
    std::vector<const ClipStore*> all;
    std::vector<std::string_view> names;
    for (const VoiceInfo& voice : EmbeddedVoices()) {
        all.push_back(&voice.clips);
        names.push_back(voice.name);
    }
    const auto seed = std::chrono::system_clock::now().time_since_epoch().count();
    auto source = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(seed));
    const std::size_t n = all.size();
    return VoicePicker(
        std::move(all),
        [source, n] { return std::uniform_int_distribution<std::size_t>(0, n - 1)(*source); },
        std::move(names));
}

}  // namespace talmo
