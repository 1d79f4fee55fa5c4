// SPDX-License-Identifier: MIT
#pragma once

#include "history/keep_choice.h"

namespace talmo::testing {

// The learner's choice to keep answers, kept in memory; yes unless told.
struct MemoryKeep final : KeepChoice {
    bool keeps = true;
    bool Keeps() const override { return keeps; }
    void SetKeeps(bool k) override { keeps = k; }
};

}  // namespace talmo::testing
