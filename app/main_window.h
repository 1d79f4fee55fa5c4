// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <cstdint>
#include <span>
#include <string_view>

#include "app/app_services.h"
#include "forms/page.h"
#include "forms/paged_window.h"
#include "speech/speaker.h"

namespace talmo {

// What the main window hands each page it builds.
struct PageSite {
    QWidget* frame;  // the page's frame on the tab strip, its controls' parent
    Platform& platform;
    Speaker& speaker;
    forms::HelpTopic help;  // a topic of the program's help file
};

// The main window's pages, in tab order.
std::span<const forms::PageRow<PageSite>> MainWindowPages();

// The main window, "frmCounting": its pages on a tab strip, Help and Exit.
// It owns the pages, which own their controls; it wires none of them. Its
// pages speak through the speaker it is given.
class MainWindow final : public forms::PagedWindow {
  public:
    MainWindow(Platform& platform, Speaker& speaker,
               std::span<const forms::PageRow<PageSite>> pages = MainWindowPages());
    ~MainWindow() override;

    // The window's sound operations, as the pages reach them through the
    // speaker: one clip, and one whole number.
    void PlayNumber(std::string_view Index, std::string_view Category);
    void ReadNumber(std::int32_t number_in);

    void Tabstrip1_Click();
    void cmdHelp_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Load();

    Platform& platform_;
    Speaker& speaker_;
    std::span<const forms::PageRow<PageSite>> rows_;
};

}  // namespace talmo
