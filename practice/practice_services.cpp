// SPDX-License-Identifier: MIT
#include "practice/practice_services.h"

#include <ctime>

namespace talmo {

int LocalClock::SecondOfMinute() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_sec % 60;  // a leap second reads as 0
}

float UnseededRandom::Next() {
    // A 24-bit linear congruential sequence: each value is exact in single
    // precision and at most 1 - 2^-24.
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return static_cast<float>(state_) / 16777216.0f;
}

}  // namespace talmo
