// SPDX-License-Identifier: MIT
// How numbers sound through each sound set-up a desktop may have, for each
// target latency of the player, idle and under load: whether every clip is
// heard whole, the gaps between clips, how long after the call the first
// sample reaches the sink's monitor and how long after the last one the call
// returns, found where the clips' samples land in a recording of the sink.
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
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
using testing::MachineLoad;

constexpr auto kPause = 300ms;  // between numbers, as a learner leaves at least
constexpr std::uint32_t kSampleSeed = 0x7a1e0;
// What a learner notices: the first sample this soon after the call, the
// call back this soon after the last sample, and every clip whole.
constexpr double kFirstSampleGoalMs = 150;
constexpr double kReturnGoalMs = 100;
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

// When each sample of the recording was on the sink's monitor. The file is
// watched as parec writes it; a stretch arrives after its last sample was
// made, so the promptest arrival against the samples before it fixes the
// recording's clock. Taken only from arrivals near the moment asked about,
// so that a graph that slipped a block elsewhere does not shift it.
class RecordingClock {
  public:
    RecordingClock(std::string file, std::size_t channels)
        : file_(std::move(file)), frame_bytes_(2 * channels), follower_([this] { Follow(); }) {}
    ~RecordingClock() {
        stop_ = true;
        follower_.join();
    }
    RecordingClock(const RecordingClock&) = delete;
    RecordingClock& operator=(const RecordingClock&) = delete;

    // The moment the recording's sample `index` was made, judged near `near`.
    Clock::time_point When(std::size_t index, Clock::time_point near) const {
        return Start(near) + std::chrono::microseconds(index * 1'000'000 / kClipSampleRate);
    }
    // The first sample made at `moment` or later.
    std::size_t IndexAt(Clock::time_point moment) const {
        const double ms = Ms(moment - Start(moment));
        return ms <= 0 ? 0 : static_cast<std::size_t>(ms * kClipSampleRate / 1000);
    }

  private:
    struct Arrival {
        Clock::time_point at;
        std::size_t samples;
    };
    void Follow() {
        std::size_t seen = 0;
        while (!stop_) {
            struct stat info {};
            if (stat(file_.c_str(), &info) == 0 && static_cast<std::size_t>(info.st_size) > seen) {
                seen = static_cast<std::size_t>(info.st_size);
                const std::lock_guard lock(mutex_);
                arrivals_.push_back({Clock::now(), seen / frame_bytes_});
            }
            std::this_thread::sleep_for(250us);
        }
    }
    Clock::time_point Start(Clock::time_point near) const {
        const std::lock_guard lock(mutex_);
        // When the recording began, as each arrival has it.
        const auto began = [](const Arrival& a) {
            return a.at - std::chrono::microseconds(a.samples * 1'000'000 / kClipSampleRate);
        };
        auto start = Clock::time_point::max();
        auto anywhere = start;
        for (const Arrival& a : arrivals_) {
            anywhere = std::min(anywhere, began(a));
            if (a.at > near - 3s && a.at < near + 3s) {
                start = std::min(start, began(a));
            }
        }
        // No arrival near it (the recorder stalled): the whole recording's.
        return start != Clock::time_point::max() ? start : anywhere;
    }

    std::string file_;
    std::size_t frame_bytes_;
    mutable std::mutex mutex_;
    std::vector<Arrival> arrivals_;
    std::atomic<bool> stop_ = false;
    std::thread follower_;
};

// What one call plays: a number, or a lone clip as a reference page plays it.
struct Item {
    int number = 0;
    std::optional<ClipRef> lone;
    std::vector<ClipRef> Clips() const {
        return lone ? std::vector<ClipRef>{*lone} : NumberClips(number);
    }
};

struct Figures {
    int items = 0;
    int whole = 0;
    std::vector<double> first;   // ms from the call to the first sample
    std::vector<double> after;   // ms from the last sample to the return
    std::vector<double> ratios;  // wall / audio, numbers of three or more clips
    std::vector<double> gaps;
};

