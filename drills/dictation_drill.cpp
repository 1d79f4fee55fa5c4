// SPDX-License-Identifier: MIT
#include "dictation_drill.h"

#include "pair_sets.h"

namespace talmo {

std::optional<int> TypedNumber(const std::string& text) {
    int value = 0, digits = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            value = value * 10 + (c - '0');
            if (++digits > 5) {
                return std::nullopt;
            }
        } else if (c == ' ' && digits > 0) {
            continue;
        } else if (text.compare(i, 2, "\u00a0") == 0 && digits > 0) {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return digits > 0 ? std::optional(value) : std::nullopt;
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
    view_.ShowVerdict("");
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
        view_.ShowVerdict("Type the number you heard, in digits, from 0 to 99999.");
        return;
    }
    const int number = *std::exchange(number_, std::nullopt);
    const bool right = *typed == number;
    if (answered_) {
        answered_(number, answer, right, rendition_);
    }
    const auto said = [this](int n) { return DrillDigits(n) + " \u2014 " + words_(n); };
    if (right) {
        view_.ShowVerdict("Right: " + said(number));
        return;
    }
    view_.ShowVerdict("You wrote " + said(*typed) + "; it was " + said(number));
    Say(*typed);
    Say(number);
}

}  // namespace talmo
