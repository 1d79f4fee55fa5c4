// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "forms/page.h"
#include "practice/practice_services.h"
#include "speech/speaker.h"

class QLineEdit;

namespace talmo {

// Page 1, "Enter and Listen": the learner types a whole number from 0 to
// 99999 and hears it spoken.
class EnterListenPage final : public forms::Page {
  public:
    static constexpr const char* kInvalidEntry =
        "Invalid entry. Please enter a whole number between 0 and 99999.";
    // The help topic of its Information button.
    static constexpr int kInformationContext = 2;

    EnterListenPage(QWidget* frame, Speaker& speaker, MessageBox& messages,
                    std::string decimal_separator, forms::HelpTopic help);

    // "Hear it": speaks the entry, or says it is not a number from 0 to 99999.
    void Play_Click();

  private:
    Speaker& speaker_;
    MessageBox& messages_;
    std::string decimal_separator_;
    QLineEdit* input_;
};

}  // namespace talmo
