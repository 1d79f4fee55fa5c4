#pragma once

#include <chrono>
#include <cstdint>
#include <span>

#include "clip_player.h"

struct pa_context;
struct pa_mainloop;
struct pa_stream;

namespace talmo {

// Plays clips through the desktop's sound server (PulseAudio, or PipeWire's
// pulse service) on the calling thread.
//
// The connection and one playback stream stay open across calls, so the
// clips of a number follow each other without the cost of a new stream. The
// stream is mono at the clips' rate, and the server maps it onto whatever
// the default sink is (any rate, mono or stereo).
//
// The server is only ever waited on with a deadline: with no server a call
// fails at once, and if the server stalls or dies mid-clip the call gives up
// within the clip's length plus a second. Once a clip has failed, the rest of
// its number fails at once, so a dead server costs a number at most its
// longest clip plus a second; the next number connects afresh, so a server
// that comes back is used again.
class PulseClipPlayer final : public ClipPlayer {
  public:
    using Clock = std::chrono::steady_clock;

    PulseClipPlayer();
    ~PulseClipPlayer() override;
    PulseClipPlayer(const PulseClipPlayer&) = delete;
    PulseClipPlayer& operator=(const PulseClipPlayer&) = delete;

    bool PlaySync(ClipBytes image) override;
    void BeginNumber() override { number_failed_ = false; }

  private:
    bool EnsureStream(Clock::time_point deadline);
    using ClipSamples = std::span<const std::int16_t>;
    bool Write(ClipSamples samples);
    bool Drain(Clock::time_point deadline);
    // Runs the server connection's events once, waiting at most until the
    // deadline; false once the deadline has passed.
    bool Iterate(Clock::time_point deadline);
    bool Broken() const;
    void Disconnect();

    pa_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    bool number_failed_ = false;
};

}  // namespace talmo
