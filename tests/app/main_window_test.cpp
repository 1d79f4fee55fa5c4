// SPDX-License-Identifier: MIT
// The main window: its load, its page switching, help, the way out, and
// what it offers keyboards and screen readers.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>

#include "practice/dictation_page.h"
#include "practice/enter_listen_page.h"
#include "reference/reference_pages.h"
#include "speech/number_speaker.h"
#include "tests/support/window_fixture.h"

using namespace talmo;
using namespace talmo::testing;

class MainWindowTest : public QObject, public WindowFixture {
    Q_OBJECT

  private slots:
    void init() { Open(); }
    void cleanup() { Close(); }

    void stateAfterLoad() {
        QCOMPARE(window_->objectName(), QString("frmCounting"));
        QCOMPARE(window_->windowTitle(), QString("Talmo"));
        QCOMPARE(window_->TabBar()->count(), 5);
        QCOMPARE(window_->TabBar()->tabText(1), QString("&Listen and Enter"));
        QCOMPARE(window_->TabBar()->currentIndex(), 0);
        QCOMPARE(ShownPage(), 0);
        QCOMPARE(Get<QSlider>("sliderPracticeRange")->value(), 1);
        QCOMPARE(Get<QLabel>("lblSliderValue")->text(), QString("0 - 100"));
        QCOMPARE(Score(), QString("0 of 0, run 0"));
        for (const char* hidden :
             {"lblCorrect", "lblIncorrect", "cmdbuttonRepeat", "lblYourAnswer", "txtboxYourAnswer",
              "lblCorrectAnswer2", "txtboxCorrectAnswer"}) {
            QVERIFY2(!Get(hidden)->isVisibleTo(Get("CountFrame", 1)), hidden);
        }
        auto* list = Get<QListWidget>("listboxCardinals");
        QStringList entries;
        for (int i = 0; i < list->count(); ++i) {
            entries << list->item(i)->text();
        }
        QCOMPARE(entries, QStringList({"20",   "21",     "22",      "23",        "24",
                                       "25",   "26",     "27",      "28",        "29",
                                       "30",   "40",     "50",      "60",        "70",
                                       "80",   "90",     "100",     "101",       "200",
                                       "1000", "10.000", "100.000", "2.000.000", "7.000.000.000"}));
        QVERIFY(list->selectedItems().isEmpty());
        QVERIFY(Text("txtboxCardinals").isEmpty());
        QVERIFY(fake_->player.played.isEmpty());
        QCOMPARE(Get<forms::PageFrame>("CountFrame", 2)->Caption(), QString("Numbers"));
        QCOMPARE(Get<forms::PageFrame>("CountFrame", 0)->Caption(), QString());
    }

    void pageSwitchResetsTheQuizAndNothingElse() {
        Get<QLineEdit>("Input1")->setText("123");
        window_->TabBar()->setCurrentIndex(2);
        Get<QListWidget>("listboxCardinals")->setCurrentRow(11);  // "40"
        Click("cmdCardinals", 5);
        window_->TabBar()->setCurrentIndex(1);
        QCOMPARE(ShownPage(), 1);
        Get<QSlider>("sliderPracticeRange")->setValue(4);
        Click("PlayRandom");  // s=7, r=0.375 at 0 - 99999: 26247
        TypeAnswer("1");
        QCOMPARE(Score(), QString("0 of 1, run 0"));
        QVERIFY(Shown("lblIncorrect"));

        window_->TabBar()->setCurrentIndex(4);
        window_->TabBar()->setCurrentIndex(1);
        QCOMPARE(Score(), QString("0 of 0, run 0"));
        QCOMPARE(Get<QSlider>("sliderPracticeRange")->value(), 1);
        QCOMPARE(Get<QLabel>("lblSliderValue")->text(), QString("0 - 100"));
        QVERIFY(!Shown("lblIncorrect"));
        QVERIFY(!Shown("cmdbuttonRepeat"));
        QVERIFY(!Shown("txtboxYourAnswer"));
        QCOMPARE(Get<QLineEdit>("DictationAnswer")->text(), QString("1"));
        QCOMPARE(QuizOf(*window_).rannum(), 26247);
        // The other pages are as they were.
        QCOMPARE(Get<QLineEdit>("Input1")->text(), QString("123"));
        QCOMPARE(Get<QListWidget>("listboxCardinals")->currentRow(), 11);
        QCOMPARE(Text("txtboxCardinals"), QString("fem"));
    }

    void pressOnTheChosenTabResetsTheQuiz() {
        PressTab(1);
        QCOMPARE(ShownPage(), 1);
        Get<QSlider>("sliderPracticeRange")->setValue(3);
        Click("PlayRandom");
        TypeAnswer("x");
        QCOMPARE(Score(), QString("0 of 1, run 0"));
        PressTab(1);
        QCOMPARE(ShownPage(), 1);
        QCOMPARE(Score(), QString("0 of 0, run 0"));
        QCOMPARE(Get<QSlider>("sliderPracticeRange")->value(), 1);
    }

