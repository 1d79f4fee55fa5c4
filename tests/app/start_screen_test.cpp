// SPDX-License-Identifier: MIT
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

#include <cstdio>
#include <optional>

#include "app/main_window.h"
#include "app/pictures.h"
#include "app/start_screen.h"
#include "tests/support/window_fakes.h"

using namespace talmo;
using namespace talmo::testing;

class StartScreenTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakePlatform> fake_;
    std::optional<SpeechEngine> speech_;
    std::unique_ptr<StartScreen> start_;
    int windows_made_ = 0;

    QPushButton* Button(const char* name) { return start_->Form().Get<QPushButton>(name); }

  private slots:
    void init() {
        fake_ = std::make_unique<FakePlatform>();
        speech_.emplace(fake_->Speech());
        windows_made_ = 0;
        start_ = std::make_unique<StartScreen>(fake_->help, fake_->end, [this] {
            ++windows_made_;
            return std::make_unique<MainWindow>(fake_->platform, *speech_);
        });
        start_->show();
    }
    void cleanup() {
        start_.reset();
        speech_.reset();
        fake_.reset();
        QCOMPARE(LeftoverWindows(), QStringList());
    }

    void showsTheWelcome() {
        QCOMPARE(start_->objectName(), QString("frmStartScreen"));
        QCOMPARE(start_->windowTitle(), QString("Talmo"));
        const QString welcome = start_->Form().Get<QLabel>("Label5")->text();
        QVERIFY(welcome.startsWith("Welcome to Talmo from Kalvesta Software! Talmo contains"));
        QVERIFY(welcome.endsWith("the world offering Swedish language instruction."));
        QVERIFY(!welcome.contains("  "));
        QCOMPARE(start_->Form().Get<QLabel>("Label5")->palette().color(QPalette::WindowText),
                 QColor(0, 0, 255));
        QCOMPARE(start_->Form().Get<QLabel>("Label4")->text(), QString("  "));
        QVERIFY(Button("Command1")->font().bold());
        QVERIFY(!Button("Command2")->font().bold());
        QVERIFY(!start_->Form().Get<QLabel>("Image1")->pixmap().isNull());
        QVERIFY(!start_->Form().Get<QLabel>("Image2")->pixmap().isNull());
        QCOMPARE(windows_made_, 0);
        // The keyboard goes Continue, About, Exit.
        QCOMPARE(Button("Command1")->nextInFocusChain(),
                 static_cast<QWidget*>(Button("cmdAboutKlvs")));
        QCOMPARE(Button("cmdAboutKlvs")->nextInFocusChain(),
                 static_cast<QWidget*>(Button("Command2")));
    }

    void continueOpensTheMainWindowOnce() {
        QTest::mouseClick(Button("Command1"), Qt::LeftButton);
        QCOMPARE(windows_made_, 1);
        QVERIFY(start_->MainWindow()->isVisible());
        QVERIFY(!start_->isVisible());
        start_->Command1_Click();
        QCOMPARE(windows_made_, 1);
        QCOMPARE(fake_->end.ended, 0);
    }

    void aboutAsksForTopicSixEachTime() {
        QTest::mouseClick(Button("cmdAboutKlvs"), Qt::LeftButton);
        QTest::mouseClick(Button("cmdAboutKlvs"), Qt::LeftButton);
        start_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(start_.get()));
        QTest::keyClick(start_.get(), Qt::Key_F1);
        QCOMPARE(fake_->help.requests.size(), std::size_t(3));
        for (const auto& [file, context] : fake_->help.requests) {
            QCOMPARE(file.toLower(), QString("counthelp.hlp"));
            QCOMPARE(context, 6);
        }
        QVERIFY(start_->isVisible());
        QCOMPARE(windows_made_, 0);
    }

    void aMissingPictureEndsTheProgramWithAReport() {
        QLabel box;
        box.resize(90, 60);
        RecordedEnd end;
        std::fflush(stderr);
        std::FILE* capture = std::tmpfile();
        const int saved = dup(2);
        dup2(fileno(capture), 2);
        ShowPicture(&box, "NoSuchPicture", end);
        std::fflush(stderr);
        dup2(saved, 2);
        close(saved);
        std::rewind(capture);
        char line[200] = {};
        const bool read = std::fgets(line, sizeof line, capture) != nullptr;
        std::fclose(capture);
        QVERIFY(read);
        QCOMPARE(QString(line), QString("talmo: the picture NoSuchPicture cannot be loaded\n"));
        QCOMPARE(end.ended, 1);
        QCOMPARE(end.status, 1);
        QVERIFY(box.pixmap().isNull());
    }

    void exitAndCloseEndTheProgram() {
        QTest::mouseClick(Button("Command2"), Qt::LeftButton);
        QCOMPARE(fake_->end.ended, 1);
        QCOMPARE(fake_->end.status, 0);
        start_->close();
        QCOMPARE(fake_->end.ended, 2);
        QCOMPARE(windows_made_, 0);
    }
};

QTEST_MAIN(StartScreenTest)
#include "start_screen_test.moc"
