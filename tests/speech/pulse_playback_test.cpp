// The real player against a real sound server of the test's own: what is
// played must reach the sink sample for sample, clip after clip.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

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
using testing::PlaceClips;
using testing::PrivatePulseServer;

constexpr std::size_t kMaxGapSamples = 80;  // 10 ms

std::vector<std::int16_t> SamplesOf(const ClipRef& clip) {
    return DecodeClip(ClipStore::Embedded().LoadClip(clip)).value();
}

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Captures what this process writes to stdout and stderr meanwhile.
class OutputCapture {
  public:
    OutputCapture() {
        std::fflush(nullptr);
        file_ = std::tmpfile();
        saved_out_ = dup(1);
        saved_err_ = dup(2);
        dup2(fileno(file_), 1);
        dup2(fileno(file_), 2);
    }
    ~OutputCapture() { Release(); }
    std::string Release() {
        if (file_ == nullptr) {
            return text_;
        }
        std::fflush(nullptr);
        dup2(saved_out_, 1);
        dup2(saved_err_, 2);
        close(saved_out_);
        close(saved_err_);
        std::rewind(file_);
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) {
            text_.append(buffer, n);
        }
        std::fclose(file_);
        file_ = nullptr;
        return text_;
    }

  private:
    std::FILE* file_ = nullptr;
    int saved_out_ = -1;
    int saved_err_ = -1;
    std::string text_;
};

class PulsePlayback : public ::testing::Test {
  protected:
    void SetUp() override {
        server_ = std::make_unique<PrivatePulseServer>();
        ASSERT_EQ(server_->Error(), "");
    }
    void TearDown() override { server_.reset(); }

    std::unique_ptr<PrivatePulseServer> server_;
};

TEST_F(PulsePlayback, NumbersReachTheSinkExactlyAndWithoutGaps) {
    const std::vector<int> numbers{99999, 31121, 1021, 0, 47110, 12345};
    PulseClipPlayer player;
    CountingClipPlayer counter(player);
    const SpeechEngine engine(ClipStore::Embedded(), counter);

    ASSERT_TRUE(server_->StartRecording());
    std::vector<std::vector<std::int16_t>> expected;
    for (const int n : numbers) {
        engine.SpeakNumber(n);
        for (const ClipRef& clip : NumberClips(n)) {
            expected.push_back(SamplesOf(clip));
        }
    }
    const auto recording = server_->StopRecording();
    EXPECT_EQ(counter.Failed(), 0);
    EXPECT_EQ(counter.Played(), static_cast<int>(expected.size()));

    const auto placed = PlaceClips(recording, expected);
    ASSERT_EQ(placed.size(), expected.size())
        << "clip " << placed.size() << " never reached the sink";
    // Within a number the clips follow each other with only silence between.
    std::size_t clip = 0;
    for (const int n : numbers) {
        const std::size_t count = NumberClips(n).size();
        for (std::size_t k = clip + 1; k < clip + count; ++k) {
            const std::size_t gap = placed[k].begin - placed[k - 1].end;
            EXPECT_LE(gap, kMaxGapSamples)
                << n << ": gap before clip " << k - clip << " is " << gap / 8.0 << " ms";
            for (std::size_t i = placed[k - 1].end; i < placed[k].begin; ++i) {
                ASSERT_EQ(recording[i], 0) << n << ": noise between clips";
            }
        }
        clip += count;
    }
}

TEST_F(PulsePlayback, ReturnsOnlyOnceTheClipHasBeenPlayed) {
    PulseClipPlayer player;
    const ClipBytes clip = ClipStore::Embedded().LoadClip({"NUMBERS", "7DIV2A"});
    const double length_ms = SamplesOf({"NUMBERS", "7DIV2A"}).size() / 8.0;
    ASSERT_TRUE(player.PlaySync(ClipStore::Embedded().LoadClip({"TIME", "1ETT"})));  // connect
    const auto start = Clock::now();
    ASSERT_TRUE(player.PlaySync(clip));
    const double took = Milliseconds(Clock::now() - start);
    EXPECT_GE(took, length_ms);
    EXPECT_LE(took, length_ms + 100);
}

