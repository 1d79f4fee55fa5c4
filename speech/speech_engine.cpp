// SPDX-License-Identifier: MIT
#include "speech_engine.h"

#include "number_speaker.h"

namespace talmo {

void SpeechEngine::PlayNumber(std::string_view Index, std::string_view Category) const {
    if (!speaking_number_) {
        // A lone clip is a number of its own.
        voice_ = &voices_.Next();
        last_number_.reset();
        player_.BeginNumber();
        PlayClip(Index, Category);
        player_.EndNumber();
        return;
    }
    PlayClip(Index, Category);
}

void SpeechEngine::PlayClip(std::string_view Index, std::string_view Category) const {
    const ClipBytes image = voice_->LoadClip(ClipRef{std::string(Category), std::string(Index)});
    if (image.empty()) {
        return;  // no such clip: nothing to hear, and no caller expects a report
    }
    // A failure to play is silent by design; the caller goes on with its next clip.
    (void)player_.PlaySync(image);
}

void SpeechEngine::SpeakNumber(int number) const {
    if (voice_ == nullptr || last_number_ != number) {
        voice_ = &voices_.Next();
        last_number_ = number;
    }
    player_.BeginNumber();
    speaking_number_ = true;
    for (const ClipRef& clip : NumberClips(number)) {
        PlayNumber(clip.Index, clip.Category);
    }
    speaking_number_ = false;
    player_.EndNumber();
}

}  // namespace talmo
