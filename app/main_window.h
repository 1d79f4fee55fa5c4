// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/app_services.h"
#include "app/page_list.h"
#include "forms/form.h"
#include "speech/speech_engine.h"

class QTabBar;

namespace talmo {

// The main window, "frmCounting": its pages on a tab strip, Help and Exit.
// It owns the pages, which own their controls; it wires none of them.
class MainWindow final : public QWidget {
  public:
    explicit MainWindow(Platform& platform, std::span<const PageEntry> pages = MainWindowPages());
    ~MainWindow() override;

    // The window's sound operations, as the pages reach them through the
    // speech engine: one clip, and one whole number.
    void PlayNumber(std::string_view Index, std::string_view Category);
    void ReadNumber(std::int32_t number_in);
    SpeechEngine& Speech() { return speech_; }

    void Tabstrip1_Click();
    void cmdHelp_Click();

    int PageCount() const { return static_cast<int>(entries_.size()); }
    forms::Page& PageAt(int i) const { return *pages_[static_cast<std::size_t>(i)]; }
    // A control by name and index: the window's own, or else a page's.
    QWidget* Find(std::string_view name, int index = -1) const;
    template <typename T>
    T* Get(std::string_view name, int index = -1) const {
        return qobject_cast<T*>(Find(name, index));
    }
    QTabBar* TabBar() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Load();

    Platform& platform_;
    SpeechEngine speech_;
    forms::Form form_;
    std::span<const PageEntry> entries_;
    std::vector<forms::Page*> pages_;  // owned by their frames
};

}  // namespace talmo
