// SPDX-License-Identifier: MIT
// Any bytes as a clip's WAVE image: decoded, or refused, never read past.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "speech/wave_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> image(data, size);
    (void)talmo::ReadRiffChunks(image);
    const auto texts = talmo::ReadInfoTexts(image);
    const auto samples = talmo::DecodeClip(image);
    if (!samples) {
        return 0;
    }
    if (samples->empty()) {
        std::abort();  // a clip has at least one frame
    }
    // What decodes survives being written and read again unchanged.
    const auto again = talmo::DecodeClip(talmo::EncodeClip(*samples, texts));
    if (!again || *again != *samples) {
        std::abort();
    }
    return 0;
}