struct Row {
    std::string setup;
    int latency_ms = 0;
    std::string load;
    std::string workload;
    Figures numbers, lone;
    int failed_clips = 0;
    std::string block = "-";  // PipeWire's processing block while the player plays
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

// Plays the items with pauses between, recording the sink throughout, then
// finds every item's clips on every channel of the recording, each in the
// stretch between its call and the next.
bool Measure(testing::PrivateSoundServer& server, PulseClipPlayer& player,
             const std::vector<Item>& items, std::optional<MachineLoad::Strength> strength,
             const std::string& keep_dir, Row& row) {
    CountingClipPlayer counter(player);
    SpeechEngine engine(ClipStore::Embedded(), counter);
    if (!server.StartRecording()) {
        return false;
    }
    const std::size_t channels = server.Setup().BitExact() ? 1 : 2;
    std::optional<RecordingClock> clock;
    clock.emplace(server.RecordingFile().string(), channels);
    std::vector<Clock::time_point> calls, returns;
    // The load runs only while numbers play: the server starts idle, as it
    // does on a desktop that was busy before the learner came.
    std::optional<MachineLoad> load;
    if (strength) {
        load.emplace(*strength);
    }
    std::this_thread::sleep_for(kPause);
    for (std::size_t i = 0; i < items.size(); ++i) {
        calls.push_back(Clock::now());
        if (items[i].lone) {
            counter.PlaySync(ClipStore::Embedded().LoadClip(*items[i].lone));
        } else {
            engine.SpeakNumber(items[i].number);
        }
        returns.push_back(Clock::now());
        if ((i + 1) % 25 == 0) {
            std::fprintf(stderr, "  %zu/%zu\n", i + 1, items.size());
        }
        std::this_thread::sleep_for(kPause);
    }
    load.reset();
    const auto recording = server.StopRecording();
    row.failed_clips += counter.Failed();

    for (std::size_t i = 0; i < items.size(); ++i) {
        Figures& figures = items[i].lone ? row.lone : row.numbers;
        ++figures.items;
        std::vector<Samples> clips;
        double audio_ms = 0;
        for (const ClipRef& clip : items[i].Clips()) {
            clips.push_back(SamplesOf(clip));
            audio_ms += SamplesToMs(clips.back().size());
        }
        // From the return of the item before, when its sound was over, to
        // the call of the next: a clock a pause out still finds it.
        const std::size_t from =
            i == 0 ? 0 : std::min(clock->IndexAt(returns[i - 1]), recording[0].size());
        const std::size_t to = i + 1 < items.size() ? std::clamp(clock->IndexAt(calls[i + 1]), from,
                                                                 recording[0].size())
                                                    : recording[0].size();
        std::vector<testing::ClipPlacement> placed;
        for (std::size_t channel = 0; channel < recording.size(); ++channel) {
            const auto& heard = recording[channel];
            const Samples stretch(heard.begin() + static_cast<std::ptrdiff_t>(from),
                                  heard.begin() + static_cast<std::ptrdiff_t>(to));
            placed = server.Setup().BitExact()
                         ? testing::PlaceClips(stretch, clips)
                         : testing::PlaceClipsByCorrelation(stretch, clips, 0.98);
            if (placed.size() != clips.size()) {
                if (!keep_dir.empty()) {
                    const std::string path = keep_dir + "/" + server.Setup().name + "-" +
                                             std::to_string(i) + "-" + std::to_string(channel) +
                                             ".raw";
                    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
                        std::fwrite(stretch.data(), 2, stretch.size(), out);
                        std::fclose(out);
                    }
                }
                std::fprintf(
                    stderr, "  %s was not heard whole (clip %zu of %zu, channel %zu)\n",
                    items[i].lone ? "a lone clip" : std::to_string(items[i].number).c_str(),
                    placed.size() + 1, clips.size(), channel);
                break;
            }
        }
        if (placed.size() != clips.size()) {
            continue;
        }
        ++figures.whole;
        figures.first.push_back(Ms(clock->When(from + placed.front().begin, calls[i]) - calls[i]));
        figures.after.push_back(Ms(returns[i] - clock->When(from + placed.back().end, returns[i])));
        if (clips.size() >= 3) {
            figures.ratios.push_back(Ms(returns[i] - calls[i]) / audio_ms);
        }
        for (std::size_t k = 1; k < placed.size(); ++k) {
            figures.gaps.push_back(SamplesToMs(placed[k].begin - placed[k - 1].end));
        }
    }
    clock.reset();
    return true;
}

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> parts;
    std::stringstream in(list);
    for (std::string part; std::getline(in, part, ',');) {
        parts.push_back(part);
    }
    return parts;
}

