// SPDX-License-Identifier: MIT
// From an answer in Pairs to the next trial's sound starting, through the real
// Drills window and player and a private sound server (PulseAudio, 48 kHz
// stereo, as a desktop has it). Every answer is right, so the next sound is
// the next trial's; it counts as started at its first sample on the sink's
// monitor (the recorder's 10 ms latency included).
//
//     xvfb-run -a dbus-run-session -- build/bench/drills_bench
#include <QApplication>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include "app/drills_on_request.h"
#include "drills/pairs_page.h"
#include "speech/pulse_clip_player.h"
#include "tests/support/private_sound_server.h"
#include "tests/support/window_fakes.h"

namespace talmo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// When the first sample that is not silence reaches the recording's end.
Clock::time_point FirstSound(const std::filesystem::path& file, const std::atomic<bool>& stop) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(0, std::ios::end);
    std::int16_t sample = 0;
    while (!stop) {
        if (!in.read(reinterpret_cast<char*>(&sample), 2)) {
            in.clear();
            std::this_thread::sleep_for(1ms);
        } else if (sample != 0) {
            return Clock::now();
        }
    }
    return Clock::time_point::max();
}

int Run(int argc, char** argv) {
    testing::PrivateSoundServer server(testing::SoundSetups()[1]);
    if (!server.Error().empty() || !server.StartRecording()) {
        std::fprintf(stderr, "drills_bench: no sound server: %s\n", server.Error().c_str());
        return 1;
    }
    QApplication app(argc, argv);
    PulseClipPlayer player;
    testing::FakePlatform fake;  // all but the player
    Platform platform = fake.PlayingThrough(player);
    testing::MemoryChoices choices;  // all voices, both styles
    testing::TempHistory history;
    DrillsOnRequest drills(platform, choices, history.history);
    drills.Open();
    DrillsWindow& window = *drills.Window();
    if (!QTest::qWaitForWindowActive(&window)) {
        std::fprintf(stderr, "drills_bench: the Drills window never became active\n");
        return 1;
    }
    PairsDrill& drill = dynamic_cast<PairsPage&>(window.PageAt(0)).Drill();
    QTest::keyClick(&window, Qt::Key_Space);  // the first trial, played to its end

    std::vector<double> waits;
    while (drill.TrialNumber() < PairsDrill::kTrials) {
        std::this_thread::sleep_for(300ms);  // the monitor falls silent
        const auto pairs = drill.Set().pairs;
        const bool left = drill.Current().Button(pairs, 0) == drill.Current().Heard(pairs);
        std::atomic<bool> stop = false;
        Clock::time_point heard;
        std::thread watch([&] { heard = FirstSound(server.RecordingFile(), stop); });
        std::this_thread::sleep_for(20ms);  // the watch is at the end
        const auto answered = Clock::now();
        QTest::keyClick(&window, left ? Qt::Key_1 : Qt::Key_2);  // returns once heard
        std::this_thread::sleep_for(200ms);                      // through the monitor
        stop = true;
        watch.join();
        waits.push_back(std::chrono::duration<double, std::milli>(heard - answered).count());
    }
    std::sort(waits.begin(), waits.end());
    std::printf(
        "Pairs, %s: an answer to the next trial's sound on the sink's monitor, %zu "
        "answers: median %.1f ms, longest %.1f ms (goal: 100 ms or less)\n",
        server.Setup().name, waits.size(), waits[waits.size() / 2], waits.back());
    return waits.back() <= 100 ? 0 : 1;
}

}  // namespace
}  // namespace talmo

int main(int argc, char** argv) {
    return talmo::Run(argc, argv);
}
