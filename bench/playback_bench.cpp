// SPDX-License-Identifier: MIT
// How numbers sound through each sound set-up a desktop may have: the
// player's time against the length of what it plays, and the gaps between
// clips, found where its samples land in a recording of the sink.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "speech/counting_clip_player.h"
#include "speech/number_speaker.h"
#include "speech/pulse_clip_player.h"
#include "speech/speech_engine.h"
#include "speech/wave_image.h"
#include "tests/support/machine_load.h"
#include "tests/support/private_sound_server.h"

namespace talmo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Samples = std::vector<std::int16_t>;

constexpr auto kPause = 300ms;  // silence around numbers, so each can be told apart
constexpr std::uint32_t kSampleSeed = 0x7a1e0;
constexpr double kRatioGoal = 1.02;
constexpr double kGapGoalMs = 10;          // PulseAudio
constexpr double kGapOverBlockGoalMs = 2;  // PipeWire: its block and this

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}
double SamplesToMs(std::size_t n) {
    return 1000.0 * static_cast<double>(n) / kClipSampleRate;
}

double Median(std::vector<double> v) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    const std::size_t mid = v.size() / 2;
    return v.size() % 2 == 1 ? v[mid] : (v[mid - 1] + v[mid]) / 2;
}
double Max(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

const Samples& SamplesOf(const ClipRef& clip) {
    static std::map<std::string, Samples> decoded;
    const std::string key = clip.Category + "/" + clip.Index;
    auto it = decoded.find(key);
    if (it == decoded.end()) {
        auto samples = DecodeClip(ClipStore::Embedded().LoadClip(clip));
        if (!samples) {
            std::fprintf(stderr, "clip %s cannot be decoded\n", key.c_str());
            std::exit(1);
        }
        it = decoded.emplace(key, std::move(*samples)).first;
    }
    return it->second;
}

struct Row {
    std::string setup;
    std::string workload;
    double ratio_median = 0, ratio_worst = 0;  // over numbers of three or more clips
    double gap_max = 0, gap_median = 0;
    int numbers = 0;
    int numbers_whole = 0;
    int failed_clips = 0;
    std::string block;  // PipeWire's processing block while the player plays
    double block_ms = 0;
};

struct Block {
    std::string figure = "?";
    double ms = 0;
};

// The driver's block (quantum) as pw-top shows it, read while a number plays
// on another thread; pw-top wants a terminal, which script(1) gives it.
Block PipeWireBlock(const std::string& runtime_dir) {
    const std::string command =
        "XDG_RUNTIME_DIR='" + runtime_dir + "' timeout 2 script -qc pw-top /dev/null 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        text.append(buffer, n);
    }
    pclose(pipe);
    // Rows read "S ID QUANT RATE ... NAME"; the sink "ns" drives the graph.
    Block block;
    std::size_t at = 0;
    while ((at = text.find(" ns", at)) != std::string::npos) {
        const std::size_t row = text.find_last_of("RIS", text.rfind("us", at));
        int id = 0, quant = 0, rate = 0;
        if (row != std::string::npos &&
            std::sscanf(text.c_str() + row + 1, "%d %d %d", &id, &quant, &rate) == 3 && quant > 0 &&
            rate > 0) {
            block.ms = 1000.0 * quant / rate;
            char figure[64];
            std::snprintf(figure, sizeof figure, "%d at %d Hz (%.1f ms)", quant, rate, block.ms);
            block.figure = figure;
        }
        at += 3;
    }
    return block;
}

