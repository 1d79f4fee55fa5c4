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
#include "speech/life_readers.h"
#include "speech/number_speaker.h"
#include "speech/speech_engine.h"
#include "speech/wave_image.h"

namespace talmo {
namespace {

constexpr const char* kVersion = TALMO_VERSION;
// Silence between the sayings of --way all in one file.
constexpr int kBetweenSayingsMs = 1000;

// "time|price|phone|year", or with `last` before the last, as a sentence
// lists them.
std::string KindChoices(std::string_view separator = "|", std::string_view last = "|") {
    std::string choices;
    for (std::size_t i = 0; i < kLifeKinds.size(); ++i) {
        choices += i == 0 ? "" : i + 1 < kLifeKinds.size() ? separator : last;
        choices += kLifeKinds[i].name;
    }
    return choices;
}

std::string Usage() {
    return "usage: talmo-say [--voice " + VoiceChoices() + "] [--style " + StyleChoices() +
           "] [--as " + KindChoices() +
           " [--way WAY|all]] [--clips | --recordings | --wav FILE] N|VALUE  (0 <= N <= 99999)";
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

void AddSilence(std::vector<std::int16_t>& samples, int ms) {
    samples.insert(samples.end(), static_cast<std::size_t>(kClipSampleRate * ms / 1000), 0);
}

// The sayings back to back as the engine plays them: a clip the store lacks
// left out, the groups apart by their pause.
std::vector<std::int16_t> SayingSamples(const ClipStore& store,
                                        const std::vector<Saying>& sayings) {
    std::vector<std::int16_t> samples;
    for (const Saying& saying : sayings) {
        if (&saying != &sayings.front()) {
            AddSilence(samples, kBetweenSayingsMs);
        }
        const std::vector<ClipBytes> recordings = SayingRecordings(store, saying);
        for (std::size_t i = 0; i < recordings.size(); ++i) {
            if (i > 0 && saying.clips[i].join == Join::kPause) {
                AddSilence(samples, kGroupPauseMs);
            }
            if (recordings[i].empty()) {
                continue;
            }
            const auto decoded = DecodeClip(recordings[i]);
            if (!decoded) {
                const ClipRef& clip = saying.clips[i].clip;
                throw Failure{"the clip " + clip.Category + "/" + clip.Index +
                              " cannot be decoded"};
            }
            samples.insert(samples.end(), decoded->begin(), decoded->end());
        }
    }
    return samples;
}

// The saying's clips as --clips lists them, without their forms.
std::string ClipsOnly(Saying saying) {
    for (SaidClip& c : saying.clips) {
        c.form = ClipForm::kClear;
    }
    return SayingClipNames(saying);
}

// The value's sayings a --way asks for: the first when none is asked for,
// every one for "all"; nothing, with the problem, for a way it lacks.
std::optional<std::vector<Saying>> ChosenSayings(std::vector<Saying> sayings,
                                                 const std::optional<std::string>& way,
                                                 const std::string& value, std::string& problem) {
    if (!way) {
        sayings.resize(1);
        return sayings;
    }
    if (*way == "all") {
        return sayings;
    }
    std::string ways;
    for (const Saying& saying : sayings) {
        if (saying.way == *way) {
            return std::vector<Saying>{saying};
        }
        ways += std::string(saying.way) + (&saying == &sayings.back() ? " or " : ", ");
    }
    problem = "--way for " + value + " takes " + ways + "all, not '" + *way + "'";
    return std::nullopt;
}

}  // namespace

int RunSay(std::span<const std::string> all_args, const VoicesFor& voices, ClipPlayer& player,
           std::ostream& out, std::ostream& err) {
    // --voice and --style may stand anywhere; the rest keep their places.
    std::string voice{EmbeddedVoices().front().name};
    SpeechStyle style = SpeechStyle::kClear;
    std::optional<LifeKind> kind;
    std::optional<std::string> way;
    enum class Mode { kSpeak, kClips, kRecordings, kWav } mode = Mode::kSpeak;
    std::string wav_path;
    bool modes = false;  // more than one
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < all_args.size(); ++i) {
        if (all_args[i] == "--clips" || all_args[i] == "--recordings") {
            modes = modes || mode != Mode::kSpeak;
            mode = all_args[i] == "--clips" ? Mode::kClips : Mode::kRecordings;
        } else if (auto file = TakeOption(all_args, i, "--wav")) {
            modes = modes || mode != Mode::kSpeak;
            mode = Mode::kWav;
            wav_path = std::move(*file);
        } else if (const auto value = TakeOption(all_args, i, "--voice")) {
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
        } else if (const auto kind_name = TakeOption(all_args, i, "--as")) {
            kind = ParseLifeKind(*kind_name);
            if (!kind) {
                err << "talmo-say: --as takes " << KindChoices(", ", " or ") << ", not '"
                    << Printable(*kind_name) << "'\n";
                return 2;
            }
        } else if (auto way_name = TakeOption(all_args, i, "--way")) {
            way = std::move(way_name);
        } else {
            kept.push_back(all_args[i]);
        }
    }
    const std::span<const std::string> rest = kept;
    if (mode == Mode::kSpeak && rest.size() == 1 && (rest[0] == "--help" || rest[0] == "-h")) {
        out << Usage() << '\n';
        return 0;
    }
    if (mode == Mode::kSpeak && rest.size() == 1 && rest[0] == "--version") {
        out << "talmo-say " << kVersion << '\n';
        return 0;
    }
    // An option of ours out of place gets the usage; one we do not have is named.
    for (const std::string& arg : rest) {
        const bool option = arg.size() > 1 && arg[0] == '-' && (arg[1] < '0' || arg[1] > '9');
        if (option && arg != "--help" && arg != "-h" && arg != "--version") {
            err << "talmo-say: unknown option '" << Printable(arg) << "'\n" << Usage() << '\n';
            return 2;
        }
    }
    if (way && !kind) {
        err << "talmo-say: --way is for a value read --as " << KindChoices(", ", " or ") << '\n';
        return 2;
    }
    if (modes || rest.size() != 1 || (!rest[0].empty() && rest[0].starts_with("--"))) {
        err << Usage() << '\n';
        return 2;
    }
    // A number, or a value of a kind in the ways asked for; named so in a
    // file's title and when it cannot be played.
    int number = 0;
    std::vector<Saying> sayings;
    std::string name;
    std::string problem;
    if (kind) {
        const auto value = ReadLifeValue(*kind, rest[0]);
        if (!value) {
            err << "talmo-say: " << Printable(BadLifeValue(*kind, rest[0])) << '\n';
            return 2;
        }
        auto chosen = ChosenSayings(LifeSayings(*kind, *value, style), way, *value, problem);
        if (!chosen) {
            err << "talmo-say: " << Printable(problem) << '\n';
            return 2;
        }
        sayings = std::move(*chosen);
        name = *value;
    } else if (const auto parsed = ParseNumber(rest[0], problem)) {
        number = *parsed;
        name = std::to_string(number);
    } else {
        err << "talmo-say: " << Printable(problem) << '\n';
        return 2;
    }
    const bool each_way = way == "all";

    try {
        switch (mode) {
            case Mode::kClips:
            case Mode::kRecordings:
                if (!kind) {
                    out << (mode == Mode::kClips ? ClipNames(NumberClips(number))
                                                 : RecordingNames(number, style))
                        << '\n';
                }
                for (const Saying& saying : sayings) {
                    out << (each_way ? std::string(saying.way) + ": " : "")
                        << (mode == Mode::kClips ? ClipsOnly(saying) : SayingClipNames(saying))
                        << '\n';
                }
                return 0;
            case Mode::kWav: {
                // One voice for the whole number or value, as when it is spoken.
                const ClipStore& store = voices(voice).Next();
                const auto samples =
                    kind ? SayingSamples(store, sayings) : SpokenSamples(store, number, style);
                const auto image = EncodeClip(samples, {{"INAM", name}, {"ISFT", "talmo-say"}});
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
                SpeechEngine engine(voices(voice), counting, style);
                if (!kind) {
                    engine.SpeakNumber(number);
                }
                for (const Saying& saying : sayings) {
                    engine.SpeakSaying(saying, style);
                }
                if (counting.Failed() > 0) {
                    err << "talmo-say: the sound server could not play " << name << '\n';
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
