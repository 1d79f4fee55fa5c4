// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

#include <map>
#include <span>
#include <string_view>
#include <vector>

#include "forms/controls.h"

namespace talmo::forms {

// Builds windows from tables of controls and places them, scaled uniformly
// from twips so that every text fits its control in the window's font.
// Tables list their controls in keyboard order, which the form keeps.
class Form {
  public:
    explicit Form(QWidget* root) : root_(root) {}

    // Creates the controls of a table under parent (the form's root when null).
    void Add(std::span<const Control> controls, QWidget* parent = nullptr);

    // A text that a control must be able to show in full, beyond its caption:
    // the written forms a box will display, the entries of a list.
    void RequireText(QWidget* control, const QString& text);

    // The control of that name and index; asking for one the form does not
    // have is a mistake in the program, so it throws std::logic_error.
    QWidget* Find(std::string_view name, int index = -1) const;
    bool Has(std::string_view name, int index = -1) const;
    template <typename T>
    T* Get(std::string_view name, int index = -1) const {
        return qobject_cast<T*>(Find(name, index));
    }
    // The members of a control array, by index.
    template <typename T>
    std::vector<T*> Array(std::string_view name, int count) const {
        std::vector<T*> members;
        for (int i = 0; i < count; ++i) {
            members.push_back(Get<T>(name, i));
        }
        return members;
    }

    // The smallest pixels-per-twip factor at which every text fits its
    // control: never below 1/15, 96 pixels to the inch.
    double FitScale() const;
    void Layout(double pixels_per_twip);
    // A size in twips at the form's scale.
    QSize Scaled(int width, int height) const;

  private:
    struct Entry {
        QWidget* widget;
        Control control;
        QWidget* parent;
    };
    const Entry* Lookup(std::string_view name, int index) const;
    // The least scale at which the entry's texts fit; a wrapped label is
    // tried at floor first.
    double NeededScale(const Entry& entry, double floor) const;

    QWidget* root_;
    std::vector<Entry> entries_;
    std::map<QWidget*, std::vector<QString>> required_;
    double scale_ = 1.0 / 15;
};

}  // namespace talmo::forms