// Speaks the numbers with pauses between, recording the sink throughout, then
// finds every number's clips on every channel of the recording.
bool Measure(testing::PrivateSoundServer& server, PulseClipPlayer& player,
             const std::vector<int>& numbers, bool loaded, Row& row) {
    CountingClipPlayer counter(player);
    SpeechEngine engine(ClipStore::Embedded(), counter);
    if (!server.StartRecording()) {
        return false;
    }
    const auto recording_began = Clock::now();
    std::vector<double> ratios;
    std::vector<double> starts;  // ms into the recording
    // The load runs only while numbers play: the server starts idle, as it
    // does on a desktop that was busy before the learner came.
    std::optional<testing::MachineLoad> load;
    if (loaded) {
        load.emplace();
    }
    std::this_thread::sleep_for(kPause);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const auto start = Clock::now();
        starts.push_back(Ms(start - recording_began));
        engine.SpeakNumber(numbers[i]);
        const double wall = Ms(Clock::now() - start);
        double length = 0;
        const auto clips = NumberClips(numbers[i]);
        for (const ClipRef& clip : clips) {
            length += SamplesToMs(SamplesOf(clip).size());
        }
        if (clips.size() >= 3) {
            ratios.push_back(wall / length);
        }
        if ((i + 1) % 25 == 0) {
            std::fprintf(stderr, "  %zu/%zu\n", i + 1, numbers.size());
        }
        std::this_thread::sleep_for(kPause);
    }
    load.reset();
    const auto recording = server.StopRecording();
    row.ratio_median = Median(ratios);
    row.ratio_worst = Max(ratios);
    row.failed_clips = counter.Failed();
    row.numbers = static_cast<int>(numbers.size());

    // Each number's clips are looked for only in its own stretch of the
    // recording, so that one damaged number cannot throw the search off for
    // the rest. Numbers are heard between pauses, so each begins with the
    // first sound after a long quiet spell. Should a damaged number have
    // such a spell inside, the stretches are matched to the calls by time
    // instead: the recording runs on the calls' clock, offset by a latency
    // that the first number shows.
    const Samples& first = recording[0];
    std::vector<std::size_t> onsets;
    const std::size_t quiet_spell = kClipSampleRate * 250 / 1000;
    std::size_t quiet = quiet_spell;
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (std::abs(int{first[i]}) <= 2) {
            ++quiet;
            continue;
        }
        if (quiet >= quiet_spell) {
            onsets.push_back(i);
        }
        quiet = 0;
    }
    if (onsets.empty()) {
        return true;
    }
    std::vector<std::size_t> begins = onsets;
    if (onsets.size() != numbers.size()) {
        std::fprintf(stderr, "  %zu stretches of sound for %zu numbers: matched by time\n",
                     onsets.size(), numbers.size());
        const double latency = SamplesToMs(onsets[0]) - starts[0];
        begins.clear();
        for (const double start : starts) {
            const double earliest = std::max(0.0, start + latency - Ms(kPause));
            const auto onset =
                std::lower_bound(onsets.begin(), onsets.end(),
                                 static_cast<std::size_t>(earliest * kClipSampleRate / 1000));
            begins.push_back(onset == onsets.end() ? first.size() : *onset);
        }
    }
    // A little before each onset: a clip's own lead-in lies below it.
    const auto before = [](std::size_t onset) {
        constexpr std::size_t kLead = kClipSampleRate * 50 / 1000;
        return onset >= kLead ? onset - kLead : 0;
    };
    std::vector<double> gaps;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        std::vector<Samples> clips;
        for (const ClipRef& clip : NumberClips(numbers[i])) {
            clips.push_back(SamplesOf(clip));
        }
        const std::size_t begin = before(begins[i]);
        const std::size_t end =
            i + 1 < numbers.size() ? std::max(begin, before(begins[i + 1])) : first.size();
        std::vector<testing::ClipPlacement> placed;
        for (std::size_t channel = 0; channel < recording.size(); ++channel) {
            const auto& heard = recording[channel];
            const Samples stretch(heard.begin() + static_cast<std::ptrdiff_t>(begin),
                                  heard.begin() + static_cast<std::ptrdiff_t>(end));
            placed = server.Setup().BitExact()
                         ? testing::PlaceClips(stretch, clips)
                         : testing::PlaceClipsByCorrelation(stretch, clips, 0.98);
            if (placed.size() != clips.size()) {
                std::fprintf(stderr, "  %d was not heard whole (clip %zu of %zu, channel %zu)\n",
                             numbers[i], placed.size() + 1, clips.size(), channel);
                break;
            }
        }
        if (placed.size() != clips.size()) {
            continue;
        }
        ++row.numbers_whole;
        for (std::size_t k = 1; k < placed.size(); ++k) {
            gaps.push_back(SamplesToMs(placed[k].begin - placed[k - 1].end));
        }
    }
    row.gap_max = Max(gaps);
    row.gap_median = Median(gaps);
    return true;
}

