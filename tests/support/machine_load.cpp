// SPDX-License-Identifier: MIT
#include "tests/support/machine_load.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>

namespace talmo::testing {
namespace {

constexpr std::size_t kChurnBytes = 400u << 20;
constexpr std::size_t kPage = 4096;

[[noreturn]] void Spin() {
    volatile unsigned long n = 0;
    for (;;) {
        n = n + 1;
    }
}

[[noreturn]] void Churn() {
    // Freed and taken again, so the kernel keeps finding and zeroing pages.
    for (unsigned round = 0;; ++round) {
        auto* memory = static_cast<volatile unsigned char*>(std::malloc(kChurnBytes));
        if (memory == nullptr) {
            Spin();
        }
        for (int pass = 0; pass < 4; ++pass) {
            for (std::size_t i = 0; i < kChurnBytes; i += kPage) {
                memory[i] = static_cast<unsigned char>(round + pass);
            }
        }
        std::free(const_cast<unsigned char*>(memory));
    }
}

}  // namespace

MachineLoad::MachineLoad() {
    for (void (*work)() : {Spin, Spin, Churn}) {
        const pid_t pid = fork();
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            work();
        }
        if (pid > 0) {
            children_.push_back(pid);
        }
    }
}

MachineLoad::~MachineLoad() {
    for (const pid_t pid : children_) {
        kill(pid, SIGKILL);
    }
    for (const pid_t pid : children_) {
        waitpid(pid, nullptr, 0);
    }
}

}  // namespace talmo::testing
