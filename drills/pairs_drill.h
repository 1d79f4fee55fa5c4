// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "drills/drill_voices.h"
#include "drills/pair_sets.h"
#include "speech/speech_style.h"

namespace talmo {

// One trial of a block: which pair, which of its two numbers is played, how
// it is said, and which number is on the left button.
struct Trial {
    std::size_t pair;
    bool plays_second;  // the pair's second number is the one heard
    Rendition rendition;
    bool second_on_left;

    int Heard(std::span<const NumberPair> pairs) const {
        return plays_second ? pairs[pair].second : pairs[pair].first;
    }
    // The numbers on the two buttons, left then right.
    int Button(std::span<const NumberPair> pairs, int button) const {
        const NumberPair& p = pairs[pair];
        return (button == 0) == second_on_left ? p.second : p.first;
    }
};

// Draws a block's trials. Within a block every pair comes in both directions
// equally often, give or take one: the pair-and-direction items are dealt
// from a shuffled deck, and a new deck is shuffled when one runs out, with no
// pair twice running across the seam. A pair is never said in the rendition
// it last had, and where the renditions allow, a trial never has the
// rendition of the trial before it.
class TrialDrawer {
  public:
    TrialDrawer(std::size_t pair_count, DrillRandom& random)
        : pairs_(pair_count), random_(&random) {}

    // A block starts with a full deck.
    void NewBlock() { deck_.clear(); }
    Trial Next(std::span<const Rendition> renditions);

  private:
    struct Item {
        std::size_t pair;
        bool second;
    };
    void Shuffle();

    std::size_t pairs_;
    DrillRandom* random_;
    std::vector<Item> deck_;  // dealt from the back
    std::optional<std::size_t> last_pair_;
    std::optional<Rendition> last_rendition_;
    std::vector<std::optional<Rendition>> pair_rendition_ =
        std::vector<std::optional<Rendition>>(pairs_);
};

// The Pairs drill's controls, as the drill drives them.
class PairsView {
  public:
    virtual ~PairsView() = default;
    // Where a block stands, which says what Space (the action button) does:
    // start a block, replay the number, go on after a miss, or start anew.
    enum class Step { kReady, kAnswer, kMissed, kDone };
    virtual void ShowStep(Step step) = 0;
    // Trial `trial` (from 1) of `trials`, with the two numbers to choose from.
    virtual void ShowTrial(int trial, int trials, int left, int right) = 0;
    // "Right: 40 — fyrtio", "That was 40 — fyrtio; you chose 14 — fjorton",
    // or "" before an answer.
    virtual void ShowVerdict(const std::string& text) = 0;
    // The button whose number is playing, 0 or 1; none when nothing is.
    virtual void MarkPlaying(std::optional<int> button) = 0;
    // The block's end: the score and every pair missed, in the order first missed.
    virtual void ShowResult(int right, int trials, std::span<const NumberPair> missed) = 0;
    // Draws what was shown before a sound holds the program; input waits.
    virtual void Refresh() = 0;
    // A sound has just ended.
    virtual void Heard() {}
};

// A block of Pairs: each trial plays one number of a pair, the learner
// chooses which of the two it was, and hears at once whether it was right.
class PairsDrill {
  public:
    static constexpr int kTrials = 20;

    PairsDrill(PairsView& view, DrillSpeaker& speaker, DrillRandom& random,
               NumberWordsOf words = {});

    // Chooses the set; any block under way ends unscored.
    void SetPairs(const PairSet& set);
    // How the next trials are said: each trial draws one of these.
    void SetRenditions(std::vector<Rendition> renditions) { renditions_ = std::move(renditions); }

    void StartBlock();
    // Space: starts a block, replays the number, or goes on after a miss.
    void Proceed();
    // Button 0 (left) or 1 (right): the learner's answer; after a miss, that
    // button's number again, to compare.
    void Choose(int button);
    // Both numbers of a pair missed in the block just ended, as it was missed.
    void HearMissed(std::size_t index);
    // Told of every answer before its verdict shows: the trial, the number
    // chosen, and whether it was the one heard.
    using Answered = std::function<void(const Trial&, int chosen, bool right)>;
    void OnAnswer(Answered answered) { answered_ = std::move(answered); }

    PairsView::Step Step() const { return step_; }
    int TrialNumber() const { return trial_; }  // from 1; 0 before a block
    int Score() const { return right_; }
    const Trial& Current() const { return current_; }
    const PairSet& Set() const { return *set_; }

  private:
    void NextTrial();
    void SetStep(PairsView::Step step);
    void Play(int number, const Rendition& rendition, std::optional<int> button);

    PairsView& view_;
    DrillSpeaker& speaker_;
    DrillRandom& random_;
    NumberWordsOf words_;
    const PairSet* set_;
    TrialDrawer drawer_;
    std::vector<Rendition> renditions_{Rendition{}};
    PairsView::Step step_ = PairsView::Step::kReady;
    bool busy_ = false;  // a sound is playing: input that arrives meanwhile is dropped
    int trial_ = 0;
    int right_ = 0;
    Trial current_{};
    Answered answered_;
    std::vector<NumberPair> missed_;
    std::vector<Rendition> missed_as_;
};

}  // namespace talmo