int Main(int argc, char** argv) {
    int sample_size = 200;
    int repeats = 5;
    bool loaded = false;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--sample" || arg == "--repeat") && i + 1 < argc) {
            (arg == "--sample" ? sample_size : repeats) = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--setup" && i + 1 < argc) {
            only = argv[++i];
        } else if (arg == "--load") {
            loaded = true;
        } else {
            std::fprintf(stderr, "usage: %s [--sample N] [--repeat N] [--setup NAME] [--load]\n",
                         argv[0]);
            return 2;
        }
    }
    std::vector<int> sample;
    std::mt19937 rng(kSampleSeed);
    std::uniform_int_distribution<int> draw(0, kLargestSpokenNumber);
    for (int i = 0; i < sample_size; ++i) {
        sample.push_back(draw(rng));
    }
    const std::vector<std::pair<std::string, std::vector<int>>> workloads{
        {"99999 x" + std::to_string(repeats),
         std::vector<int>(static_cast<std::size_t>(repeats), 99999)},
        {"sample " + std::to_string(sample_size), sample},
    };

    std::vector<Row> rows;
    for (const testing::SoundSetup& setup : testing::SoundSetups()) {
        if (!only.empty() && only != setup.name) {
            continue;
        }
        // PipeWire plays in the block its graph chooses for the player's
        // target, as on a desktop, not in the larger one the tests use for a
        // clean recording.
        testing::PrivateSoundServer server(setup, testing::PrivateSoundServer::Blocks::kDesktop);
        if (!server.Error().empty()) {
            std::fprintf(stderr, "%s: no sound server: %s\n", setup.name, server.Error().c_str());
            return 1;
        }
        // One player for both workloads, as a program keeps it: the first
        // number includes connecting.
        PulseClipPlayer player;
        for (const auto& [workload_name, numbers] : workloads) {
            Row row{.setup = setup.name,
                    .workload = workload_name + (loaded ? ", loaded" : ""),
                    .block = "-"};
            std::fprintf(stderr, "%s, %s...\n", setup.name, workload_name.c_str());
            Block block{"-", 0};
            std::thread watcher;
            if (setup.PipeWire()) {
                watcher = std::thread([&] {
                    std::this_thread::sleep_for(1s);
                    block = PipeWireBlock(server.RuntimeDir());
                });
            }
            const bool measured = Measure(server, player, numbers, loaded, row);
            if (watcher.joinable()) {
                watcher.join();
            }
            if (!measured) {
                return 1;
            }
            row.block = block.figure;
            row.block_ms = block.ms;
            rows.push_back(row);
        }
    }

    std::printf("%-24s %-22s %-22s %-18s %-26s %-10s %s\n", "set-up", "workload",
                "wall/audio median/worst", "gap max/median ms", "PipeWire block", "whole", "goals");
    bool all_met = true;
    for (const Row& r : rows) {
        const double gap_goal = r.block_ms > 0 ? r.block_ms + kGapOverBlockGoalMs : kGapGoalMs;
        const bool met =
            r.ratio_median <= kRatioGoal && r.gap_max <= gap_goal && r.failed_clips == 0;
        char ratio[32], gap[32], missing[32];
        std::snprintf(ratio, sizeof ratio, "%.3f / %.3f", r.ratio_median, r.ratio_worst);
        std::snprintf(gap, sizeof gap, "%.1f / %.1f", r.gap_max, r.gap_median);
        std::snprintf(missing, sizeof missing, "%d/%d", r.numbers_whole, r.numbers);
        std::printf("%-24s %-22s %-22s %-18s %-26s %-10s %s", r.setup.c_str(), r.workload.c_str(),
                    ratio, gap, r.block.c_str(), missing, met ? "met" : "MISSED");
        if (r.failed_clips > 0) {
            std::printf("  (%d clips failed)", r.failed_clips);
        }
        std::printf("\n");
        all_met = all_met && met && r.numbers_whole == r.numbers;
    }
    std::printf(
        "goals: median of wall time / audio length over numbers of three or more clips <= %.2f; "
        "largest gap between clips <= %.0f ms on PulseAudio, <= the block + %.0f ms on "
        "PipeWire.\n"
        "whole: numbers with every clip found whole on every channel; the others are left out "
        "of the gaps.\n"
        "gaps are exact in the 8 kHz mono set-ups; at 48 kHz the clips are placed by correlation "
        "in a recording resampled to 8 kHz, so to about a sample.\n",
        kRatioGoal, kGapGoalMs, kGapOverBlockGoalMs);
    return all_met ? 0 : 1;
}

}  // namespace
}  // namespace talmo

int main(int argc, char** argv) {
    return talmo::Main(argc, argv);
}
