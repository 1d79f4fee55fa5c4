#include "private_pulse_server.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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

bool Accepts(const fs::path& socket_path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, socket_path.c_str(), sizeof(addr.sun_path) - 1);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
    close(fd);
    return ok;
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

PrivatePulseServer::PrivatePulseServer() {
    if (const char* current = std::getenv("PULSE_SERVER")) {
        had_pulse_server_ = true;
        saved_pulse_server_ = current;
    }
    for (const char* program : {"pulseaudio", "parec"}) {
        if (!ProgramExists(program)) {
            error_ =
                std::string(program) + " is not installed (Debian: pulseaudio, pulseaudio-utils)";
            return;
        }
    }
    std::string pattern = (fs::temp_directory_path() / "talmo-pulse-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error_ = "cannot make a temporary folder";
        return;
    }
    dir_ = pattern;
    fs::create_directories(dir_ / "runtime");
    fs::create_directories(dir_ / "home");
    fs::permissions(dir_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    setenv("PULSE_SERVER", Address().c_str(), 1);
    Start();
}

PrivatePulseServer::~PrivatePulseServer() {
    EndProcess(recorder_, SIGINT);
    EndProcess(server_, SIGTERM);
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

std::string PrivatePulseServer::Address() const {
    return "unix:" + (dir_ / "native").string();
}

bool PrivatePulseServer::Start() {
    const fs::path socket_path = dir_ / "native";
    fs::remove(socket_path);
    server_ = Spawn(
        {"pulseaudio", "--daemonize=no", "-n", "--exit-idle-time=-1", "--use-pid-file=no",
         "--system=no", "--disallow-exit", "--log-target=stderr", "--log-level=error", "-L",
         "module-native-protocol-unix auth-anonymous=1 socket=" + socket_path.string(), "-L",
         "module-null-sink sink_name=ns rate=8000 channels=1 format=s16le norewinds=1"},
        {"HOME=" + (dir_ / "home").string(), "XDG_RUNTIME_DIR=" + (dir_ / "runtime").string()},
        dir_ / "server.log");
    const auto give_up = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < give_up) {
        if (Accepts(socket_path)) {
            error_.clear();
            return true;
        }
        if (waitpid(server_, nullptr, WNOHANG) == server_) {
            server_ = -1;
            break;
        }
        std::this_thread::sleep_for(20ms);
    }
    std::ifstream log(dir_ / "server.log");
    error_ = "pulseaudio did not start: " + std::string(std::istreambuf_iterator<char>(log), {});
    return false;
}

bool PrivatePulseServer::StartRecording() {
    const fs::path raw = dir_ / "monitor.raw";
    recorder_ = Spawn({"sh", "-c",
                       "exec parec -d ns.monitor --raw --format=s16le --rate=8000 --channels=1 "
                       "--latency-msec=10 > \"$0\"",
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

std::vector<std::int16_t> PrivatePulseServer::StopRecording() {
    // Let the last samples through the monitor's latency first.
    std::this_thread::sleep_for(200ms);
    EndProcess(recorder_, SIGINT);
    std::ifstream file(dir_ / "monitor.raw", std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(file), {});
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

void PrivatePulseServer::Stop() {
    kill(server_, SIGSTOP);
}
void PrivatePulseServer::Continue() {
    kill(server_, SIGCONT);
}
void PrivatePulseServer::Kill() {
    kill(server_, SIGKILL);
    waitpid(server_, nullptr, 0);
    server_ = -1;
}
bool PrivatePulseServer::Restart() {
    EndProcess(server_, SIGTERM);
    return Start();
}

std::vector<ClipPlacement> PlaceClips(const std::vector<std::int16_t>& recording,
                                      const std::vector<std::vector<std::int16_t>>& clips) {
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
