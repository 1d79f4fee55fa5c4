// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QWidget>

#include <functional>

#include "form.h"

namespace talmo::forms {

// Asks the window for a topic of its help file, by context number.
using HelpTopic = std::function<void(int context)>;

// One page of a window of pages: its own controls, built inside the frame
// the window gives it, and its own handlers. A page's control names are its
// own: they are looked up in its form, never in the window's.
class Page : public QObject {
  public:
    explicit Page(QWidget* frame) : QObject(frame), form_(frame) {}

    const Form& Controls() const { return form_; }
    // Places the controls at the window's scale.
    void Layout(double pixels_per_twip) { form_.Layout(pixels_per_twip); }

    // The window's load step, page after page in tab order, once the
    // banners are shown.
    virtual void Load() {}
    // Every page switch, on every page; `shown` for the one now chosen.
    virtual void Switched(bool shown) { (void)shown; }

  protected:
    Form form_;
};

}  // namespace talmo::forms
