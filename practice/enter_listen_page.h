// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <string>

#include "form.h"
#include "practice_services.h"
#include "speaker.h"

class QLineEdit;

namespace talmo {

// Page 1, "Enter and Listen": the learner types a whole number from 0 to
// 99999 and hears it spoken.
class EnterListenPage final : public QObject {
  public:
    static constexpr const char* kInvalidEntry =
        "Invalid entry. Please enter a whole number between 0 and 99999.";

    // Adds the page's controls to the window's form, inside page.
    EnterListenPage(forms::Form& form, QWidget* page, Speaker& speaker, MessageBox& messages,
                    std::string decimal_separator);

    // "Hear it": speaks the entry, or says it is not a number from 0 to 99999.
    void Play_Click();

  private:
    Speaker& speaker_;
    MessageBox& messages_;
    std::string decimal_separator_;
    QLineEdit* input_;
};

}  // namespace talmo
