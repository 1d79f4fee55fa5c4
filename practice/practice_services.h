// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace talmo {

// What the practice pages need of the platform besides the sound: the
// quiz's clock and random source, and message boxes. The program provides
// the real ones and tests provide fakes.
class QuizClock {
  public:
    virtual ~QuizClock() = default;
    virtual int SecondOfMinute() = 0;  // 0 to 59, local time
};

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual float Next() = 0;  // from 0 up to, not including, 1
};

class MessageBox {
  public:
    virtual ~MessageBox() = default;
    enum class Icon { kNone, kInformation };
    // Modal, with one OK button and the program's title; returns when dismissed.
    virtual void Show(const std::string& text, Icon icon) = 0;
};

// Where the quiz reports what it plays and each answer it judges, before the
// verdict shows: the program keeps them in the learner's history.
class AnswerLog {
  public:
    virtual ~AnswerLog() = default;
    virtual void Played(int number) = 0;  // the number has just been heard
    virtual void Answered(int number, const std::string& answer, bool right) = 0;
};

// The local time's clock.
class LocalClock final : public QuizClock {
  public:
    int SecondOfMinute() override;
};

// The program's random source: never seeded, so the same sequence at every
// start, of single-precision values strictly below 1.
class UnseededRandom final : public RandomSource {
  public:
    float Next() override;

  private:
    std::uint32_t state_ = 0x50000u;  // a fixed start: the program never seeds it
};

}  // namespace talmo
