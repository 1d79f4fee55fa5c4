// SPDX-License-Identifier: MIT
#pragma once

namespace talmo {

// Whether the learner wants a history of answers, and where that choice is
// kept between runs: the history's own choice, whatever window sets it.
class KeepChoice {
  public:
    virtual ~KeepChoice() = default;
    virtual bool Keeps() const = 0;
    virtual void SetKeeps(bool keeps) = 0;
};

}  // namespace talmo
