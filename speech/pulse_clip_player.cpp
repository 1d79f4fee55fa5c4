// SPDX-License-Identifier: MIT
#include "speech/pulse_clip_player.h"

#include <dlfcn.h>
#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/operation.h>
#include <pulse/proplist.h>
#include <pulse/stream.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "speech/wave_image.h"

namespace talmo {
namespace {

using namespace std::chrono_literals;
using Clock = PulseClipPlayer::Clock;

// A server that does not answer a connection within this is treated as absent.
constexpr auto kConnectTimeout = 500ms;
// How long past a clip's own length a call may wait for a stalled server.
constexpr auto kStallAllowance = 1s;

// Follows each clip, so that a server that plays in blocks takes the clip's
// last part at once: longer than the largest block a desktop uses.
constexpr auto kTrailingSilence = 200ms;
// Inside a number a call returns this long before the server has taken its
// clip, so that the next clip is already behind it when it runs out...
constexpr auto kHandOver = 100ms;
// ... and the next clip is written there as long as the server is at least
// this far from the end; a caller later than that waits for the end and
// starts its clip where playback is then. The margin covers the server's
// block and its reply's age.
constexpr auto kFollowMargin = 40ms;
// When to start asking whether a clip has been taken, before it can have
// been, and how often from then on.
constexpr auto kPollLead = 20ms;
constexpr auto kPollInterval = 250us;
// The longest the server is waited on before a stop is looked for.
constexpr std::chrono::microseconds kStopLook = 50ms;

const pa_sample_spec kSampleFormat{PA_SAMPLE_S16LE, kClipSampleRate, 1};

constexpr std::int64_t kBytesPerSecond = kClipSampleRate * 2;

std::int64_t BytesFor(Clock::duration span) {
    return std::chrono::duration_cast<std::chrono::microseconds>(span).count() * kBytesPerSecond /
           1'000'000;
}
Clock::duration TimeFor(std::int64_t bytes) {
    return std::chrono::microseconds(bytes * 1'000'000 / kBytesPerSecond);
}

void Ack(pa_stream*, int success, void* user) {
    *static_cast<int*>(user) = success;
}

// libpulse is opened at the first clip, not linked: with the codecs its
// libsndfile brings, it would cost every start of the tutor a dozen libraries
// and a megabyte before anything is played. The functions are looked up once;
// without the library the player is silent, as when no server can be reached.
#define TALMO_PULSE_FUNCTIONS(X)    \
    X(pa_context_connect)           \
    X(pa_context_disconnect)        \
    X(pa_context_get_state)         \
    X(pa_context_new_with_proplist) \
    X(pa_context_unref)             \
    X(pa_mainloop_dispatch)         \
    X(pa_mainloop_free)             \
    X(pa_mainloop_get_api)          \
    X(pa_mainloop_iterate)          \
    X(pa_mainloop_new)              \
    X(pa_mainloop_poll)             \
    X(pa_mainloop_prepare)          \
    X(pa_operation_cancel)          \
    X(pa_operation_unref)           \
    X(pa_proplist_free)             \
    X(pa_proplist_new)              \
    X(pa_proplist_sets)             \
    X(pa_stream_connect_playback)   \
    X(pa_stream_cork)               \
    X(pa_stream_disconnect)         \
    X(pa_stream_drain)              \
    X(pa_stream_flush)              \
    X(pa_stream_get_state)          \
    X(pa_stream_get_timing_info)    \
    X(pa_stream_new)                \
    X(pa_stream_unref)              \
    X(pa_stream_update_timing_info) \
    X(pa_stream_write)

struct PulseLibrary {
#define TALMO_PULSE_POINTER(name) decltype(&::name) name = nullptr;
    TALMO_PULSE_FUNCTIONS(TALMO_PULSE_POINTER)
#undef TALMO_PULSE_POINTER
};

// The library's functions, or null if it is missing or lacks one of them.
const PulseLibrary* OpenPulse() {
    static const PulseLibrary* const library = []() -> const PulseLibrary* {
        void* handle = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            return nullptr;
        }
        static PulseLibrary functions;
        bool complete = true;
#define TALMO_PULSE_LOOK_UP(name)                                               \
    functions.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
    complete = complete && functions.name != nullptr;
        TALMO_PULSE_FUNCTIONS(TALMO_PULSE_LOOK_UP)
#undef TALMO_PULSE_LOOK_UP
        if (!complete) {
            dlclose(handle);
            return nullptr;
        }
        return &functions;
    }();
    return library;
}

// Only called once EnsureStream has opened the library.
const PulseLibrary& Lib() {
    return *OpenPulse();
}

}  // namespace

