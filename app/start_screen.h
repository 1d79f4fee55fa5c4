// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

#include "app/app_services.h"
#include "forms/form.h"

namespace talmo {

// The start screen, "frmStartScreen": a welcome, the logos, and Continue,
// About and Exit. Continue opens the main window, which the screen creates
// once through the given factory, and hides the screen for good.
class StartScreen final : public QWidget {
  public:
    static const QString kWelcome;
    static const QString kUseNotice;

    // open_drills, if given, is F2's.
    StartScreen(HelpRequester& help, ProgramEnd& end,
                std::function<std::unique_ptr<QWidget>()> make_main_window,
                std::function<void()> open_drills = {});
    ~StartScreen() override;

    void Command1_Click();  // Continue
    QWidget* MainWindow() const { return main_window_.get(); }
    const forms::Form& Form() const { return form_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Load();

    HelpRequester& help_;
    ProgramEnd& end_;
    std::function<std::unique_ptr<QWidget>()> make_main_window_;
    std::unique_ptr<QWidget> main_window_;
    forms::Form form_;
};

}  // namespace talmo
