// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <cstdint>

#include "form.h"
#include "speaker.h"

class QLineEdit;
class QListWidget;

namespace talmo {

// Page 3, "Numbers": the cardinal numbers, with their list, and the fractions.
class NumbersPage final : public QObject {
  public:
    NumbersPage(forms::Form& form, QWidget* page, Speaker& speaker);

    // Fills the list with its first count entries, none of them chosen.
    void FillCardinalList(std::int16_t count);

    void cmdCardinals_Click(std::int16_t Index);
    void listboxCardinals_Click();
    // Step the list's choice, wrapping at both ends; count is the number of
    // entries the window keeps for the list.
    void cmdCardinalsNext_Click(std::int16_t count);
    void cmdCardinalsPrevious_Click(std::int16_t count);
    void cmdFractions_Click(std::int16_t Index);

  private:
    int SelectedRow() const;

    Speaker& speaker_;
    QLineEdit* cardinal_box_;
    QLineEdit* fraction_box_;
    QListWidget* list_;
};

// Page 4, "Ordinals": the first to the twentieth, to hear.
class OrdinalsPage final : public QObject {
  public:
    OrdinalsPage(forms::Form& form, QWidget* page, Speaker& speaker);
    void Command1_Click(std::int16_t Index);

  private:
    Speaker& speaker_;
};

// Page 5, "Math": operator words, the separators note and three sentences.
class MathPage final : public QObject {
  public:
    MathPage(forms::Form& form, QWidget* page, Speaker& speaker);
    void cmdOperators_Click(std::int16_t Index);
    void cmdExpressions_Click(std::int16_t Index);

  private:
    Speaker& speaker_;
    QLineEdit* operator_box_;
    QLineEdit* expression_box_;
};

}  // namespace talmo
