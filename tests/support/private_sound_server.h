// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace talmo::testing {

// A sound set-up as a desktop may have it: the server that speaks the pulse
// protocol, and the rate and channels of its default sink.
struct SoundSetup {
    const char* name;    // for test names: letters, digits and underscores
    const char* server;  // "pulseaudio", or "pipewire" with its pulse service
    int rate;
    int channels;

    // The sink is in the clips' own format, so its monitor holds exactly the
    // samples played; elsewhere the server resamples and remixes.
    bool BitExact() const { return rate == 8000 && channels == 1; }
    bool PipeWire() const { return std::string(server) == "pipewire"; }
};

// The smallest block sound-server.sh lets PipeWire's graph use at 8 kHz.
constexpr std::size_t kPipeWireBlockAt8kHz = 256;

// How a test names its set-up in its output.
inline void PrintTo(const SoundSetup& setup, std::ostream* out) {
    *out << setup.name;
}

inline const std::vector<SoundSetup>& SoundSetups() {
    static const std::vector<SoundSetup> setups{
        {"PulseAudio_8kHz_mono", "pulseaudio", 8000, 1},
        {"PulseAudio_48kHz_stereo", "pulseaudio", 48000, 2},
        {"PipeWire_8kHz_mono", "pipewire", 8000, 1},
        {"PipeWire_48kHz_stereo", "pipewire", 48000, 2},
    };
    return setups;
}

using Channel = std::vector<std::int16_t>;

// A sound server of a test's own (tests/support/sound-server.sh): a private
// runtime folder and a null sink as the default sink. While it runs,
// PULSE_SERVER points this process at it. Everything it starts dies with the
// test process and is removed when the object goes away.
class PrivateSoundServer {
  public:
    // PipeWire's graph plays in blocks no smaller than the tests' clean ones
    // (see sound-server.sh), or in the small ones a desktop allows: 32
    // samples, though no fewer than 64 at 8 kHz, where 32 underrun on a
    // small machine in most numbers. On a desktop the recording does not set
    // the block either: the player's stream does.
    enum class Blocks { kClean, kDesktop };

    explicit PrivateSoundServer(const SoundSetup& setup = SoundSetups().front(),
                                Blocks blocks = Blocks::kClean);
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // Empty when the server runs; otherwise why it could not be started.
    const std::string& Error() const { return error_; }
    std::string Address() const;
    std::string RuntimeDir() const { return (dir_ / "runtime").string(); }
    const SoundSetup& Setup() const { return setup_; }

    // Records the sink's monitor with parec at the clips' rate, one channel
    // per channel of the sink (the server resamples where the sink's rate
    // differs). In a bit-exact set-up it holds exactly the samples played.
    bool StartRecording();
    std::vector<Channel> StopRecording();
    // The recording as parec writes it, s16le, for a reader that follows it live.
    std::filesystem::path RecordingFile() const { return dir_ / "monitor.raw"; }

    // Faults a test may inflict on the process that serves the pulse protocol.
    void Stop();      // SIGSTOP: the server stalls
    void Continue();  // SIGCONT
    void Kill();      // the server dies
    bool Restart();   // a new one at the same address, with its sink

  private:
    bool WaitUntilReady();
    pid_t ServicePid() const;

    SoundSetup setup_;
    Blocks blocks_;
    std::filesystem::path dir_;
    std::string error_;
    pid_t script_ = -1;
    pid_t recorder_ = -1;
    std::string saved_pulse_server_;
    bool had_pulse_server_ = false;
};

// Where each expected clip was found in a recording, in samples.
struct ClipPlacement {
    std::size_t begin;
    std::size_t end;
    double correlation = 1;  // 1 where found sample for sample
};

// Finds the clips one after the other in the recording, each after the end of
// the previous, sample for sample; stops at the first one missing.
std::vector<ClipPlacement> PlaceClips(const Channel& recording, const std::vector<Channel>& clips);

// The same for a resampled recording: each clip is placed where it correlates
// best, near the first sound after the previous clip; stops at the first one
// whose best correlation is below min_correlation.
std::vector<ClipPlacement> PlaceClipsByCorrelation(const Channel& recording,
                                                   const std::vector<Channel>& clips,
                                                   double min_correlation);

}  // namespace talmo::testing
