// SPDX-License-Identifier: MIT
#include "drills/pairs_drill.h"

#include <algorithm>
#include <utility>

namespace talmo {

void TrialDrawer::Shuffle() {
    for (std::size_t p = 0; p < pairs_; ++p) {
        deck_.push_back({p, false});
        deck_.push_back({p, true});
    }
    for (std::size_t i = deck_.size(); i > 1; --i) {
        std::swap(deck_[i - 1], deck_[random_->Below(i)]);
    }
    // The new deck's first item is not the old deck's last pair again.
    if (last_pair_ && deck_.back().pair == *last_pair_) {
        const auto other = std::find_if(deck_.rbegin(), deck_.rend(),
                                        [&](const Item& item) { return item.pair != *last_pair_; });
        if (other != deck_.rend()) {
            std::swap(deck_.back(), *other);
        }
    }
}

Trial TrialDrawer::Next(std::span<const Rendition> renditions) {
    if (deck_.empty()) {
        Shuffle();
    }
    const Item item = deck_.back();
    deck_.pop_back();

    const std::vector<Rendition> all =
        renditions.empty() ? std::vector<Rendition>{Rendition{}}
                           : std::vector<Rendition>(renditions.begin(), renditions.end());
    const auto without = [](std::vector<Rendition> from, const std::optional<Rendition>& r) {
        if (r) {
            std::erase(from, *r);
        }
        return from;
    };
    // Never the pair's own last rendition; then, if there is still a choice,
    // not the last trial's either.
    std::vector<Rendition> choice = without(all, pair_rendition_[item.pair]);
    if (choice.empty()) {
        choice = all;  // one rendition only: nothing to vary
    }
    if (auto fresher = without(choice, last_rendition_); !fresher.empty()) {
        choice = std::move(fresher);
    }
    const Rendition rendition = choice[random_->Below(choice.size())];
    const bool second_on_left = random_->Below(2) == 1;

    last_pair_ = item.pair;
    last_rendition_ = rendition;
    pair_rendition_[item.pair] = rendition;
    return {item.pair, item.second, rendition, second_on_left};
}

PairsDrill::PairsDrill(PairsView& view, DrillSpeaker& speaker, DrillRandom& random,
                       NumberWordsOf words)
    : view_(view),
      speaker_(speaker),
      random_(random),
      words_(std::move(words)),
      set_(&PairSets().front()),
      drawer_(set_->pairs.size(), random) {}

void PairsDrill::SetStep(PairsView::Step step) {
    step_ = step;
    view_.ShowStep(step);
}

void PairsDrill::SetPairs(const PairSet& set) {
    set_ = &set;
    drawer_ = TrialDrawer(set.pairs.size(), random_);
    trial_ = 0;
    view_.ShowVerdict("");
    SetStep(PairsView::Step::kReady);
}

void PairsDrill::StartBlock() {
    drawer_.NewBlock();
    trial_ = 0;
    right_ = 0;
    missed_.clear();
    missed_as_.clear();
    NextTrial();
}

void PairsDrill::NextTrial() {
    ++trial_;
    current_ = drawer_.Next(renditions_);
    view_.ShowTrial(trial_, kTrials, current_.Button(set_->pairs, 0),
                    current_.Button(set_->pairs, 1));
    SetStep(PairsView::Step::kAnswer);
    Play(current_.Heard(set_->pairs), current_.rendition, std::nullopt);
}

void PairsDrill::Play(int number, const Rendition& rendition, std::optional<int> button) {
    busy_ = true;
    view_.MarkPlaying(button);
    view_.Refresh();
    speaker_.Speak(number, rendition);
    view_.Heard();
    if (button) {
        view_.MarkPlaying(std::nullopt);
    }
    busy_ = false;
}

void PairsDrill::Proceed() {
    if (busy_) {
        return;
    }
    switch (step_) {
        case PairsView::Step::kReady:
        case PairsView::Step::kDone:
            view_.ShowVerdict("");
            StartBlock();
            break;
        case PairsView::Step::kAnswer:
            Play(current_.Heard(set_->pairs), current_.rendition, std::nullopt);
            break;
        case PairsView::Step::kMissed:
            view_.ShowVerdict("");
            if (trial_ < kTrials) {
                NextTrial();
            } else {
                SetStep(PairsView::Step::kDone);
                view_.ShowResult(right_, kTrials, missed_);
            }
            break;
    }
}

void PairsDrill::Choose(int button) {
    if (busy_ || (button != 0 && button != 1)) {
        return;
    }
    const auto pairs = set_->pairs;
    if (step_ == PairsView::Step::kMissed) {
        Play(current_.Button(pairs, button), current_.rendition, button);
        return;
    }
    if (step_ != PairsView::Step::kAnswer) {
        return;
    }
    const int heard = current_.Heard(pairs);
    const int chosen = current_.Button(pairs, button);
    if (answered_) {
        answered_(current_, chosen, chosen == heard);
    }
    if (chosen == heard) {
        ++right_;
        view_.ShowVerdict("Right: " + DrillSaid(heard, words_));
        if (trial_ < kTrials) {
            NextTrial();
        } else {
            SetStep(PairsView::Step::kDone);
            view_.ShowResult(right_, kTrials, missed_);
        }
        return;
    }
    view_.ShowVerdict("That was " + DrillSaid(heard, words_) + "; you chose " +
                      DrillSaid(chosen, words_));
    const NumberPair& pair = pairs[current_.pair];
    if (std::find(missed_.begin(), missed_.end(), pair) == missed_.end()) {
        missed_.push_back(pair);
        missed_as_.push_back(current_.rendition);
    }
    SetStep(PairsView::Step::kMissed);
    // The number heard first, then the one chosen, each on its own button.
    Play(heard, current_.rendition, 1 - button);
    speaker_.Pause(kComparePause);
    Play(chosen, current_.rendition, button);
}

void PairsDrill::HearMissed(std::size_t index) {
    if (busy_ || index >= missed_.size()) {
        return;
    }
    Play(missed_[index].first, missed_as_[index], std::nullopt);
    speaker_.Pause(kComparePause);
    Play(missed_[index].second, missed_as_[index], std::nullopt);
}

}  // namespace talmo
