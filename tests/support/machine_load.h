// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <vector>

namespace talmo::testing {

// A busy desktop, as far as the sound server can tell: two processes that
// spin and one that keeps writing over 400 MiB of memory, about what a build
// or a video call does in the background. The processes run from
// construction until the object goes away, and die with this process
// however it ends.
class MachineLoad {
  public:
    MachineLoad();
    ~MachineLoad();
    MachineLoad(const MachineLoad&) = delete;
    MachineLoad& operator=(const MachineLoad&) = delete;

  private:
    std::vector<pid_t> children_;
};

}  // namespace talmo::testing
