// SPDX-License-Identifier: MIT
#pragma once

// The fakes of the platform services and the speaking interface, for the
// models and pages alike.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "practice/practice_services.h"
#include "speech/speaker.h"

namespace talmo::testing {

struct FixedClock final : QuizClock {
    int second = 7;
    int SecondOfMinute() override { return second; }
};

// Gives the queued values first, then value every time.
struct ScriptedRandom final : RandomSource {
    std::deque<float> values;
    float value = 0.375f;
    float Next() override {
        if (values.empty()) {
            return value;
        }
        const float v = values.front();
        values.pop_front();
        return v;
    }
};

struct RecordedMessages final : MessageBox {
    std::vector<std::pair<std::string, Icon>> shown;
    void Show(const std::string& text, Icon icon) override { shown.emplace_back(text, icon); }
};

// Records what it is asked to say: numbers, clips as "Category/Index", and
// sayings as their clips' names.
struct RecordingSpeaker final : Speaker {
    std::vector<std::int32_t> spoken;
    std::vector<std::string> clips;
    std::vector<std::string> sayings;
    void PlayNumber(std::string_view Index, std::string_view Category) override {
        clips.push_back(std::string(Category) + "/" + std::string(Index));
    }
    void SpeakNumber(int number) override { spoken.push_back(number); }
    // An everyday number is recorded as its negative.
    void SpeakNumberIn(int number, SpeechStyle style) override {
        spoken.push_back(style == SpeechStyle::kEveryday ? -number : number);
    }
    void SpeakSaying(const Saying& saying, SpeechStyle /*style*/) override {
        sayings.push_back(SayingClipNames(saying));
    }
};

}  // namespace talmo::testing
