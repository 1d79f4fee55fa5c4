// SPDX-License-Identifier: MIT
#include "drills/life_drill.h"

#include <algorithm>
#include <cstdio>

#include "speech/speech_style.h"

namespace talmo {
namespace {

int Below(DrillRandom& random, int n) {
    return static_cast<int>(random.Below(static_cast<std::size_t>(n)));
}

// Three times in four: a draw's common case.
bool Mostly(DrillRandom& random) {
    return Below(random, 4) < 3;
}

std::string Digits(int value, int width) {
    char text[8];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

std::string Trimmed(std::string_view text) {
    const auto begin = text.find_first_not_of(" \t");
    return begin == std::string_view::npos
               ? std::string()
               : std::string(text.substr(begin, text.find_last_not_of(" \t") - begin + 1));
}

// "15:20 — tjugo över tre or femton tjugo": the value, then the words when
// there are any.
std::string Said(const std::string& value, std::span<const Saying> sayings,
                 const SayingWordsOf& words) {
    std::string said;
    for (const Saying& saying : sayings) {
        const std::string w = words ? words(saying) : std::string();
        if (!w.empty()) {
            said += (said.empty() ? "" : " or ") + w;
        }
    }
    return said.empty() ? value : value + " \u2014 " + said;
}

}  // namespace

std::string DrawTime(DrillRandom& random) {
    const int hour = Below(random, 24);
    const int minute = Mostly(random) ? 5 * Below(random, 12) : Below(random, 60);
    return Digits(hour, 2) + ":" + Digits(minute, 2);
}

std::string DrawPrice(DrillRandom& random) {
    // The öre a shop's prices end in, and now and then any.
    static constexpr int kOre[] = {0, 50, 90, 95, 25, 75};
    const int kronor = 1 + Below(random, 999);
    const int ore = Mostly(random) ? kOre[random.Below(std::size(kOre))] : Below(random, 100);
    return std::to_string(kronor) + "," + Digits(ore, 2);
}

std::string DrawPhone(DrillRandom& random) {
    // The mobile prefixes in use: 070, 072, 073, 076, 079.
    static constexpr char kThird[] = {'0', '2', '3', '6', '9'};
    std::string digits = "07";
    digits += kThird[random.Below(std::size(kThird))];
    for (int i = 0; i < 7; ++i) {
        digits += static_cast<char>('0' + Below(random, 10));
    }
    return digits.substr(0, 3) + "-" + digits.substr(3, 3) + " " + digits.substr(6, 2) + " " +
           digits.substr(8, 2);
}

std::string DrawYear(DrillRandom& random) {
    return std::to_string(Mostly(random) ? 1900 + Below(random, 200) : 1000 + Below(random, 900));
}

std::string LifePlayed(std::string_view value, std::string_view way) {
    return std::string(value) + "|" + std::string(way);
}

std::optional<LifeItem> ParseLifeItem(std::string_view drill, std::string_view played) {
    const auto row = std::ranges::find(kLifeDrills, drill, &LifeDrillRow::drill);
    const auto bar = played.rfind('|');
    if (row == std::end(kLifeDrills) || bar == std::string_view::npos) {
        return std::nullopt;
    }
    // A value no longer read (a damaged row) could only be said as silence,
    // and would come back in Review for ever.
    const auto value = ReadLifeValue(row->kind, played.substr(0, bar));
    if (!value) {
        return std::nullopt;
    }
    return LifeItem{&*row, *value, std::string(played.substr(bar + 1))};
}

LifeTrial LifeTrialOf(const LifeItem& item, Rendition rendition) {
    const auto said = [&](SpeechStyle style) {
        return LifeSayingOfWay(item.row->kind, item.value, style, item.way);
    };
    auto saying = said(rendition.style);
    for (const StyleDescriptor& other : kSpeechStyles) {
        if (!saying && (saying = said(other.style))) {
            rendition.style = other.style;
        }
    }
    if (!saying) {
        saying = LifeSayingOfWay(item.row->kind, item.value, rendition.style).value_or(Saying{});
    }
    return {item.row, item.value, std::move(*saying), rendition};
}

LifeJudgement JudgeLife(const LifeTrial& trial, std::string_view typed,
                        const SayingWordsOf& words) {
    const LifeKind kind = trial.row->kind;
    const std::vector<Saying> heard{trial.saying};
    // Matched first: a whole hour may be typed as its hour alone, which is
    // no time of its own.
    if (LifeAnswerMatches(kind, trial.value, trial.saying.way, typed)) {
        return {true, "Right: " + Said(trial.value, heard, words), {}};
    }
    if (!ReadLifeValue(kind, typed)) {
        return {std::nullopt, std::string(trial.row->hint), {}};
    }
    std::vector<Saying> replay = heard;
    if (kind == LifeKind::kTime) {
        if (auto every = LifeSayings(kind, trial.value, trial.rendition.style); !every.empty()) {
            replay = std::move(every);
        }
    }
    return {false, "You wrote " + Trimmed(typed) + "; it was " + Said(trial.value, replay, words),
            std::move(replay)};
}

void SaySideBySide(DrillSpeaker& speaker, std::span<const Saying> sayings,
                   const Rendition& rendition) {
    for (std::size_t i = 0; i < sayings.size(); ++i) {
        if (i > 0) {
            speaker.Pause(kComparePause);
        }
        speaker.SpeakSaying(sayings[i], rendition);
    }
}

void LifeDrill::Say(std::span<const Saying> sayings, const Rendition& rendition) {
    view_.Refresh();
    SaySideBySide(speaker_, sayings, rendition);
    view_.Heard();
}

void LifeDrill::Play() {
    std::string drawn = row_.draw(random_);
    const Rendition rendition =
        renditions_.empty() ? Rendition{} : renditions_[random_.Below(renditions_.size())];
    std::string value = ReadLifeValue(row_.kind, drawn).value_or(std::move(drawn));
    auto sayings = LifeSayings(row_.kind, value, rendition.style);
    Saying saying = sayings.empty() ? Saying{} : sayings[random_.Below(sayings.size())];
    trial_ = LifeTrial{&row_, std::move(value), std::move(saying), rendition};
    view_.ClearAnswer();
    Say({&trial_->saying, 1}, rendition);
}

void LifeDrill::Repeat() {
    if (trial_) {
        Say({&trial_->saying, 1}, trial_->rendition);
    }
}

void LifeDrill::Check() {
    if (!trial_) {
        return;
    }
    const std::string answer = view_.AnswerText();
    LifeJudgement judged = JudgeLife(*trial_, answer, words_);
    if (!judged.right) {
        view_.ShowVerdict(judged.verdict);
        return;
    }
    const LifeTrial trial = *std::exchange(trial_, std::nullopt);
    if (answered_) {
        answered_(trial, answer, *judged.right);
    }
    view_.ShowVerdict(judged.verdict);
    if (*judged.right) {
        Play();  // the verdict stays while the next value plays
        return;
    }
    Say(judged.replay, trial.rendition);
}

}  // namespace talmo
