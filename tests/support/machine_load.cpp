// SPDX-License-Identifier: MIT
#include "tests/support/machine_load.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <vector>

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
    // Mapped directly, as malloc may be locked by a thread of the parent
    // that the fork did not copy.
    for (unsigned round = 0;; ++round) {
        void* mapped =
            mmap(nullptr, kChurnBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) {
            Spin();
        }
        auto* memory = static_cast<volatile unsigned char*>(mapped);
        for (int pass = 0; pass < 4; ++pass) {
            for (std::size_t i = 0; i < kChurnBytes; i += kPage) {
                memory[i] = static_cast<unsigned char>(round + pass);
            }
        }
        munmap(mapped, kChurnBytes);
    }
}

}  // namespace

MachineLoad::MachineLoad(Strength strength) {
    const int scale = strength == Strength::kHeavy ? 2 : 1;
    std::vector<void (*)()> work(static_cast<std::size_t>(2 * scale), Spin);
    work.insert(work.end(), static_cast<std::size_t>(scale), Churn);
    for (void (*run)() : work) {
        const pid_t pid = fork();
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            run();
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
