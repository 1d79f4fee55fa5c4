// SPDX-License-Identifier: MIT
#include "say/say_command.h"

#include <charconv>
#include <optional>
#include <ostream>
#include <system_error>
#include <vector>

#include "history/user_files.h"
#include "say/options.h"
#include "speech/counting_clip_player.h"
#include "speech/number_speaker.h"
#include "speech/speech_engine.h"
#include "speech/wave_image.h"

namespace talmo {
namespace {

constexpr const char* kVersion = TALMO_VERSION;
std::string Usage() {
    return "usage: talmo-say [--voice " + VoiceChoices() + "] [--style " + StyleChoices() +
           "] [--clips | --recordings | --wav FILE] N  (0 <= N <= 99999)";
}

struct Failure {
    std::string message;
};

// A whole number written in decimal digits, with an optional sign.
std::optional<int> ParseNumber(const std::string& text, std::string& problem) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        problem = "'" + text + "' is not a whole number";
        return std::nullopt;
    }
    long long value = 0;
    const auto ec = std::from_chars(digits.data(), digits.data() + digits.size(), value).ec;
    if (ec != std::errc{} || (negative && value != 0) || value > kLargestSpokenNumber) {
        problem = text + " is outside 0 to " + std::to_string(kLargestSpokenNumber);
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::vector<std::int16_t> SpokenSamples(const ClipStore& store, int number, SpeechStyle style) {
    std::vector<std::int16_t> samples;
    for (const SpokenClip& spoken : NumberRecordings(store, number, style)) {
        const auto decoded = DecodeClip(spoken.bytes);
        if (!decoded) {
            throw Failure{"the clip " + spoken.clip.Category + "/" + spoken.clip.Index +
                          " cannot be decoded"};
        }
        samples.insert(samples.end(), decoded->begin(), decoded->end());
    }
    return samples;
}

}  // namespace

int RunSay(std::span<const std::string> all_args, const VoicesFor& voices, ClipPlayer& player,
           std::ostream& out, std::ostream& err) {
    // --voice and --style may stand anywhere; the rest keep their places.
    std::string voice{EmbeddedVoices().front().name};
    SpeechStyle style = SpeechStyle::kClear;
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < all_args.size(); ++i) {
        if (const auto value = TakeOption(all_args, i, "--voice")) {
            const auto choice = ParseVoiceChoice(*value);
            if (!choice) {
                err << "talmo-say: " << Printable(BadVoiceMessage(*value)) << '\n';
                return 2;
            }
            voice = *choice;
        } else if (const auto name = TakeOption(all_args, i, "--style")) {
            const auto chosen = ParseStyle(*name);
            if (!chosen) {
                err << "talmo-say: " << Printable(BadStyleMessage(*name)) << '\n';
                return 2;
            }
            style = *chosen;
        } else {
            kept.push_back(all_args[i]);
        }
    }
    const std::span<const std::string> args = kept;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << Usage() << '\n';
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "talmo-say " << kVersion << '\n';
        return 0;
    }
    enum class Mode { kSpeak, kClips, kRecordings, kWav } mode = Mode::kSpeak;
    std::string wav_path;
    std::span<const std::string> rest = args;
    if (!rest.empty() && (rest[0] == "--clips" || rest[0] == "--recordings")) {
        mode = rest[0] == "--clips" ? Mode::kClips : Mode::kRecordings;
        rest = rest.subspan(1);
    } else if (!rest.empty() && rest[0] == "--wav" && rest.size() >= 2) {
        mode = Mode::kWav;
        wav_path = rest[1];
        rest = rest.subspan(2);
    }
    // An option of ours out of place gets the usage; one we do not have is named.
    for (const std::string& arg : rest) {
        const bool option = arg.size() > 1 && arg[0] == '-' && (arg[1] < '0' || arg[1] > '9');
        if (option && arg != "--clips" && arg != "--recordings" && arg != "--wav" &&
            arg != "--help" && arg != "-h" && arg != "--version") {
            err << "talmo-say: unknown option '" << Printable(arg) << "'\n" << Usage() << '\n';
            return 2;
        }
    }
    if (rest.size() != 1 || (!rest[0].empty() && rest[0].starts_with("--"))) {
        err << Usage() << '\n';
        return 2;
    }
    std::string problem;
    const auto number = ParseNumber(rest[0], problem);
    if (!number) {
        err << "talmo-say: " << Printable(problem) << '\n';
        return 2;
    }

    try {
        switch (mode) {
            case Mode::kClips:
                out << ClipNames(NumberClips(*number)) << '\n';
                return 0;
            case Mode::kRecordings:
                out << RecordingNames(*number, style) << '\n';
                return 0;
            case Mode::kWav: {
                // One voice for the whole number, as when it is spoken.
                const auto samples = SpokenSamples(voices(voice).Next(), *number, style);
                const auto image =
                    EncodeClip(samples, {{"INAM", std::to_string(*number)}, {"ISFT", "talmo-say"}});
                if (wav_path == "-") {
                    out.write(reinterpret_cast<const char*>(image.data()),
                              static_cast<std::streamsize>(image.size()));
                    if (!out.flush()) {
                        throw Failure{"cannot write to the standard output"};
                    }
                } else if (const auto why = WriteFileWhole(wav_path, image, 0666)) {
                    throw Failure{"cannot write '" + wav_path + "': " + *why};
                }
                return 0;
            }
            case Mode::kSpeak: {
                CountingClipPlayer counting(player);
                SpeechEngine(voices(voice), counting, style).SpeakNumber(*number);
                if (counting.Failed() > 0) {
                    err << "talmo-say: the sound server could not play " << *number << '\n';
                    return 1;
                }
                return 0;
            }
        }
    } catch (const Failure& failure) {
        err << "talmo-say: " << Printable(failure.message) << '\n';
        return 2;
    }
    return 2;
}

}  // namespace talmo
