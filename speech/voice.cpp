// SPDX-License-Identifier: MIT
#include "voice.h"

#include <chrono>
#include <memory>
#include <random>

namespace talmo {

std::optional<VoiceChoice> ParseVoiceChoice(std::string_view text) {
    if (text == "male") {
        return VoiceChoice::kMale;
    }
    if (text == "female") {
        return VoiceChoice::kFemale;
    }
    if (text == "both") {
        return VoiceChoice::kBoth;
    }
    return std::nullopt;
}

std::string BadVoiceMessage(std::string_view value) {
    return "--voice takes male, female or both, not '" + std::string(value) + "'";
}

std::optional<std::string> TakeVoiceOption(std::span<const std::string> args, std::size_t& i) {
    const std::string& arg = args[i];
    if (arg.starts_with("--voice=")) {
        return arg.substr(8);
    }
    if (arg != "--voice") {
        return std::nullopt;
    }
    return i + 1 < args.size() ? args[++i] : std::string();
}

VoicePicker VoicePicker::ForChoice(VoiceChoice choice) {
    const ClipStore& male = ClipStore::Embedded(Voice::kMale);
    const ClipStore& female = ClipStore::Embedded(Voice::kFemale);
    switch (choice) {
        case VoiceChoice::kMale:
            return VoicePicker(male);
        case VoiceChoice::kFemale:
            return VoicePicker(female);
        case VoiceChoice::kBoth:
            break;
    }
    const auto seed = std::chrono::system_clock::now().time_since_epoch().count();
    auto coin = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(seed));
    return VoicePicker(male, female, [coin] { return ((*coin)() & 1u) != 0; });
}

}  // namespace talmo
