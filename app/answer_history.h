// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "history/learner_history.h"
#include "practice/practice_services.h"
#include "speech/speech_engine.h"

namespace talmo {

// The dictation page's answers, kept in the learner's history as "dictation",
// but only those to a number that reached the sound server: without sound an
// answer is a guess.
class DictationHistory final : public AnswerLog {
  public:
    // engine: what speaks the quiz's numbers, for their voice and style;
    // reached: whether the last number played reached the sound server.
    DictationHistory(
        LearnerHistory& history, const SpeechEngine& engine,
        std::function<bool()> reached = [] { return true; })
        : history_(history), engine_(engine), reached_(std::move(reached)) {}

    void Played(int number) override {
        heard_ = std::chrono::steady_clock::now();
        // Heard once is enough: a repeat that fails takes nothing away.
        reached_number_ = reached_() || (number == number_ && reached_number_);
        number_ = number;
    }
    void Answered(int number, const std::string& answer, bool right) override {
        if (number != number_ || !reached_number_) {
            return;
        }
        const auto said = engine_.LastSaid();
        history_.Record(AnswerNow("dictation", std::to_string(number), said.voice,
                                  StyleName(said.style), answer, right, heard_));
    }

  private:
    LearnerHistory& history_;
    const SpeechEngine& engine_;
    std::function<bool()> reached_;
    int number_ = -1;  // the number last played, and whether it was heard
    bool reached_number_ = false;
    std::chrono::steady_clock::time_point heard_ = std::chrono::steady_clock::now();
};

}  // namespace talmo
