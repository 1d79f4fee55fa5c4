// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "voice.h"

namespace talmo::testing {

// The names of the voices built in, to run a test once for each.
inline std::vector<std::string> VoiceNames() {
    std::vector<std::string> names;
    for (const VoiceInfo& voice : EmbeddedVoices()) {
        names.emplace_back(voice.name);
    }
    return names;
}

}  // namespace talmo::testing
