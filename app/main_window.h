// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app_services.h"
#include "form.h"
#include "speaker.h"
#include "speech_engine.h"

namespace talmo {

class DictationPage;
class NumbersPage;

// The main window, "frmCounting": five pages on a tab strip, Help and Exit.
// It owns the pages and the state they share.
class MainWindow final : public QWidget, public Speaker {
  public:
    static constexpr int kPages = 5;
    static constexpr std::int16_t kCardinalEntries = 25;

    explicit MainWindow(Platform& platform);
    ~MainWindow() override;

    // The operations the pages share. Every page speaks through these three,
    // which only forward to the speech engine.
    void PlayNumber(std::string_view Index, std::string_view Category) override;
    void SpeakNumber(int number) override;
    void ReadNumber(std::int32_t number_in) override;
    void Tabstrip1_Click();
    void cmdCardinalsNext_Click();
    void cmdCardinalsPrevious_Click();
    void cmdHelp_Click();

    const forms::Form& Form() const { return form_; }
    DictationPage& Dictation() { return *dictation_; }
    QTabBar* TabBar() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Load();

    Platform& platform_;
    SpeechEngine speech_;
    forms::Form form_;
    std::int16_t CardinalCount = 0;
    DictationPage* dictation_ = nullptr;
    NumbersPage* numbers_ = nullptr;
};

}  // namespace talmo
