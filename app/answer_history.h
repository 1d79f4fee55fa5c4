// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <string>

#include "learner_history.h"
#include "practice_services.h"
#include "speech_engine.h"

namespace talmo {

// The dictation page's answers, kept in the learner's history as "dictation".
class DictationHistory final : public AnswerLog {
  public:
    explicit DictationHistory(LearnerHistory& history) : history_(history) {}
    // The engine that speaks the quiz's numbers, for their voice and style.
    void SetEngine(const SpeechEngine* engine) { engine_ = engine; }

    void Played(int) override { heard_ = std::chrono::steady_clock::now(); }
    void Answered(int number, const std::string& answer, bool right) override {
        const auto taken = std::chrono::steady_clock::now() - heard_;
        history_.Record(
            {.at_ms = WallClockMs(),
             .drill = "dictation",
             .played = std::to_string(number),
             .voice = engine_ ? std::string(engine_->VoiceName()) : "",
             .style = engine_ ? std::string(StyleName(engine_->Style())) : "",
             .answer = answer,
             .right = right,
             .answer_ms = std::chrono::duration_cast<std::chrono::milliseconds>(taken).count()});
    }

  private:
    LearnerHistory& history_;
    const SpeechEngine* engine_ = nullptr;
    std::chrono::steady_clock::time_point heard_ = std::chrono::steady_clock::now();
};

}  // namespace talmo
