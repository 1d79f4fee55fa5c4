// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <vector>

namespace talmo::testing {

// A busy desktop, as far as the sound server can tell: processes that spin
// and processes that keep writing over 400 MiB of memory each, about what a
// build or a video call does in the background. The processes run from
// construction until the object goes away, and die with this process
// however it ends.
class MachineLoad {
  public:
    enum class Strength {
        kBusy,   // two spinning, one writing
        kHeavy,  // four spinning, two writing
    };
    explicit MachineLoad(Strength strength = Strength::kBusy);
    ~MachineLoad();
    MachineLoad(const MachineLoad&) = delete;
    MachineLoad& operator=(const MachineLoad&) = delete;

  private:
    std::vector<pid_t> children_;
};

}  // namespace talmo::testing