    void pressOnTheStripsBareBodyResetsTheQuiz() {
        PressTab(1);
        auto* slider = Get<QSlider>("sliderPracticeRange");
        QWidget* strip = Get("TabStrip1");
        // Beside Help, at its height, nothing covers the strip.
        const QWidget* help = Get("cmdHelp");
        const QPoint beside(help->x() - 10, help->y() + help->height() / 2);
        QCOMPARE(window_->childAt(beside), strip);
        slider->setValue(3);
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->mapFrom(window_.get(), beside));
        QCOMPARE(slider->value(), 1);
        // A press on the page frame is not one on the strip.
        slider->setValue(3);
        QTest::mouseClick(Get("CountFrame", 1), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(slider->value(), 3);
        QCOMPARE(ShownPage(), 1);
    }

    void exitAndCloseEndTheProgram() {
        Click("cmdExit");
        QCOMPARE(fake_->end.ended, 1);
        window_->close();
        QCOMPARE(fake_->end.ended, 2);
    }

    void helpFollowsTheTab() {
        for (int tab = 0; tab < 5; ++tab) {
            window_->TabBar()->setCurrentIndex(tab);
            Click("cmdHelp");
        }
        window_->TabBar()->setCurrentIndex(0);
        Click("cmdInformation");
        window_->TabBar()->setCurrentIndex(2);
        Click("cmdFractionsInfo");
        Click("cmdFractionsInfo");
        std::vector<int> contexts;
        for (const auto& [file, context] : fake_->help.requests) {
            QCOMPARE(file, QString("CountHelp.hlp"));
            contexts.push_back(context);
        }
        window_->TabBar()->setCurrentIndex(3);
        QTest::keyClick(window_.get(), Qt::Key_F1);  // F1: the help of the page on show
        contexts.push_back(fake_->help.requests.back().second);
        QCOMPARE(contexts, (std::vector<int>{5, 7, 9, 10, 11, 2, 9, 9, 10}));
        QCOMPARE(ShownPage(), 3);
    }

    void accessibleNames() {
        const std::pair<const char*, const char*> names[] = {
            {"Input1", "Enter any integer between 0 and 99999"},
            {"DictationAnswer", "Enter the number you heard spoken"},
            {"txtboxYourAnswer", "Your answer"},
            {"txtboxCorrectAnswer", "Correct answer"},
            {"txtboxTotalCorrect", "Total correct"},
            {"txtboxTotalPlayed", "Total checked"},
            {"txtboxConsecutive", "Consecutive"},
            {"sliderPracticeRange", "Practice range"},
            {"txtboxCardinals", "Written form of the number"},
            {"listboxCardinals", "Other numbers"},
            {"txtboxFractions", "Written form of the fraction"},
            {"txtboxOperators", "Written form of the operator"},
            {"txtboxExpressions", "Written form of the expression"},
        };
        for (const auto& [control, name] : names) {
            QCOMPARE(Get(control)->accessibleName(), QString(name));
        }
        // Groups are announced by their own captions, also one inside another.
        QCOMPARE(Get("Frame3")->accessibleName(), QString("Answer Status"));
        QCOMPARE(Get("Frame5")->accessibleName(), QString("Practice"));
    }

    // A button's access key clicks it a moment later, as a click shows.
    void accessKeys() {
        QTest::keyClick(window_.get(), Qt::Key_L, Qt::AltModifier);
        QCOMPARE(ShownPage(), 1);
        QTest::keyClick(window_.get(), Qt::Key_P, Qt::AltModifier);  // Play random number
        QTRY_COMPARE(fake_->player.played, Names(NumberClips(88)));
        QTest::keyClick(window_.get(), Qt::Key_M, Qt::AltModifier);
        QCOMPARE(ShownPage(), 4);
        QTest::keyClick(window_.get(), Qt::Key_H, Qt::AltModifier);
        QTRY_COMPARE(fake_->help.requests.size(), std::size_t(1));
        QCOMPARE(fake_->help.requests.back().second, 11);
        // The dictation page is hidden: its access key does nothing now.
        QTest::keyClick(window_.get(), Qt::Key_P, Qt::AltModifier);
        QTest::qWait(300);
        QCOMPARE(fake_->player.played.size(), NumberClips(88).size());
        QTest::keyClick(window_.get(), Qt::Key_X, Qt::AltModifier);
        QTRY_COMPARE(fake_->end.ended, 1);
    }

    void keyboardOrder() {
        window_->TabBar()->setCurrentIndex(1);
        QStringList order;
        QWidget* w = Get("PlayRandom");
        for (int i = 0; i < 12; ++i) {
            order << w->objectName();
            do {
                w = w->nextInFocusChain();
            } while (!(w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)));
        }
        QCOMPARE(order.mid(0, 3), QStringList({"PlayRandom", "DictationAnswer", "CheckAnswer"}));
        const auto help = order.indexOf("cmdHelp");
        QVERIFY(help > 0);
        QCOMPARE(order.mid(help, 2), QStringList({"cmdHelp", "cmdExit"}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
