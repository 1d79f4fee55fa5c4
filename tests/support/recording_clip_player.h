// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "speech/clip_player.h"

namespace talmo {

// A player for tests: it plays nothing, keeps a copy of every image
// it is handed, in order, and answers with a fixed result.
class RecordingClipPlayer final : public ClipPlayer {
  public:
    explicit RecordingClipPlayer(bool succeed = true) : succeed_(succeed) {}

    bool PlaySync(ClipBytes image) override {
        images_.emplace_back(image.begin(), image.end());
        return succeed_;
    }

    void BeginNumber() override { number_starts_.push_back(images_.size()); }
    void EndNumber() override { number_ends_.push_back(images_.size()); }

    const std::vector<std::vector<std::uint8_t>>& Images() const { return images_; }
    // Where each number began, as an index into Images().
    const std::vector<std::size_t>& NumberStarts() const { return number_starts_; }
    // Where each number ended, as an index one past its last image.
    const std::vector<std::size_t>& NumberEnds() const { return number_ends_; }

  private:
    bool succeed_;
    std::vector<std::vector<std::uint8_t>> images_;
    std::vector<std::size_t> number_starts_;
    std::vector<std::size_t> number_ends_;
};

}  // namespace talmo