std::optional<std::optional<MachineLoad::Strength>> LoadNamed(const std::string& name) {
    if (name == "idle") {
        return std::optional<MachineLoad::Strength>{};
    }
    if (name == "busy") {
        return MachineLoad::Strength::kBusy;
    }
    if (name == "heavy") {
        return MachineLoad::Strength::kHeavy;
    }
    return std::nullopt;
}

std::string MedianWorst(const std::vector<double>& v, const char* format = "%.0f / %.0f") {
    if (v.empty()) {
        return "-";
    }
    char text[48];
    std::snprintf(text, sizeof text, format, Median(v), Max(v));
    return text;
}

bool Met(const Row& r) {
    const double gap_goal = r.block_ms > 0 ? r.block_ms + kGapOverBlockGoalMs : kGapGoalMs;
    const auto within = [](const Figures& f) {
        return f.whole == f.items && Max(f.first) <= kFirstSampleGoalMs &&
               Max(f.after) <= kReturnGoalMs;
    };
    return within(r.numbers) && within(r.lone) && Max(r.numbers.gaps) <= gap_goal &&
           r.failed_clips == 0;
}

void PrintTable(std::FILE* out, const std::vector<Row>& rows, bool legend) {
    std::fprintf(out, "%-24s %-7s %-6s %-12s %-9s %-11s %-15s %-15s %-15s %-15s %-26s %s\n",
                 "set-up", "target", "load", "workload", "whole", "gap max ms", "first ms med/max",
                 "return ms med/max", "wall/audio", "lone first ms", "PipeWire block", "goals");
    for (const Row& r : rows) {
        char whole[32], target[16], gap[16];
        std::snprintf(whole, sizeof whole, "%d/%d", r.numbers.whole + r.lone.whole,
                      r.numbers.items + r.lone.items);
        std::snprintf(target, sizeof target, "%d ms", r.latency_ms);
        std::snprintf(gap, sizeof gap, "%.1f", Max(r.numbers.gaps));
        std::fprintf(out, "%-24s %-7s %-6s %-12s %-9s %-11s %-15s %-15s %-15s %-15s %-26s %s",
                     r.setup.c_str(), target, r.load.c_str(), r.workload.c_str(), whole, gap,
                     MedianWorst(r.numbers.first).c_str(), MedianWorst(r.numbers.after).c_str(),
                     MedianWorst(r.numbers.ratios, "%.3f / %.3f").c_str(),
                     MedianWorst(r.lone.first).c_str(), r.block.c_str(), Met(r) ? "met" : "MISSED");
        if (r.failed_clips > 0) {
            std::fprintf(out, "  (%d clips failed)", r.failed_clips);
        }
        std::fprintf(out, "\n");
    }
    if (!legend) {
        return;
    }
    std::fprintf(
        out,
        "goals: every number and lone clip whole on every channel; its first sample on the "
        "sink's monitor at most %.0f ms after the call, and the call back at most %.0f ms after "
        "its last sample; the largest gap between clips at most %.0f ms on PulseAudio, the "
        "block + %.0f ms on PipeWire.\n"
        "first and return: median / worst over the items heard whole, from a recording of the "
        "monitor timed by its arrivals (a millisecond or two late); wall/audio over numbers of "
        "three or more clips. Gaps are exact at 8 kHz mono; at 48 kHz the clips are placed by "
        "correlation in a recording resampled to 8 kHz, so to about a sample.\n",
        kFirstSampleGoalMs, kReturnGoalMs, kGapGoalMs, kGapOverBlockGoalMs);
}

