// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <cstdint>

#include "forms/page.h"
#include "speech/speaker.h"

class QLineEdit;
class QListWidget;

namespace talmo {

// Page 3, "Numbers": the cardinal numbers, with their list, and the fractions.
class NumbersPage final : public forms::Page {
  public:
    // The help topic of its More Info button.
    static constexpr int kFractionsContext = 9;

    NumbersPage(QWidget* frame, Speaker& speaker, forms::HelpTopic help);

    // Fills the list with its entries, none of them chosen.
    void Load() override;

    void cmdCardinals_Click(std::int16_t Index);
    void listboxCardinals_Click();
    // Step the list's choice, wrapping at both ends.
    void cmdCardinalsNext_Click();
    void cmdCardinalsPrevious_Click();
    void cmdFractions_Click(std::int16_t Index);

  private:
    int SelectedRow() const;

    Speaker& speaker_;
    // How many entries the list holds, set by the load step.
    std::int16_t CardinalCount = 0;
    QLineEdit* cardinal_box_;
    QLineEdit* fraction_box_;
    QListWidget* list_;
};

// Page 4, "Ordinals": the first to the twentieth, to hear.
class OrdinalsPage final : public forms::Page {
  public:
    OrdinalsPage(QWidget* frame, Speaker& speaker);
    void Command1_Click(std::int16_t Index);

  private:
    Speaker& speaker_;
};

// Page 5, "Math": operator words, the separators note and three sentences.
class MathPage final : public forms::Page {
  public:
    MathPage(QWidget* frame, Speaker& speaker);
    void cmdOperators_Click(std::int16_t Index);
    void cmdExpressions_Click(std::int16_t Index);

  private:
    Speaker& speaker_;
    QLineEdit* operator_box_;
    QLineEdit* expression_box_;
};

}  // namespace talmo