PulseClipPlayer::PulseClipPlayer(std::chrono::milliseconds target_latency)
    : target_latency_(target_latency) {}

PulseClipPlayer::~PulseClipPlayer() {
    Disconnect();
}

bool PulseClipPlayer::PlaySync(ClipBytes image) {
    const auto start = Clock::now();
    const auto samples = DecodeClip(image);
    if (!samples || number_failed_) {
        return false;
    }
    const auto length = TimeFor(static_cast<std::int64_t>(samples->size() * sizeof(std::int16_t)));
    // Behind the clip before, this clip starts at most a hand-over from now,
    // and the call returns a hand-over before it ends.
    const auto deadline = start + length + kStallAllowance;

    std::int64_t end = 0;
    if (!EnsureStream(std::min(deadline, start + kConnectTimeout)) ||
        !Write(*samples, end, deadline) ||
        !WaitUntilRead(in_number_ ? end - BytesFor(kHandOver) : end, deadline) ||
        (!in_number_ && !Finish(deadline))) {
        Fail();
        return false;
    }
    if (in_number_) {
        clip_end_ = end;
    }
    return true;
}

void PulseClipPlayer::BeginNumber() {
    stop_ = false;
    number_failed_ = false;
    in_number_ = true;
    clip_end_.reset();
}

void PulseClipPlayer::EndNumber() {
    in_number_ = false;
    if (number_failed_ || stream_ == nullptr) {
        return;
    }
    // The last clip's hand-over is still to be taken.
    const auto deadline = Clock::now() + kHandOver + kStallAllowance;
    const auto last_end = std::exchange(clip_end_, std::nullopt);
    if ((last_end && !WaitUntilRead(*last_end, deadline)) || !Finish(deadline)) {
        Fail();
    }
}

void PulseClipPlayer::Fail() {
    // Whatever went wrong, the next number starts from a fresh connection.
    Disconnect();
    number_failed_ = true;
}

bool PulseClipPlayer::Iterate(Clock::time_point deadline) {
    const auto now = Clock::now();
    if (now >= deadline) {
        return false;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(deadline - now);
    if (Lib().pa_mainloop_prepare(
            loop_, static_cast<int>(std::min<std::int64_t>(wait.count(), kStopLook.count()))) < 0 ||
        Lib().pa_mainloop_poll(loop_) < 0 || Lib().pa_mainloop_dispatch(loop_) < 0) {
        return false;
    }
    return true;
}

bool PulseClipPlayer::Broken() const {
    if (stop_) {
        return true;
    }
    if (context_ == nullptr || !PA_CONTEXT_IS_GOOD(Lib().pa_context_get_state(context_))) {
        return true;
    }
    return stream_ != nullptr && !PA_STREAM_IS_GOOD(Lib().pa_stream_get_state(stream_));
}

bool PulseClipPlayer::EnsureStream(Clock::time_point deadline) {
    if (loop_ != nullptr) {
        // Take in what the server said since the last clip, so that a server
        // that went away meanwhile is noticed before this clip is lost to it.
        Lib().pa_mainloop_iterate(loop_, 0, nullptr);
    }
    if (stream_ != nullptr && !Broken() && Lib().pa_stream_get_state(stream_) == PA_STREAM_READY) {
        return true;
    }
    Disconnect();

    if (OpenPulse() == nullptr) {
        return false;
    }
    loop_ = Lib().pa_mainloop_new();
    if (loop_ == nullptr) {
        return false;
    }
    pa_proplist* props = Lib().pa_proplist_new();
    Lib().pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Talmo");
    Lib().pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "talmo");
    context_ = Lib().pa_context_new_with_proplist(Lib().pa_mainloop_get_api(loop_), "Talmo", props);
    Lib().pa_proplist_free(props);
    // Never start a server of our own: without one the tutor is silent.
    if (context_ == nullptr ||
        Lib().pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        return false;
    }
    while (Lib().pa_context_get_state(context_) != PA_CONTEXT_READY) {
        if (Broken() || !Iterate(deadline)) {
            return false;
        }
    }

    stream_ = Lib().pa_stream_new(context_, "Talmo clip", &kSampleFormat, nullptr);
    if (stream_ == nullptr) {
        return false;
    }
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(BytesFor(target_latency_));
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    // The server resamples and remixes: a desktop's sink is rarely 8 kHz mono.
    if (Lib().pa_stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr,
                                         nullptr) < 0) {
        return false;
    }
    while (Lib().pa_stream_get_state(stream_) != PA_STREAM_READY) {
        if (Broken() || !Iterate(deadline)) {
            return false;
        }
    }
    return true;
}