TEST_F(PulsePlayback, RefusesAnUnplayableImageAtOnceAndSilently) {
    PulseClipPlayer player;
    const ClipBytes good = ClipStore::Embedded().LoadClip({"TIME", "1ETT"});
    const std::vector<std::uint8_t> truncated(good.begin(), good.begin() + good.size() / 2);
    ASSERT_TRUE(server_->StartRecording());
    const auto start = Clock::now();
    EXPECT_FALSE(player.PlaySync(truncated));
    EXPECT_FALSE(player.PlaySync(ClipBytes{}));
    EXPECT_LT(Milliseconds(Clock::now() - start), 100);
    const auto recording = server_->StopRecording();
    EXPECT_TRUE(std::all_of(recording.begin(), recording.end(), [](auto s) { return s == 0; }));
    // ... and the player is still good for the next clip.
    EXPECT_TRUE(player.PlaySync(good));
}

TEST_F(PulsePlayback, GivesUpOnAStalledServerAndPlaysAgainOnceItIsBack) {
    PulseClipPlayer player;
    const ClipBytes clip = ClipStore::Embedded().LoadClip({"NUMBERS", "7DIV2B"});
    const double length_ms = SamplesOf({"NUMBERS", "7DIV2B"}).size() / 8.0;
    ASSERT_TRUE(player.PlaySync(ClipStore::Embedded().LoadClip({"TIME", "1ETT"})));
    std::thread staller([&] {
        std::this_thread::sleep_for(300ms);
        server_->Stop();
    });
    const auto start = Clock::now();
    EXPECT_FALSE(player.PlaySync(clip));
    const double took = Milliseconds(Clock::now() - start);
    staller.join();
    EXPECT_LE(took, length_ms + 1000 + 100);
    server_->Continue();
    EXPECT_TRUE(player.PlaySync(ClipStore::Embedded().LoadClip({"TIME", "2TVA"})));
}

TEST_F(PulsePlayback, SkipsTheRestWhenTheServerDiesAndPlaysWhenItReturns) {
    PulseClipPlayer player;
    CountingClipPlayer counter(player);
    const SpeechEngine engine(ClipStore::Embedded(), counter);
    engine.PlayNumber("1ETT", "TIME");
    std::thread killer([&] {
        std::this_thread::sleep_for(500ms);
        server_->Kill();
    });
    const auto start = Clock::now();
    engine.SpeakNumber(99999);
    const double took = Milliseconds(Clock::now() - start);
    killer.join();
    EXPECT_GE(counter.Failed(), 1);
    EXPECT_LE(took, 500 + 1000 + 200) << "the rest of the number must fail fast";

    ASSERT_TRUE(server_->Restart()) << server_->Error();
    EXPECT_TRUE(player.PlaySync(ClipStore::Embedded().LoadClip({"TIME", "3TRE"})));
}

TEST(PulsePlaybackWithoutServer, FailsWithinATenthOfASecondAndPrintsNothing) {
    const std::string missing = "unix:/nonexistent/talmo-test/native";
    const char* previous = std::getenv("PULSE_SERVER");
    const std::string saved = previous ? previous : "";
    setenv("PULSE_SERVER", missing.c_str(), 1);
    OutputCapture capture;
    PulseClipPlayer player;
    const auto start = Clock::now();
    const bool played = player.PlaySync(ClipStore::Embedded().LoadClip({"TIME", "1ETT"}));
    const double took = Milliseconds(Clock::now() - start);
    const std::string printed = capture.Release();
    previous ? setenv("PULSE_SERVER", saved.c_str(), 1) : unsetenv("PULSE_SERVER");
    EXPECT_FALSE(played);
    EXPECT_LT(took, 100);
    EXPECT_EQ(printed, "");
}

}  // namespace
}  // namespace talmo
