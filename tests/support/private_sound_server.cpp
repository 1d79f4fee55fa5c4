// SPDX-License-Identifier: MIT
#include "tests/support/private_sound_server.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

namespace talmo::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Starts a program with the given extra environment, its output going to a
// file; it is killed when this process dies, however that happens.
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const fs::path& output) {
    // Everything is prepared before fork: the child only calls what is safe there.
    std::vector<std::string> environment = env;
    for (char** e = environ; *e != nullptr; ++e) {
        environment.emplace_back(*e);  // later duplicates lose to the first
    }
    std::vector<char*> envp;
    for (std::string& e : environment) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    std::vector<char*> args;
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);

    const pid_t pid = fork();
    if (pid != 0) {
        return pid;
    }
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The server script restarts its service on SIGHUP, and a shell cannot
    // trap a signal that was ignored when it started, as under nohup.
    signal(SIGHUP, SIG_DFL);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(out, 1);
    dup2(out, 2);
    execvpe(args[0], args.data(), envp.data());
    _exit(127);
}

void EndProcess(pid_t& pid, int signal) {
    if (pid <= 0) {
        return;
    }
    kill(pid, SIGCONT);
    kill(pid, signal);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        std::this_thread::sleep_for(10ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

bool ProgramExists(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        if (access((fs::path(dirs.substr(start, end - start)) / name).c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

PrivateSoundServer::PrivateSoundServer(const SoundSetup& setup, Blocks blocks)
    : setup_(setup), blocks_(blocks) {
    if (const char* current = std::getenv("PULSE_SERVER")) {
        had_pulse_server_ = true;
        saved_pulse_server_ = current;
    }
    const std::vector<std::string> needed =
        setup.PipeWire() ? std::vector<std::string>{"pipewire",    "wireplumber", "pipewire-pulse",
                                                    "dbus-daemon", "pactl",       "parec"}
                         : std::vector<std::string>{"pulseaudio", "pactl", "parec"};
    for (const std::string& program : needed) {
        if (!ProgramExists(program)) {
            error_ = program +
                     " is not installed (Debian: pulseaudio-utils, and pulseaudio or pipewire, "
                     "wireplumber, pipewire-pulse, dbus)";
            return;
        }
    }
    std::string pattern = (fs::temp_directory_path() / "talmo-sound-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error_ = "cannot make a temporary folder";
        return;
    }
    dir_ = pattern;
    setenv("PULSE_SERVER", Address().c_str(), 1);
    std::vector<std::string> env;
    if (blocks == Blocks::kDesktop) {
        env.push_back(std::string("TALMO_PIPEWIRE_MIN_QUANTUM=") +
                      (setup.rate <= 16000 ? "64" : "32"));
    }
    script_ = Spawn({TALMO_SOUND_SERVER_SCRIPT, setup.server, std::to_string(setup.rate),
                     std::to_string(setup.channels), dir_.string()},
                    env, dir_ / "script.log");
    WaitUntilReady();
}

PrivateSoundServer::~PrivateSoundServer() {
    EndProcess(recorder_, SIGINT);
    Continue();
    EndProcess(script_, SIGTERM);
    if (had_pulse_server_) {
        setenv("PULSE_SERVER", saved_pulse_server_.c_str(), 1);
    } else {
        unsetenv("PULSE_SERVER");
    }
    if (!dir_.empty()) {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
}

std::string PrivateSoundServer::Address() const {
    return "unix:" + (dir_ / "runtime" / "pulse" / "native").string();
}

bool PrivateSoundServer::WaitUntilReady() {
    const auto give_up = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < give_up) {
        if (fs::exists(dir_ / "ready")) {
            error_.clear();
            return true;
        }
        if (waitpid(script_, nullptr, WNOHANG) == script_) {
            script_ = -1;
            break;
        }
        std::this_thread::sleep_for(20ms);
    }
    std::ifstream log(dir_ / "script.log");
    error_ = std::string(setup_.server) +
             " did not start: " + std::string(std::istreambuf_iterator<char>(log), {});
    return false;
}

pid_t PrivateSoundServer::ServicePid() const {
    std::ifstream file(dir_ / "pulse.pid");
    pid_t pid = -1;
    file >> pid;
    return pid;
}

bool PrivateSoundServer::StartRecording() {
    const fs::path raw = dir_ / "monitor.raw";
    const int channels = setup_.BitExact() ? 1 : 2;
    const char* latency = blocks_ == Blocks::kDesktop ? "100" : "10";
    // A recording left by an earlier one would read as this one having begun.
    std::error_code gone;
    fs::remove(raw, gone);
    recorder_ = Spawn({"sh", "-c",
                       "exec parec -d ns.monitor --raw --format=s16le --rate=8000 --channels=" +
                           std::to_string(channels) + " --latency-msec=" + latency + " > \"$0\"",
                       raw.string()},
                      {"HOME=" + (dir_ / "home").string()}, dir_ / "parec.log");
    // The monitor streams silence while nothing plays: recording has begun
    // once the file grows.
    const auto give_up = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < give_up) {
        std::error_code ec;
        if (fs::file_size(raw, ec) > 0 && !ec) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

std::vector<Channel> PrivateSoundServer::StopRecording() {
    // Let the last samples through the monitor's latency first.
    std::this_thread::sleep_for(200ms);
    EndProcess(recorder_, SIGINT);
    std::ifstream file(dir_ / "monitor.raw", std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(file), {});
    const std::size_t channels = setup_.BitExact() ? 1 : 2;
    std::vector<Channel> recording(channels, Channel(bytes.size() / 2 / channels));
    for (std::size_t i = 0; i < recording[0].size() * channels; ++i) {
        std::int16_t sample;
        std::memcpy(&sample, bytes.data() + 2 * i, 2);
        recording[i % channels][i / channels] = sample;
    }
    return recording;
}

void PrivateSoundServer::Stop() {
    if (const pid_t pid = ServicePid(); pid > 0) {
        kill(pid, SIGSTOP);
    }
}
void PrivateSoundServer::Continue() {
    if (const pid_t pid = ServicePid(); pid > 0) {
        kill(pid, SIGCONT);
    }
}
void PrivateSoundServer::Kill() {
    if (const pid_t pid = ServicePid(); pid > 0) {
        kill(pid, SIGKILL);
    }
}
bool PrivateSoundServer::Restart() {
    fs::remove(dir_ / "ready");
    kill(script_, SIGHUP);
    return WaitUntilReady();
}

std::vector<ClipPlacement> PlaceClips(const Channel& recording, const std::vector<Channel>& clips) {
    std::vector<ClipPlacement> placements;
    auto from = recording.begin();
    for (const auto& clip : clips) {
        const auto at = std::search(from, recording.end(), clip.begin(), clip.end());
        if (at == recording.end()) {
            break;
        }
        const auto begin = static_cast<std::size_t>(at - recording.begin());
        placements.push_back({begin, begin + clip.size()});
        from = at + static_cast<std::ptrdiff_t>(clip.size());
    }
    return placements;
}

}  // namespace talmo::testing

namespace talmo::testing {

namespace {

// The clip delayed by a fraction of a sample (windowed sinc): a resampler
// delays by a fraction, and an integer lag alone would miss a clip with
// much sound near 4 kHz.
std::vector<double> Delayed(const Channel& clip, double fraction) {
    constexpr int kTaps = 24;
    std::vector<double> out(clip.size());
    for (std::size_t n = 0; n < clip.size(); ++n) {
        double sum = 0;
        for (int k = -kTaps; k <= kTaps; ++k) {
            const auto i = static_cast<std::ptrdiff_t>(n) - k;
            if (i < 0 || i >= static_cast<std::ptrdiff_t>(clip.size())) {
                continue;
            }
            const double x = k - fraction;
            const double sinc = x == 0 ? 1 : std::sin(M_PI * x) / (M_PI * x);
            const double window = 0.5 + 0.5 * std::cos(M_PI * x / (kTaps + 1));
            sum += clip[static_cast<std::size_t>(i)] * sinc * window;
        }
        out[n] = sum;
    }
    return out;
}

double Correlation(const Channel& recording, std::ptrdiff_t lag, const std::vector<double>& clip) {
    if (lag < 0 || lag + static_cast<std::ptrdiff_t>(clip.size()) >
                       static_cast<std::ptrdiff_t>(recording.size())) {
        return -1;
    }
    double cross = 0, energy = 0, clip_energy = 0;
    for (std::size_t i = 0; i < clip.size(); ++i) {
        const double r = recording[static_cast<std::size_t>(lag) + i];
        cross += r * clip[i];
        energy += r * r;
        clip_energy += clip[i] * clip[i];
    }
    return cross / std::sqrt(clip_energy * energy + 1e-9);
}

}  // namespace

std::vector<ClipPlacement> PlaceClipsByCorrelation(const Channel& recording,
                                                   const std::vector<Channel>& clips,
                                                   double min_correlation) {
    // Each clip is looked for where the recording first grows as loud as the
    // clip's own onset, then placed by correlation within 150 ms either side:
    // resampled, the first loud sample can fall just short of the onset
    // level, and the guess then lands on the next syllable (N30's is 60 ms
    // on).
    constexpr std::ptrdiff_t kSearch = 1200;
    constexpr int kFractions = 8;
    std::vector<ClipPlacement> placements;
    std::size_t from = 0;
    for (const Channel& clip : clips) {
        int peak = 1;
        for (const std::int16_t c : clip) {
            peak = std::max(peak, std::abs(int{c}));
        }
        const auto loud = [onset_level = peak / 4](std::int16_t s) {
            return std::abs(int{s}) > onset_level;
        };
        const auto onset = std::find_if(recording.begin() + static_cast<std::ptrdiff_t>(from),
                                        recording.end(), loud);
        const auto clip_onset = std::find_if(clip.begin(), clip.end(), loud);
        if (onset == recording.end() || clip_onset == clip.end()) {
            break;
        }
        const std::ptrdiff_t guess = (onset - recording.begin()) - (clip_onset - clip.begin());
        // The whole-sample lag first, then the fraction around it.
        const std::vector<double> whole = Delayed(clip, 0);
        ClipPlacement best{0, 0, -1};
        std::ptrdiff_t best_lag = 0;
        const auto earliest = std::max(guess - kSearch, static_cast<std::ptrdiff_t>(from));
        for (std::ptrdiff_t lag = earliest; lag <= guess + kSearch; ++lag) {
            if (const double c = Correlation(recording, lag, whole); c > best.correlation) {
                best.correlation = c;
                best_lag = lag;
            }
        }
        for (int f = 1; f < kFractions; ++f) {
            const std::vector<double> delayed = Delayed(clip, static_cast<double>(f) / kFractions);
            for (const std::ptrdiff_t lag : {best_lag - 1, best_lag}) {
                best.correlation = std::max(best.correlation, Correlation(recording, lag, delayed));
            }
        }
        if (best.correlation < min_correlation) {
            break;
        }
        best.begin = static_cast<std::size_t>(std::max<std::ptrdiff_t>(best_lag, 0));
        best.end = best.begin + clip.size();
        placements.push_back(best);
        from = best.end;
    }
    return placements;
}

}  // namespace talmo::testing
