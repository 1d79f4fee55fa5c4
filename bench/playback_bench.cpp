// How numbers sound through a real sound server: the player's kept stream
// against opening a new connection for every clip. Each is timed by the
// clock and, independently, by where its samples land in a recording of the
// sink, so gaps and start-up delay are measured rather than inferred.
#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "counting_clip_player.h"
#include "number_speaker.h"
#include "private_pulse_server.h"
#include "pulse_clip_player.h"
#include "speech_engine.h"
#include "wave_image.h"

namespace talmo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Samples = std::vector<std::int16_t>;

constexpr auto kPause = 300ms;                // silence around numbers, so each can be told apart
constexpr std::uint32_t kFragmentBytes = 80;  // 5 ms: the timestamps' resolution
constexpr std::uint32_t kSampleSeed = 0x7a1e0;
constexpr double kRatioGoal = 1.02;
constexpr double kGapGoalMs = 10;
const pa_sample_spec kClipSpec{PA_SAMPLE_S16LE, kClipSampleRate, 1};

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

// The simplest way to play a clip: a connection of its own, default buffering.
class NewConnectionPlayer final : public ClipPlayer {
  public:
    bool PlaySync(ClipBytes image) override {
        const auto samples = DecodeClip(image);
        if (!samples) {
            return false;
        }
        int err = 0;
        pa_simple* s = pa_simple_new(nullptr, "talmo-bench", PA_STREAM_PLAYBACK, nullptr, "clip",
                                     &kClipSpec, nullptr, nullptr, &err);
        if (s == nullptr) {
            return false;
        }
        const bool ok = pa_simple_write(s, samples->data(), samples->size() * 2, &err) == 0 &&
                        pa_simple_drain(s, &err) == 0;
        pa_simple_free(s);
        return ok;
    }
};

// Records the sink's monitor on a thread of its own, noting when each small
// fragment arrived, so that a sample's position becomes a time on our clock.
class MonitorRecorder {
  public:
    ~MonitorRecorder() { Stop(); }

    bool Start() {
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = attr.prebuf = attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = kFragmentBytes;
        int err = 0;
        stream_ = pa_simple_new(nullptr, "talmo-bench", PA_STREAM_RECORD, "ns.monitor", "monitor",
                                &kClipSpec, nullptr, &attr, &err);
        if (stream_ == nullptr) {
            std::fprintf(stderr, "cannot record ns.monitor: %s\n", pa_strerror(err));
            return false;
        }
        // Growing the buffers mid-run would hold up reads and skew their times.
        samples_.reserve(std::size_t{kClipSampleRate} * 60 * 20);
        chunks_.reserve(samples_.capacity() / (kFragmentBytes / 2));
        thread_ = std::thread([this] { Run(); });
        // The monitor streams silence while nothing plays, so data comes at once.
        const auto give_up = Clock::now() + 2s;
        while (!started_ && Clock::now() < give_up) {
            std::this_thread::sleep_for(5ms);
        }
        return started_;
    }

    // Returns false when reading failed midway, which would shift every time.
    bool Stop() {
        if (thread_.joinable()) {
            stop_ = true;
            thread_.join();
        }
        if (stream_ != nullptr) {
            pa_simple_free(stream_);
            stream_ = nullptr;
        }
        return !failed_;
    }

    const Samples& Recording() const { return samples_; }

    // When the sample at position reached the sink: its fragment's arrival
    // less the samples that came after it in that fragment.
    Clock::time_point TimeOf(std::size_t position) const {
        const auto chunk =
            std::upper_bound(chunks_.begin(), chunks_.end(), position,
                             [](std::size_t p, const Chunk& c) { return p < c.end; });
        const std::size_t after = chunk->end - 1 - position;
        return chunk->arrived - std::chrono::microseconds(after * 1'000'000 / kClipSampleRate);
    }

  private:
    struct Chunk {
        std::size_t end;  // one past its last sample
        Clock::time_point arrived;
    };

    void Run() {
        std::int16_t buffer[kFragmentBytes / 2];
        while (!stop_) {
            int err = 0;
            if (pa_simple_read(stream_, buffer, sizeof buffer, &err) < 0) {
                failed_ = true;
                break;
            }
            const auto now = Clock::now();
            samples_.insert(samples_.end(), std::begin(buffer), std::end(buffer));
            chunks_.push_back({samples_.size(), now});
            started_ = true;
        }
    }

    pa_simple* stream_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> started_{false};
    bool failed_ = false;
    Samples samples_;
    std::vector<Chunk> chunks_;
};

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
    std::string workload;
    std::string player;
    double ratio_aggregate = 0, ratio_worst = 0;
    double gap_max = 0, gap_median = 0;
    double delay_median = 0, delay_worst = 0;
    bool any_placed = false;  // else the gap and delay figures mean nothing
    int numbers_missing = 0;
    int failed_clips = 0;
};

