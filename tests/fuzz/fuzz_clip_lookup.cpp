// SPDX-License-Identifier: MIT
// Clip lookup by arbitrary names: a category and a clip name split at the
// first NUL byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "speech/clip_store.h"
#include "speech/speech_engine.h"
#include "tests/support/recording_clip_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string category = input.substr(0, split);
    const std::string index = split == std::string::npos ? std::string() : input.substr(split + 1);

    const talmo::ClipStore& store = talmo::ClipStore::Embedded();
    const talmo::ClipBytes found = store.LoadClip({category, index});
    if (!found.empty()) {
        // Found only under a name the catalogue holds, in some letter case.
        // The store's own comparison, written again so that the two can disagree.
        const auto upper = [](std::string s) {
            for (char& c : s) {
                c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
            }
            return s;
        };
        bool named = false;
        for (const talmo::ClipEntry& entry : store.Entries()) {
            named |= entry.bytes.data() == found.data() &&
                     upper(std::string(entry.Category)) == upper(category) &&
                     upper(std::string(entry.Index)) == upper(index);
        }
        if (!named) {
            std::abort();
        }
    }
    talmo::RecordingClipPlayer player;
    talmo::SpeechEngine(store, player).PlayNumber(index, category);
    if (player.Images().size() != (found.empty() ? 0u : 1u)) {
        std::abort();
    }
    return 0;
}
