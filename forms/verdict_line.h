// SPDX-License-Identifier: MIT
#pragma once

#include <string>

class QLabel;
class QWidget;

namespace talmo::forms {

enum class Verdict { kNone, kRight, kWrong, kHint };

// Shows a verdict so that every learner perceives it: a mark and a colour
// beside the words, an alert for screen readers, and the words as the
// description of `focus`, the control the next key belongs to, which a
// screen reader reads out when it changes.
void ShowVerdict(QLabel* line, const std::string& text, Verdict verdict, QWidget* focus);

}  // namespace talmo::forms
