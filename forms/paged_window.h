// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QWidget>

#include <cstddef>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/page.h"

class QTabBar;

namespace talmo::forms {

// One page as its window lists it: everything the window needs to know of
// it, and how it is made from what the window hands its pages (Site). The
// page itself owns its controls, handlers and wiring.
template <typename Site>
struct PageRow {
    const char* tab = "";            // the tab's caption
    int help_context = 0;            // Help's topic while the page is shown
    Rect frame = {};                 // the page's frame on the tab strip, in twips
    const char* frame_caption = "";  // usually none
    // A picture box of the page, and the picture the window's load step
    // shows in it, in banner_order from 0; none without a box.
    const char* banner_box = nullptr;
    const char* banner = nullptr;
    int banner_order = 0;
    Page* (*make)(const Site& site) = nullptr;
};

// A window of pages: a tab strip over one frame per page, the shown page's
// frame alone visible; Help, by button and F1, on the shown page's topic; and
// the window's controls and its pages' laid out at one scale. A window is a
// configuration of it: its own controls, its pages' rows, and what it hands
// each page.
class PagedWindow : public QWidget {
  public:
    // The window's tab strip, its pages' frames (an array in tab order) and
    // its Help button, by name.
    struct Names {
        const char* tab_strip;
        const char* frames;
        const char* help_button;
    };

    PagedWindow(Names names, HelpTopic help);
    ~PagedWindow() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    Page& PageAt(int i) const { return *pages_[static_cast<std::size_t>(i)]; }
    // A control by name and index: the window's own, or else a page's.
    QWidget* Find(std::string_view name, int index = -1) const;
    template <typename T>
    T* Get(std::string_view name, int index = -1) const {
        return qobject_cast<T*>(Find(name, index));
    }
    QTabBar* TabBar() const;

    // A page switch: that page's frame alone shown, then every page told.
    void SwitchToPage(int index);
    // Asks for the topic of the page on show.
    void HelpOnShownPage();

  protected:
    // Builds the window, once, from its constructor: its own controls in
    // keyboard order (its tab strip among them), then a frame for each page,
    // its tab, and the page made in it from site_for(index, frame).
    template <typename Site, std::size_t N, typename SiteFor>
    void AddPages(std::vector<Control> controls, std::span<const PageRow<Site>, N> rows,
                  SiteFor site_for) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            controls.push_back({.name = names_.frames,
                                .index = static_cast<int>(i),
                                .kind = Kind::kPage,
                                .caption = rows[i].frame_caption,
                                .rect = rows[i].frame});
        }
        form_.Add(controls);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int index = static_cast<int>(i);
            AddTab(rows[i].tab, rows[i].help_context);
            pages_.push_back(rows[i].make(site_for(index, form_.Find(names_.frames, index))));
        }
        ConnectPages();
    }

    // Shows that page's frame alone, telling no page.
    void ShowFrame(int index);
    // Lays the window and its pages out at one scale, the largest any of
    // them needs; gives a size in twips at that scale.
    QSize LayOut(int width, int height);

    const Form& Controls() const { return form_; }
    std::vector<QWidget*> Frames() const;
    std::span<Page* const> Pages() const { return pages_; }
    const HelpTopic& Help() const { return help_; }

  private:
    void AddTab(const char* tab, int help_context);
    void ConnectPages();

    Names names_;
    HelpTopic help_;
    Form form_;
    std::vector<int> help_contexts_;
    std::vector<Page*> pages_;  // owned by their frames
};

}  // namespace talmo::forms
