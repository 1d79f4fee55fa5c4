// SPDX-License-Identifier: MIT
#pragma once

// The main window on a faked platform, shown, with the helpers the window's
// and the pages' tests drive it by.

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <memory>
#include <optional>
#include <vector>

#include "app/main_window.h"
#include "practice/dictation_page.h"
#include "speech/clip_ref.h"
#include "tests/support/window_fakes.h"

namespace talmo::testing {

inline QStringList Names(const std::vector<ClipRef>& clips) {
    QStringList names;
    for (const ClipRef& c : clips) {
        names << QString::fromStdString(c.Index).toUpper();
    }
    return names;
}

// The dictation page's quiz, on the window's second page.
inline DictationQuiz& QuizOf(const MainWindow& window) {
    return dynamic_cast<DictationPage&>(window.PageAt(1)).Quiz();
}

class WindowFixture {
  protected:
    // For the test class's init() and cleanup().
    void Open() {
        fake_ = std::make_unique<FakePlatform>();
        OpenWindow();
    }
    // A new window on the same platform, which a test may have changed.
    void OpenWindow() {
        window_.reset();
        speech_.emplace(fake_->Speech());
        window_ = std::make_unique<MainWindow>(fake_->platform, *speech_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void Close() {
        window_.reset();
        speech_.reset();
        fake_.reset();
        QCOMPARE(LeftoverWindows(), QStringList());
    }

    template <typename T = QWidget>
    T* Get(const char* name, int index = -1) {
        return window_->Get<T>(name, index);
    }
    QString Text(const char* name) { return Get<QLineEdit>(name)->text(); }
    QString Score() {
        return Text("txtboxTotalCorrect") + " of " + Text("txtboxTotalPlayed") + ", run " +
               Text("txtboxConsecutive");
    }
    bool Shown(const char* name, int index = -1) { return Get(name, index)->isVisible(); }
    // The one page shown; -2 when more than one is.
    int ShownPage() {
        int shown = -1;
        for (int i = 0; i < window_->PageCount(); ++i) {
            if (Shown("CountFrame", i)) {
                shown = shown == -1 ? i : -2;
            }
        }
        return shown;
    }
    void Click(const char* name, int index = -1) {
        QTest::mouseClick(Get<QPushButton>(name, index), Qt::LeftButton);
    }
    void PressTab(int tab) {
        QTabBar* bar = window_->TabBar();
        QTest::mousePress(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    void TypeAnswer(const QString& text) {
        QLineEdit* answer = Get<QLineEdit>("DictationAnswer");
        answer->setFocus();
        answer->setText(text);
        QTest::keyClick(answer, Qt::Key_Return);
    }

    std::unique_ptr<FakePlatform> fake_;
    std::optional<SpeechEngine> speech_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace talmo::testing