bool PulseClipPlayer::Write(ClipSamples samples, std::int64_t& end, Clock::time_point deadline) {
    // The whole clip goes to the server at once: it buffers up to maxlength
    // (megabytes) beyond the target length, so the clip cannot run dry while
    // this thread is not scheduled.
    if (Broken()) {
        return false;
    }
    static const std::vector<std::int16_t> silence(
        static_cast<std::size_t>(BytesFor(kTrailingSilence)) / sizeof(std::int16_t));
    const auto silence_bytes = static_cast<std::int64_t>(silence.size() * sizeof(std::int16_t));
    const auto clip_bytes = static_cast<std::int64_t>(samples.size_bytes());
    if (clip_end_ && ReadPositionNow() + BytesFor(kFollowMargin) <= *clip_end_) {
        // Straight behind the clip before, over its silence: the server has
        // not reached it, so nothing is skipped and there is no gap. Placed
        // at the read position instead, on PipeWire's pulse service under
        // load, clips lost parts of themselves.
        if (Lib().pa_stream_write(stream_, samples.data(), samples.size_bytes(), nullptr,
                                  -silence_bytes, PA_SEEK_RELATIVE) != 0) {
            return false;
        }
        end = *clip_end_ + clip_bytes;
    } else {
        // A new number, or a caller so late that the clip before may be
        // running out: once it has been taken, start where playback is. After
        // a drain the server's read position can lie beyond the end of what
        // was written, so a clip written at the end would lose its start.
        if ((clip_end_ && !WaitUntilRead(*clip_end_, deadline)) ||
            Lib().pa_stream_write(stream_, samples.data(), samples.size_bytes(), nullptr, 0,
                                  PA_SEEK_RELATIVE_ON_READ) != 0 ||
            !UpdateTiming(deadline)) {
            return false;
        }
        // Where the clip ends in the stream: the server chose where it begins.
        const pa_timing_info* timing = Lib().pa_stream_get_timing_info(stream_);
        if (timing == nullptr || timing->write_index_corrupt) {
            return false;
        }
        end = timing->write_index;
    }
    // A server that plays in blocks (PipeWire) takes a clip's last part only
    // with a block's worth behind it. Silence follows each clip, so the clip
    // is taken whole at once; the next clip, or the end of the number, drops
    // what is left of it.
    if (Lib().pa_stream_write(stream_, silence.data(), static_cast<std::size_t>(silence_bytes),
                              nullptr, 0, PA_SEEK_RELATIVE) != 0) {
        return false;
    }
    return !corked_ || Cork(false);
}

bool PulseClipPlayer::Cork(bool pause) {
    pa_operation* op = Lib().pa_stream_cork(stream_, pause ? 1 : 0, nullptr, nullptr);
    if (op == nullptr) {
        return false;
    }
    Lib().pa_operation_unref(op);
    corked_ = pause;
    return true;
}