// Speaks the numbers with pauses between, recording the sink throughout, then
// finds every number's clips in the recording, each after the previous one.
bool Measure(ClipPlayer& player, const std::vector<int>& numbers, Row& row) {
    CountingClipPlayer counter(player);
    const SpeechEngine engine(ClipStore::Embedded(), counter);
    MonitorRecorder recorder;
    if (!recorder.Start()) {
        return false;
    }
    std::vector<Clock::time_point> calls;
    double wall_total = 0, length_total = 0;
    std::this_thread::sleep_for(kPause);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const auto start = Clock::now();
        engine.SpeakNumber(numbers[i]);
        const double wall = Ms(Clock::now() - start);
        double length = 0;
        for (const ClipRef& clip : NumberClips(numbers[i])) {
            length += SamplesToMs(SamplesOf(clip).size());
        }
        calls.push_back(start);
        wall_total += wall;
        length_total += length;
        row.ratio_worst = std::max(row.ratio_worst, wall / length);
        if ((i + 1) % 25 == 0) {
            std::fprintf(stderr, "  %s: %zu/%zu\n", row.player.c_str(), i + 1, numbers.size());
        }
        std::this_thread::sleep_for(kPause);
    }
    if (!recorder.Stop()) {
        std::fprintf(stderr, "recording the monitor broke off\n");
        return false;
    }
    row.ratio_aggregate = wall_total / length_total;
    row.failed_clips = counter.Failed();

    const Samples& rec = recorder.Recording();
    std::vector<double> gaps, delays;
    std::size_t from = 0;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        std::size_t at = from, first = 0, previous_end = 0;
        bool found = true;
        const auto clips = NumberClips(numbers[i]);
        std::vector<double> number_gaps;
        for (std::size_t k = 0; k < clips.size() && found; ++k) {
            const Samples& clip = SamplesOf(clips[k]);
            const auto hit = std::search(rec.begin() + static_cast<std::ptrdiff_t>(at), rec.end(),
                                         clip.begin(), clip.end());
            found = hit != rec.end();
            const auto begin = static_cast<std::size_t>(hit - rec.begin());
            if (k == 0) {
                first = begin;
            } else {
                number_gaps.push_back(SamplesToMs(begin - previous_end));
            }
            previous_end = at = begin + clip.size();
        }
        if (!found) {
            std::fprintf(stderr, "  %s: %d did not reach the sink whole\n", row.player.c_str(),
                         numbers[i]);
            ++row.numbers_missing;
            continue;  // the next number is searched for from the same place
        }
        gaps.insert(gaps.end(), number_gaps.begin(), number_gaps.end());
        delays.push_back(Ms(recorder.TimeOf(first) - calls[i]));
        from = previous_end;
    }
    row.any_placed = !delays.empty();
    row.gap_max = Max(gaps);
    row.gap_median = Median(gaps);
    row.delay_median = Median(delays);
    row.delay_worst = Max(delays);
    return true;
}

int Main(int argc, char** argv) {
    int sample_size = 200;
    int repeats = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--sample" || arg == "--repeat") && i + 1 < argc) {
            (arg == "--sample" ? sample_size : repeats) = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: %s [--sample N] [--repeat N]\n", argv[0]);
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

    testing::PrivatePulseServer server;
    if (!server.Error().empty()) {
        std::fprintf(stderr, "no sound server: %s\n", server.Error().c_str());
        return 1;
    }
    // One player of each kind for both workloads, as a program would keep it:
    // the kept stream's first number includes connecting.
    PulseClipPlayer kept;
    NewConnectionPlayer fresh;
    const std::vector<std::pair<std::string, ClipPlayer*>> players{
        {"kept stream", &kept}, {"new connection per clip", &fresh}};

    std::vector<Row> rows;
    for (const auto& [player_name, player] : players) {
        for (const auto& [workload_name, numbers] : workloads) {
            Row row{workload_name, player_name};
            std::fprintf(stderr, "%s, %s...\n", workload_name.c_str(), player_name.c_str());
            if (!Measure(*player, numbers, row)) {
                return 1;
            }
            rows.push_back(row);
        }
    }

    std::printf("%-14s  %-24s %-18s %-18s %-35s %s\n", "workload", "player", "ratio(agg/worst)",
                "gap max/median ms", "first-sample delay median/worst ms", "goals");
    bool all_found = true;
    for (const Row& r : rows) {
        const bool met = r.ratio_aggregate <= kRatioGoal && r.ratio_worst <= kRatioGoal &&
                         r.gap_max <= kGapGoalMs && r.numbers_missing == 0 && r.failed_clips == 0;
        char ratio[32], gap[32], delay[48];
        std::snprintf(ratio, sizeof ratio, "%.3f / %.3f", r.ratio_aggregate, r.ratio_worst);
        std::snprintf(gap, sizeof gap, r.any_placed ? "%.1f / %.1f" : "-", r.gap_max, r.gap_median);
        std::snprintf(delay, sizeof delay, r.any_placed ? "%.1f / %.1f" : "-", r.delay_median,
                      r.delay_worst);
        std::printf("%-14s  %-24s %-18s %-18s %-35s %s", r.workload.c_str(), r.player.c_str(),
                    ratio, gap, delay, met ? "met" : "MISSED");
        if (r.numbers_missing > 0 || r.failed_clips > 0) {
            std::printf("  (%d numbers not found whole, %d clips failed)", r.numbers_missing,
                        r.failed_clips);
        }
        std::printf("\n");
        all_found = all_found && r.numbers_missing == 0;
    }
    std::printf(
        "goals: ratio <= %.2f (wall time of SpeakNumber / length of its clips); gap <= %.0f ms "
        "between clips, ideally 0.\n",
        kRatioGoal, kGapGoalMs);
    // The null sink hands its monitor whole blocks, so backing off by the
    // samples after a position can also land before the sample was mixed.
    std::printf(
        "delay is read from %.0f ms record fragments: off by up to one fragment either way "
        "(so it can come out slightly negative).\n",
        SamplesToMs(kFragmentBytes / 2));
    return all_found ? 0 : 1;
}

}  // namespace
}  // namespace talmo

int main(int argc, char** argv) {
    return talmo::Main(argc, argv);
}
