// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

#include "speech/life_readers.h"
#include "speech/speech_style.h"

namespace talmo {

// The one way a page makes a sound. Every call returns once its sound has
// been heard; a sound that cannot be played is skipped silently.
class Speaker {
  public:
    virtual ~Speaker() = default;
    // One clip: its name first, then its category.
    virtual void PlayNumber(std::string_view Index, std::string_view Category) = 0;
    // A whole number from 0 to 99999, clip after clip with no added pause;
    // anything outside that range says nothing.
    virtual void SpeakNumber(int number) = 0;
    // The same in a style of the caller's choice, whatever the learner chose;
    // a speaker with one style only says it in that.
    virtual void SpeakNumberIn(int number, SpeechStyle /*style*/) { SpeakNumber(number); }
    // A clock time, price, phone number or year as one of its sayings, its
    // groups apart by a short pause; a speaker without the readers' words
    // says nothing.
    virtual void SpeakSaying(const Saying& /*saying*/, SpeechStyle /*style*/) {}

    // The name the dictation quiz knows it by.
    void ReadNumber(std::int32_t number_in) { SpeakNumber(number_in); }
};

}  // namespace talmo
