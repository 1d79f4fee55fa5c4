// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

#include "speech/clip_player.h"

struct pa_context;
struct pa_mainloop;
struct pa_operation;
struct pa_stream;

namespace talmo {

// Plays clips through the desktop's sound server (PulseAudio, or PipeWire's
// pulse service) on the calling thread.
//
// The connection and one playback stream stay open across calls, so the
// clips of a number follow each other without the cost of a new stream.
// Inside a number, a call returns a little before the server has taken the
// whole clip, and the next clip is written straight behind it, over the
// silence that follows each clip: the clips join without a gap, whatever
// block the server plays in. A caller too late for that waits until the clip
// before has been taken and starts where playback is. The number's end waits
// until all of it has been heard, then pauses the stream so that the server
// may let the sink idle. A clip played outside a number is a number of its
// own.
//
// The stream is mono at the clips' rate, and the server maps it onto
// whatever the default sink is (any rate, mono or stereo).
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

    // The stream's target length sets the sink's latency: how long a number,
    // or a lone clip, takes to start, and how long its end takes to be heard.
    // The joins inside a number do not depend on it, as each clip is written
    // right behind the one before. PipeWire's graph plays in blocks set by
    // the smallest target of its streams: at 40 ms in 5.3 ms blocks (at
    // 48 kHz), of which a busy desktop now and then misses one, a hole in a
    // clip; at 100 ms in 21 ms blocks, which held under every load tried, with
    // a number's first sample 25 ms after the call. At 200 ms a number's end
    // was heard 100 ms before the call came back.
    static constexpr std::chrono::milliseconds kTargetLatency{100};

    explicit PulseClipPlayer(std::chrono::milliseconds target_latency = kTargetLatency);
    ~PulseClipPlayer() override;
    PulseClipPlayer(const PulseClipPlayer&) = delete;
    PulseClipPlayer& operator=(const PulseClipPlayer&) = delete;

    bool PlaySync(ClipBytes image) override;
    void BeginNumber() override;
    void EndNumber() override;
    // Drops the connection at its next look, within 50 ms, so that the
    // server stops at once; the next number connects afresh.
    void Stop() override { stop_ = true; }

  private:
    bool EnsureStream(Clock::time_point deadline);
    using ClipSamples = std::span<const std::int16_t>;
    // Sends the clip, and silence after it; `end` is where the clip ends in
    // the stream.
    bool Write(ClipSamples samples, std::int64_t& end, Clock::time_point deadline);
    // Waits until the server has taken the stream up to `target`.
    bool WaitUntilRead(std::int64_t target, Clock::time_point deadline);
    // Asks the server where it reads, and whether it has reached `target`.
    bool ReadIndexAtLeast(std::int64_t target, Clock::time_point deadline);
    // The furthest the server can have read by now.
    std::int64_t ReadPositionNow() const;
    // Waits until the stream has been heard to its end, then pauses it.
    bool Finish(Clock::time_point deadline);
    bool Cork(bool pause);
    bool UpdateTiming(Clock::time_point deadline);
    // Waits for the operation's acknowledgement; false if it failed or the
    // deadline passed.
    bool Await(pa_operation* op, Clock::time_point deadline);
    // Takes in the server's events until `until`; false once the stream is
    // broken or the deadline has passed.
    bool Sleep(Clock::time_point until, Clock::time_point deadline);
    void Fail();
    // Runs the server connection's events once, waiting at most until the
    // deadline; false once the deadline has passed.
    bool Iterate(Clock::time_point deadline);
    bool Broken() const;
    void Disconnect();

    std::chrono::milliseconds target_latency_;
    pa_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    std::atomic<bool> stop_ = false;  // until the next number begins
    bool number_failed_ = false;
    bool in_number_ = false;
    bool corked_ = false;
    int reply_ = -1;
    // Where the number's last clip ends in the stream, while it may still be
    // playing.
    std::optional<std::int64_t> clip_end_;
    // The server's last reported read position, and when it came.
    std::int64_t read_index_ = 0;
    Clock::time_point read_seen_;
};

}  // namespace talmo