int Main(int argc, char** argv) {
    int sample_size = 100;
    int repeats = 5;
    int lone_count = 10;
    std::vector<std::string> latencies{std::to_string(PulseClipPlayer::kTargetLatency.count())};
    std::vector<std::string> loads{"idle"};
    std::vector<std::string> only;
    std::string keep_dir;  // where the stretches of damaged items are written
    const auto number = [](const char* text) { return std::max(0, std::atoi(text)); };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--sample" && has_value) {
            sample_size = number(argv[++i]);
        } else if (arg == "--repeat" && has_value) {
            repeats = number(argv[++i]);
        } else if (arg == "--lone" && has_value) {
            lone_count = number(argv[++i]);
        } else if (arg == "--latency" && has_value) {
            latencies = Split(argv[++i]);
        } else if (arg == "--load" && has_value) {
            loads = Split(argv[++i]);
        } else if (arg == "--keep-damaged" && has_value) {
            keep_dir = argv[++i];
        } else if (arg == "--setup" && has_value) {
            only = Split(argv[++i]);
        } else {
            std::fprintf(stderr,
                         "usage: %s [--sample N] [--repeat N] [--lone N] [--setup NAME,...] "
                         "[--latency MS,...] [--load idle|busy|heavy,...] [--keep-damaged DIR]\n",
                         argv[0]);
            return 2;
        }
    }
    for (const std::string& load : loads) {
        if (!LoadNamed(load)) {
            std::fprintf(stderr, "%s: no load named %s (idle, busy or heavy)\n", argv[0],
                         load.c_str());
            return 2;
        }
    }
    std::mt19937 rng(kSampleSeed);
    std::uniform_int_distribution<int> draw(0, kLargestSpokenNumber);
    std::vector<Item> sample;
    for (int i = 0; i < sample_size; ++i) {
        sample.push_back({draw(rng), std::nullopt});
    }
    // Lone clips, each the first of a sample number, between the numbers.
    for (int i = 0; i < lone_count; ++i) {
        const std::size_t at = sample.size() * static_cast<std::size_t>(i + 1) /
                               static_cast<std::size_t>(lone_count + 1);
        sample.insert(sample.begin() + static_cast<std::ptrdiff_t>(at),
                      Item{0, NumberClips(draw(rng)).front()});
    }
    std::vector<std::pair<std::string, std::vector<Item>>> workloads;
    if (repeats > 0) {
        workloads.push_back(
            {"99999 x" + std::to_string(repeats),
             std::vector<Item>(static_cast<std::size_t>(repeats), Item{99999, std::nullopt})});
    }
    if (!sample.empty()) {
        workloads.push_back({"sample " + std::to_string(sample_size), sample});
    }

    std::vector<Row> rows;
    for (const testing::SoundSetup& setup : testing::SoundSetups()) {
        if (!only.empty() && std::find(only.begin(), only.end(), setup.name) == only.end()) {
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
        for (const std::string& latency : latencies) {
            // One player for all the workloads, as a program keeps it: the
            // first number includes connecting.
            PulseClipPlayer player(std::chrono::milliseconds(number(latency.c_str())));
            for (const std::string& load : loads) {
                for (const auto& [workload_name, items] : workloads) {
                    Row row;
                    row.setup = setup.name;
                    row.latency_ms = number(latency.c_str());
                    row.load = load;
                    row.workload = workload_name;
                    std::fprintf(stderr, "%s, %s ms, %s, %s...\n", setup.name, latency.c_str(),
                                 load.c_str(), workload_name.c_str());
                    Block block{"-", 0};
                    std::thread watcher;
                    if (setup.PipeWire()) {
                        watcher = std::thread([&] {
                            std::this_thread::sleep_for(1s);
                            block = PipeWireBlock(server.RuntimeDir());
                        });
                    }
                    const bool measured =
                        Measure(server, player, items, *LoadNamed(load), keep_dir, row);
                    if (watcher.joinable()) {
                        watcher.join();
                    }
                    if (!measured) {
                        return 1;
                    }
                    row.block = block.figure;
                    row.block_ms = block.ms;
                    rows.push_back(row);
                    // Each row as it comes: a long run is read while it goes.
                    PrintTable(stderr, {row}, false);
                }
            }
        }
    }
    PrintTable(stdout, rows, true);
    return std::all_of(rows.begin(), rows.end(), Met) ? 0 : 1;
}

}  // namespace
}  // namespace talmo

int main(int argc, char** argv) {
    return talmo::Main(argc, argv);
}