bool PulseClipPlayer::UpdateTiming(Clock::time_point deadline) {
    return Await(Lib().pa_stream_update_timing_info(stream_, Ack, &reply_), deadline);
}

bool PulseClipPlayer::Await(pa_operation* op, Clock::time_point deadline) {
    if (op == nullptr) {
        return false;
    }
    // The reply can only come from Iterate below.
    reply_ = -1;
    bool ok = true;
    while (reply_ < 0) {
        if (Broken() || !Iterate(deadline)) {
            ok = false;
            break;
        }
    }
    if (!ok) {
        Lib().pa_operation_cancel(op);
    }
    Lib().pa_operation_unref(op);
    return ok && reply_ > 0;
}

std::int64_t PulseClipPlayer::ReadPositionNow() const {
    // Where the server was at its last report, moved on by the time since at
    // the stream's rate. It reads ahead of that by up to a block, which the
    // margin it is held to allows for.
    if (read_seen_ == Clock::time_point{}) {
        return read_index_;
    }
    return read_index_ + BytesFor(Clock::now() - read_seen_);
}

bool PulseClipPlayer::ReadIndexAtLeast(std::int64_t target, Clock::time_point deadline) {
    if (!UpdateTiming(deadline)) {
        return false;
    }
    const pa_timing_info* timing = Lib().pa_stream_get_timing_info(stream_);
    if (timing == nullptr || timing->read_index_corrupt) {
        return false;
    }
    read_index_ = timing->read_index;
    read_seen_ = Clock::now();
    return read_index_ >= target;
}

bool PulseClipPlayer::WaitUntilRead(std::int64_t target, Clock::time_point deadline) {
    for (;;) {
        if (ReadIndexAtLeast(target, deadline)) {
            return true;
        }
        if (Broken() || Clock::now() >= deadline) {
            return false;
        }
        // Nothing to ask before the server can have got there; then ask
        // often, as every millisecond of delay may be silence between clips.
        const auto expected = read_seen_ + TimeFor(target - read_index_);
        if (!Sleep(std::max(expected - kPollLead, Clock::now() + kPollInterval), deadline)) {
            return false;
        }
    }
}

bool PulseClipPlayer::Sleep(Clock::time_point until, Clock::time_point deadline) {
    // The server's events are taken in meanwhile, so that one that goes away
    // is noticed.
    const auto wake = std::min(until, deadline);
    while (Clock::now() < wake) {
        if (Broken() || !Iterate(wake)) {
            break;
        }
    }
    return !Broken() && Clock::now() < deadline;
}

bool PulseClipPlayer::Finish(Clock::time_point deadline) {
    // Drop the silence not yet taken, wait for what was taken to be heard,
    // and pause the stream so that the server may let its sink idle.
    if (!Await(Lib().pa_stream_flush(stream_, Ack, &reply_), deadline) ||
        !Await(Lib().pa_stream_drain(stream_, Ack, &reply_), deadline) || !UpdateTiming(deadline)) {
        return false;
    }
    // Drained means the sink has taken the last sample, not played it: that
    // takes the sink's own latency more.
    const pa_timing_info* timing = Lib().pa_stream_get_timing_info(stream_);
    if (timing == nullptr) {
        return false;
    }
    // A server is not stalled for that: it may run past the clip's deadline.
    const auto heard = Clock::now() + std::chrono::microseconds(timing->sink_usec);
    if (!Sleep(heard, std::max(deadline, heard + 1ms))) {
        return false;
    }
    return Cork(true);
}

void PulseClipPlayer::Disconnect() {
    if (stream_ != nullptr) {
        Lib().pa_stream_disconnect(stream_);
        Lib().pa_stream_unref(stream_);
        stream_ = nullptr;
        corked_ = false;
        clip_end_.reset();
        read_seen_ = {};
    }
    if (context_ != nullptr) {
        Lib().pa_context_disconnect(context_);
        Lib().pa_context_unref(context_);
        context_ = nullptr;
    }
    if (loop_ != nullptr) {
        Lib().pa_mainloop_free(loop_);
        loop_ = nullptr;
    }
}

}  // namespace talmo
