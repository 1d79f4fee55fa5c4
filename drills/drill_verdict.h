// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "drill_site.h"
#include "history_store.h"
#include "pair_sets.h"

class QLabel;

namespace talmo {

enum class Verdict { kNone, kRight, kWrong, kHint };

// Shows a drill's verdict so that every learner perceives it: a mark and a
// colour beside the words, an alert for screen readers, and the words as the
// description of `focus`, the control the next key belongs to, which a
// screen reader reads out when it changes.
void ShowVerdict(QLabel* line, const std::string& text, Verdict verdict, QWidget* focus);

// Keeps an answer in the learner's history, unless the number it answers
// never reached the sound server: that answer was a guess.
void KeepAnswer(const DrillSite& site, AnswerRecord answer);

// The Swedish words the drills show for a number.
NumberWordsOf DrillWords();

}  // namespace talmo
