// SPDX-License-Identifier: MIT
#include "speech/speech_engine.h"

#include <cstdint>
#include <vector>

#include "speech/life_readers.h"
#include "speech/number_speaker.h"
#include "speech/wave_image.h"

namespace talmo {

void SpeechEngine::PlayNumber(std::string_view Index, std::string_view Category) {
    // A lone clip is a number of its own.
    voice_ = voices_.Draw();
    last_number_.reset();
    last_saying_.clear();
    said_style_ = SpeechStyle::kClear;
    player_.BeginNumber();
    Play(voices_.At(*voice_).LoadClip(ClipRef{std::string(Category), std::string(Index)}));
    player_.EndNumber();
}

void SpeechEngine::SpeakNumberIn(int number, SpeechStyle style) {
    if (!voice_ || last_number_ != number) {
        voice_ = voices_.Draw();
        last_number_ = number;
        last_saying_.clear();
    }
    said_style_ = style;
    player_.BeginNumber();
    for (const SpokenClip& spoken : NumberRecordings(voices_.At(*voice_), number, style)) {
        Play(spoken.bytes);
    }
    player_.EndNumber();
}

void SpeechEngine::SpeakSaying(const Saying& saying, SpeechStyle style) {
    // Played as a clip of its own, so the player's stream runs on through
    // it rather than draining and starting again.
    static const std::vector<std::uint8_t> kGroupPause =
        EncodeClip(std::vector<std::int16_t>(kClipSampleRate * kGroupPauseMs / 1000), {});
    // Said again right after itself, it keeps its voice, as a number does.
    if (!voice_ || last_number_ || last_saying_ != saying.clips) {
        voice_ = voices_.Draw();
        last_number_.reset();
        last_saying_ = saying.clips;
    }
    said_style_ = style;
    player_.BeginNumber();
    const std::vector<ClipBytes> recordings = SayingRecordings(voices_.At(*voice_), saying);
    for (std::size_t i = 0; i < recordings.size(); ++i) {
        if (saying.clips[i].join == Join::kPause && i > 0) {
            Play(kGroupPause);
        }
        Play(recordings[i]);
    }
    player_.EndNumber();
}

void SpeechEngine::Play(ClipBytes image) {
    if (image.empty()) {
        return;  // no such clip: nothing to hear, and no caller expects a report
    }
    // A failure to play is silent by design; the caller goes on with its next clip.
    (void)player_.PlaySync(image);
}

}  // namespace talmo
