// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <span>
#include <string_view>

#include "forms/form.h"

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
    // A page is laid out for its window's least size; a window made larger
    // gives it `extra` pixels more, which a page may grow into.
    virtual void Stretch(QSize extra) { (void)extra; }

  protected:
    Form form_;
};

// A window of pages lays out its own form and its pages' at one scale, the
// largest any of them needs, so that every text fits.
inline void LayOutWithPages(Form& window, std::span<Page* const> pages) {
    double scale = window.FitScale();
    for (const Page* page : pages) {
        scale = std::max(scale, page->Controls().FitScale());
    }
    window.Layout(scale);
    for (Page* page : pages) {
        page->Layout(scale);
    }
}

// A control of such a window by name and index: the window's own, or else a
// page's. Asking for one that none has throws, naming it.
inline QWidget* FindWithPages(const Form& window, std::span<Page* const> pages,
                              std::string_view name, int index) {
    if (window.Has(name, index)) {
        return window.Find(name, index);
    }
    for (const Page* page : pages) {
        if (page->Controls().Has(name, index)) {
            return page->Controls().Find(name, index);
        }
    }
    return window.Find(name, index);
}

}  // namespace talmo::forms
