// SPDX-License-Identifier: MIT
#include "drill_voices.h"

namespace talmo {

VoicesSpeaker::VoicesSpeaker(std::span<const VoiceInfo> voices, ClipPlayer& player) {
    for (const VoiceInfo& voice : voices) {
        engines_.push_back(std::make_unique<SpeechEngine>(VoicePicker(voice.clips), player));
    }
}

void VoicesSpeaker::Speak(int number, const Rendition& rendition) {
    if (rendition.voice < engines_.size()) {
        engines_[rendition.voice]->SpeakNumberIn(number, rendition.style);
    }
}

}  // namespace talmo
