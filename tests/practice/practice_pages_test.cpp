// SPDX-License-Identifier: MIT
// The two practice pages, driven through the main window.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QToolTip>

#include "practice/dictation_page.h"
#include "practice/enter_listen_page.h"
#include "reference/reference_pages.h"
#include "speech/number_speaker.h"
#include "tests/support/window_fixture.h"

using namespace talmo;
using namespace talmo::testing;

class PracticePagesTest : public QObject, public WindowFixture {
    Q_OBJECT

  private slots:
    void init() { Open(); }
    void cleanup() { Close(); }

    void enterAndListen_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("spoken");  // -1: the invalid-entry message
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("largest") << "99999" << 99999;
        QTest::newRow("blanks") << "  42  " << 42;
        QTest::newRow("half to even down") << "12.5" << 12;
        QTest::newRow("half to even up") << "13.5" << 14;
        QTest::newRow("small negative") << "-0.4" << 0;
        QTest::newRow("exponent") << "1e3" << 1000;
        QTest::newRow("just below") << "99999.4" << 99999;
        QTest::newRow("rounds over") << "99999.5" << -1;
        QTest::newRow("too large") << "100000" << -1;
        QTest::newRow("beyond 32 bits") << "1e20" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("blank") << "   " << -1;
        QTest::newRow("letters") << "abc" << -1;
        QTest::newRow("digits and letters") << "12abc" << -1;
        QTest::newRow("separators") << "1,021" << -1;
    }

    void enterAndListen() {
        QFETCH(QString, entry);
        QFETCH(int, spoken);
        Get<QLineEdit>("Input1")->setText(entry);
        Click("Play");
        if (spoken < 0) {
            QCOMPARE(fake_->messages.shown.size(), std::size_t(1));
            QCOMPARE(fake_->messages.shown[0].first, std::string(EnterListenPage::kInvalidEntry));
            QCOMPARE(fake_->messages.shown[0].second, MessageBox::Icon::kNone);
            QVERIFY(fake_->player.played.isEmpty());
        } else {
            QVERIFY(fake_->messages.shown.empty());
            QCOMPARE(fake_->player.played, Names(NumberClips(spoken)));
        }
        QCOMPARE(Get<QLineEdit>("Input1")->text(), entry);
    }

    void enterInInputDoesNothing() {
        auto* input = Get<QLineEdit>("Input1");
        input->setFocus();
        input->setText("42");
        QTest::keyClick(input, Qt::Key_Return);
        QTest::keyClick(input, Qt::Key_Enter);
        QVERIFY(fake_->player.played.isEmpty());
        QVERIFY(fake_->messages.shown.empty());
    }

    void sliderTipFollowsTheDrag() {
        auto* slider = Get<QSlider>("sliderPracticeRange");
        slider->setSliderDown(true);
        slider->setSliderPosition(2);  // the drag: the value follows the position
        QCOMPARE(QToolTip::text(), QString("0 - 1000"));
        QCOMPARE(Get<QLabel>("lblSliderValue")->text(), QString("0 - 1000"));
        slider->setSliderDown(false);
        QToolTip::hideText();
    }

    void quizRightAndWrong_data() {
        QTest::addColumn<bool>("both_voices");
        QTest::newRow("one voice") << false;
        QTest::newRow("both voices") << true;
    }
    // With both voices the quiz draws the same numbers, each said whole in
    // one voice, and Repeat says it again in that voice.
    void quizRightAndWrong() {
        QFETCH(bool, both_voices);
        if (both_voices) {
            fake_->BothVoices([female = false]() mutable { return female = !female; });
            OpenWindow();
        }
        const QString first_voice = both_voices ? "f" : "m";
        window_->TabBar()->setCurrentIndex(1);
        Click("PlayRandom");  // 88 at 0 - 100
        QCOMPARE(fake_->player.played, Names(NumberClips(88)));
        QCOMPARE(QApplication::focusWidget(), Get("DictationAnswer"));
        TypeAnswer("88");
        QVERIFY(Shown("lblCorrect"));
        QVERIFY(!Shown("lblIncorrect"));
        QCOMPARE(Score(), QString("1 of 1, run 1"));
        QCOMPARE(QApplication::focusWidget(), Get("PlayRandom"));

        Click("PlayRandom");
        TypeAnswer("80");
        QVERIFY(Shown("lblIncorrect"));
        QVERIFY(Shown("cmdbuttonRepeat"));
        QCOMPARE(Text("txtboxYourAnswer"), QString("80"));
        QCOMPARE(Text("txtboxCorrectAnswer"), QString("88"));
        QCOMPARE(Score(), QString("1 of 2, run 0"));

        QCOMPARE(fake_->player.voices, first_voice.repeated(fake_->player.played.size()));
        fake_->player.played.clear();
        fake_->player.voices.clear();
        Click("cmdbuttonRepeat");
        QCOMPARE(fake_->player.played, Names(NumberClips(88)));
        QCOMPARE(fake_->player.voices, first_voice.repeated(fake_->player.played.size()));
        QVERIFY(!Shown("cmdbuttonRepeat"));
        TypeAnswer("88");
        QCOMPARE(Score(), QString("2 of 3, run 1"));
        Click("cmdbuttonReset");
        QCOMPARE(Score(), QString("0 of 0, run 0"));
    }

    // A click made while the number is spoken waits, then runs inside the
    // play's pass of pending events.
    void inputDuringPlaybackRunsAfterIt_data() {
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QString>("score");
        QTest::addColumn<int>("page");
        QTest::newRow("check") << "CheckAnswer"
                               << "1 of 2, run 1" << 1;  // the entry was emptied
        QTest::newRow("reset") << "cmdbuttonReset"
                               << "0 of 0, run 0" << 1;
        QTest::newRow("tab") << "tab"
                             << "0 of 0, run 0" << 3;
    }

    void inputDuringPlaybackRunsAfterIt() {
        QFETCH(QString, clicked);
        QFETCH(QString, score);
        QFETCH(int, page);
        window_->TabBar()->setCurrentIndex(1);
        Click("PlayRandom");
        TypeAnswer("88");
        QCOMPARE(Score(), QString("1 of 1, run 1"));
        int clips_when_handled = -1;
        fake_->player.while_playing = [&] {
            if (clips_when_handled >= 0) {
                return;
            }
            QWidget* target = clicked == "tab" ? static_cast<QWidget*>(window_->TabBar())
                                               : Get(clicked.toUtf8().constData());
            const QPoint at =
                clicked == "tab" ? window_->TabBar()->tabRect(3).center() : target->rect().center();
            // Queued, as a real click during playback would be.
            QApplication::postEvent(
                target, new QMouseEvent(QEvent::MouseButtonPress, at, target->mapToGlobal(at),
                                        Qt::LeftButton, Qt::LeftButton, {}));
            QApplication::postEvent(
                target, new QMouseEvent(QEvent::MouseButtonRelease, at, target->mapToGlobal(at),
                                        Qt::LeftButton, Qt::NoButton, {}));
            clips_when_handled = int(fake_->player.played.size());
        };
        fake_->player.played.clear();
        Click("PlayRandom");
        QCOMPARE(clips_when_handled, 1);
        QCOMPARE(fake_->player.played.size(), NumberClips(88).size());
        QCOMPARE(Score(), score);
        QCOMPARE(ShownPage(), page);
    }
};

QTEST_MAIN(PracticePagesTest)
#include "practice_pages_test.moc"
