// SPDX-License-Identifier: MIT
#include "drills/dictation_drill.h"

namespace talmo {

std::optional<int> TypedNumber(const std::string& text) {
    // A no-break space (as the drills write numbers) is a space.
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool nbsp = text.compare(i, 2, "\u00a0") == 0;
        plain += nbsp || text[i] == '\t' ? ' ' : text[i];
        i += nbsp ? 1 : 0;
    }
    const auto begin = plain.find_first_not_of(' ');
    if (begin == std::string::npos) {
        return std::nullopt;
    }
    plain = plain.substr(begin, plain.find_last_not_of(' ') - begin + 1);
    int value = 0, digits = 0, group = 0, groups = 0;
    for (const char c : plain) {
        if (c == ' ' && group > 0 && (groups == 0 || group == 3)) {
            ++groups;  // every group after the first is of three
            group = 0;
            continue;
        }
        if (c < '0' || c > '9' || ++digits > 5) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        ++group;
    }
    return groups == 0 || group == 3 ? std::optional(value) : std::nullopt;
}

std::string NotANumber(const std::string& text) {
    if (text.find(',') != std::string::npos || text.find('.') != std::string::npos) {
        return "Type the number you heard in digits, and write it without a comma: 17000 or "
               "17 000.";
    }
    return "Type the number you heard, in digits, from 0 to 99999.";
}

void DictationDrill::Say(int number) {
    view_.Refresh();
    speaker_.Speak(number, rendition_);
    view_.Heard();
}

void DictationDrill::Play() {
    const bool no_weights = weights_ == KindWeights{};
    const KindWeights weights = no_weights ? WeighKinds({}, KindsUpTo(max_)) : weights_;
    constexpr std::size_t kSteps = 1'000'000;
    number_ = DrawByKind(weights, max_, double(random_.Below(kSteps)) / kSteps,
                         [this](int below) { return int(random_.Below(std::size_t(below))); });
    rendition_ = renditions_.empty() ? Rendition{} : renditions_[random_.Below(renditions_.size())];
    view_.ClearAnswer();
    Say(*number_);
}

void DictationDrill::Repeat() {
    if (number_) {
        Say(*number_);
    }
}

void DictationDrill::Check() {
    if (!number_) {
        return;
    }
    const std::string answer = view_.AnswerText();
    const auto typed = TypedNumber(answer);
    if (!typed) {
        view_.ShowVerdict(NotANumber(answer));
        return;
    }
    const int number = *std::exchange(number_, std::nullopt);
    const bool right = *typed == number;
    if (answered_) {
        answered_(number, answer, right, rendition_);
    }
    if (right) {
        // The verdict stays while the next number plays.
        view_.ShowVerdict("Right: " + DrillSaid(number, words_));
        Play();
        return;
    }
    view_.ShowVerdict("You wrote " + DrillSaid(*typed, words_) + "; it was " +
                      DrillSaid(number, words_));
    Say(*typed);
    speaker_.Pause(kComparePause);
    Say(number);
}

}  // namespace talmo
