#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace talmo::testing {

// A PulseAudio server of a test's own: a private runtime folder, one null
// sink in the clips' format (8000 Hz mono s16le, norewinds=1, so it does not
// work in 2-second blocks) and nothing else. While it runs, PULSE_SERVER
// points this process at it. Everything it starts dies with the test process
// and is removed when the object goes away.
class PrivatePulseServer {
  public:
    PrivatePulseServer();
    ~PrivatePulseServer();
    PrivatePulseServer(const PrivatePulseServer&) = delete;
    PrivatePulseServer& operator=(const PrivatePulseServer&) = delete;

    // Empty when the server runs; otherwise why it could not be started.
    const std::string& Error() const { return error_; }
    std::string Address() const;

    // Records the sink's monitor with parec: exactly the samples played.
    bool StartRecording();
    std::vector<std::int16_t> StopRecording();

    // Faults a test may inflict.
    void Stop();      // SIGSTOP: the server stalls
    void Continue();  // SIGCONT
    void Kill();      // the server dies
    bool Restart();   // a new server at the same address

  private:
    bool Start();

    std::filesystem::path dir_;
    std::string error_;
    pid_t server_ = -1;
    pid_t recorder_ = -1;
    std::string saved_pulse_server_;
    bool had_pulse_server_ = false;
};

// Where each expected clip was found in a recording, in samples.
struct ClipPlacement {
    std::size_t begin;
    std::size_t end;
};

// Finds the clips one after the other in the recording, each after the end of
// the previous; stops at the first one missing.
std::vector<ClipPlacement> PlaceClips(const std::vector<std::int16_t>& recording,
                                      const std::vector<std::vector<std::int16_t>>& clips);

}  // namespace talmo::testing
