// SPDX-License-Identifier: MIT
// How fast Pairs answers: from the learner's answer to the next trial's
// sound starting, through the real Drills window, player and a private sound
// server. Each answer is the right one, so the next sound is the next trial's.
// Two figures per answer: to the first clip handed to the player (the
// program's share), and to the first sound on the sink's monitor (what the
// learner hears, the recorder's 10 ms latency included).
//
//     xvfb-run -a dbus-run-session -- build/bench/drills_bench [--setup NAME] [--load]
#include <QApplication>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app_services.h"
#include "drills_window.h"
#include "machine_load.h"
#include "pairs_page.h"
#include "private_sound_server.h"
#include "pulse_clip_player.h"

namespace talmo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr double kGoalMs = 100;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t mid = v.size() / 2;
    return v.size() % 2 == 1 ? v[mid] : (v[mid - 1] + v[mid]) / 2;
}

// The real player, noting when it is first given a clip after being armed.
class TimingPlayer final : public ClipPlayer {
  public:
    bool PlaySync(ClipBytes image) override {
        if (armed_) {
            first_ = Clock::now();
            armed_ = false;
        }
        return player_.PlaySync(image);
    }
    void BeginNumber() override { player_.BeginNumber(); }
    void EndNumber() override { player_.EndNumber(); }
    void Arm() { armed_ = true; }
    Clock::time_point First() const { return first_; }

  private:
    PulseClipPlayer player_;
    bool armed_ = false;
    Clock::time_point first_;
};

// Follows the monitor's recording from its present end, and notes when the
// first sample that is not silence arrives.
class SoundWatch {
  public:
    explicit SoundWatch(std::filesystem::path file)
        : thread_([this, file = std::move(file)] { Watch(file); }) {}
    ~SoundWatch() {
        stop_ = true;
        thread_.join();
    }
    std::optional<Clock::time_point> Heard() {
        stop_ = true;
        thread_.join();
        thread_ = std::thread([] {});
        return heard_;
    }

  private:
    void Watch(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        in.seekg(0, std::ios::end);
        std::vector<char> buffer(4096);
        while (!stop_) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            const auto got = static_cast<std::size_t>(in.gcount());
            in.clear();
            for (std::size_t i = 0; i + 1 < got; i += 2) {
                std::int16_t sample;
                std::memcpy(&sample, buffer.data() + i, 2);
                if (sample != 0) {
                    heard_ = Clock::now();
                    return;
                }
            }
            if (got == 0) {
                std::this_thread::sleep_for(1ms);
            }
        }
    }

    std::atomic<bool> stop_ = false;
    std::optional<Clock::time_point> heard_;
    std::thread thread_;
};

struct Choices final : ChoiceStore {
    DrillChoices Load() override { return {}; }  // all voices, both styles
    void Save(const DrillChoices&) override {}
};

struct NoHelp final : HelpRequester {
    void ShowHelp(const QString&, int) override {}
};

int Run(int argc, char** argv) {
    std::string setup_name = "PulseAudio_48kHz_stereo";
    bool load = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--setup") == 0 && i + 1 < argc) {
            setup_name = argv[++i];
        } else if (std::strcmp(argv[i], "--load") == 0) {
            load = true;
        }
    }
    const auto& setups = testing::SoundSetups();
    const auto setup = std::find_if(setups.begin(), setups.end(),
                                    [&](const auto& s) { return setup_name == s.name; });
    if (setup == setups.end()) {
        std::fprintf(stderr, "drills_bench: no set-up %s\n", setup_name.c_str());
        return 2;
    }
    testing::PrivateSoundServer server(*setup, testing::PrivateSoundServer::Blocks::kDesktop);
    if (!server.Error().empty()) {
        std::fprintf(stderr, "drills_bench: %s\n", server.Error().c_str());
        return 1;
    }
    std::optional<testing::MachineLoad> busy;
    if (load) {
        busy.emplace();
    }

    QApplication app(argc, argv);
    TimingPlayer player;
    LocalClock clock;
    UnseededRandom random;
    QtMessageBox messages;
    NoHelp help;
    ImmediateEnd end;
    Platform platform{.voices = ClipStore::Embedded(),
                      .player = player,
                      .clock = clock,
                      .random = random,
                      .messages = messages,
                      .help = help,
                      .end = end,
                      .decimal_separator = "."};
    Choices choices;
    DrillsOnRequest drills(platform, choices);
    drills.Open();
    DrillsWindow& window = *drills.Window();
    if (!QTest::qWaitForWindowActive(&window)) {
        std::fprintf(stderr, "drills_bench: the Drills window never became active\n");
        return 1;
    }
    PairsDrill& drill = dynamic_cast<PairsPage&>(window.PageAt(0)).Drill();
    if (!server.StartRecording()) {
        std::fprintf(stderr, "drills_bench: the recorder did not start\n");
        return 1;
    }
    QTest::keyClick(&window, Qt::Key_Space);  // the first trial, played to its end

    std::vector<double> to_player, to_sound;
    while (drill.Step() == PairsView::Step::kAnswer && drill.TrialNumber() < PairsDrill::kTrials) {
        std::this_thread::sleep_for(300ms);  // the monitor falls silent
        const auto pairs = drill.Set().pairs;
        const int right = drill.Current().Button(pairs, 0) == drill.Current().Heard(pairs) ? 0 : 1;
        SoundWatch watch(server.RecordingFile());
        std::this_thread::sleep_for(20ms);  // the watch has reached the end
        player.Arm();
        const auto answered = Clock::now();
        QTest::keyClick(&window, right == 0 ? Qt::Key_1 : Qt::Key_2);  // returns once heard
        const auto heard = watch.Heard();
        to_player.push_back(Ms(player.First() - answered));
        if (heard) {
            to_sound.push_back(Ms(*heard - answered));
        }
    }
    server.StopRecording();
    if (to_sound.size() != to_player.size()) {
        std::fprintf(stderr, "drills_bench: %zu of %zu answers were followed by no sound\n",
                     to_player.size() - to_sound.size(), to_player.size());
        return 1;
    }
    std::printf(
        "Pairs, %s%s, %zu answers: answer to the next trial's first clip given to the "
        "player: median %.1f ms, longest %.1f ms; to its sound on the sink's monitor: "
        "median %.1f ms, longest %.1f ms (goal: %.0f ms or less)\n",
        setup->name, load ? ", under load" : "", to_player.size(), Median(to_player),
        *std::max_element(to_player.begin(), to_player.end()), Median(to_sound),
        *std::max_element(to_sound.begin(), to_sound.end()), kGoalMs);
    return 0;
}

}  // namespace
}  // namespace talmo

int main(int argc, char** argv) {
    return talmo::Run(argc, argv);
}
