#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>

#include <memory>

#include "dictation_page.h"
#include "enter_listen_page.h"
#include "main_window.h"
#include "number_speaker.h"
#include "reference_pages.h"
#include "window_fakes.h"

using namespace talmo;
using namespace talmo::testing;

namespace {

QStringList Names(const std::vector<ClipRef>& clips) {
    QStringList names;
    for (const ClipRef& c : clips) {
        names << QString::fromStdString(c.Index).toUpper();
    }
    return names;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakePlatform> fake_;
    std::unique_ptr<MainWindow> window_;

    template <typename T = QWidget>
    T* Get(const char* name, int index = -1) {
        T* widget = window_->Form().Get<T>(name, index);
        if (widget == nullptr) {
            qFatal("no control %s(%d)", name, index);
        }
        return widget;
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
        for (int i = 0; i < MainWindow::kPages; ++i) {
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

  private slots:
    void init() {
        fake_ = std::make_unique<FakePlatform>();
        window_ = std::make_unique<MainWindow>(fake_->platform);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() {
        window_.reset();
        fake_.reset();
    }

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
        QCOMPARE(window_->Dictation().Quiz().rannum(), 26247);
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

    void quizRightAndWrong() {
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

        fake_->player.played.clear();
        Click("cmdbuttonRepeat");
        QCOMPARE(fake_->player.played, Names(NumberClips(88)));
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

    void referencePressesWriteThenPlay_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("clip");
        QTest::newRow("0") << 2 << "cmdCardinals" << 0 << "txtboxCardinals"
                           << "noll"
                           << "0NOLL";
        QTest::newRow("12") << 2 << "cmdCardinals" << 12 << "txtboxCardinals"
                            << "tolv"
                            << "12TOLV";
        QTest::newRow("13") << 2 << "cmdCardinals" << 13 << "txtboxCardinals"
                            << "tretton"
                            << "N13";
        QTest::newRow("1/2") << 2 << "cmdFractions" << 0 << "txtboxFractions"
                             << "en halv"
                             << "ENHALV";
        QTest::newRow("7/8") << 2 << "cmdFractions" << 3 << "txtboxFractions"
                             << "sju åttondelar"
                             << "SJUATTONDELAR";
        QTest::newRow("första") << 3 << "Command1" << 0 << ""
                                << ""
                                << "FORSTA";
        QTest::newRow("sjuttonde") << 3 << "Command1" << 16 << ""
                                   << ""
                                   << "SJUTONDE";
        QTest::newRow("nittonde") << 3 << "Command1" << 18 << ""
                                  << ""
                                  << "NITONDE";
        QTest::newRow("÷") << 4 << "cmdOperators" << 2 << "txtboxOperators"
                           << "delat med"
                           << "DELATMED";
        QTest::newRow("x") << 4 << "cmdOperators" << 3 << "txtboxOperators"
                           << "gånger"
                           << "GANGER";
        QTest::newRow("3,5") << 4 << "cmdExpressions" << 1 << "txtboxExpressions"
                             << "sju delat med två är lika med tre komma fem"
                             << "7DIV2A";
    }
    void referencePressesWriteThenPlay() {
        QFETCH(int, tab);
        QFETCH(QString, button);
        QFETCH(int, index);
        QFETCH(QString, box);
        QFETCH(QString, written);
        QFETCH(QString, clip);
        window_->TabBar()->setCurrentIndex(tab);
        QString seen_while_playing = "<not played>";
        fake_->player.while_playing = [&] {
            seen_while_playing = box.isEmpty() ? QString() : Text(box.toUtf8().constData());
        };
        Click(button.toUtf8().constData(), index);
        QCOMPARE(fake_->player.played, QStringList{clip});
        QCOMPARE(seen_while_playing, written);
    }

    void operatorAndExpressionBoxesAreSeparate() {
        window_->TabBar()->setCurrentIndex(4);
        Click("cmdExpressions", 0);
        Click("cmdOperators", 0);
        Click("cmdOperators", 4);
        QCOMPARE(Text("txtboxOperators"), QString("lika med"));
        QCOMPARE(Text("txtboxExpressions"), QString("fem gånger sex är lika med trettio"));
        QCOMPARE(fake_->player.played, (QStringList{"5GANGER6", "PLUS", "LIKAMED"}));
    }

    void nextAndPreviousWrap() {
        window_->TabBar()->setCurrentIndex(2);
        auto* list = Get<QListWidget>("listboxCardinals");
        Click("cmdCardinalsNext");
        QCOMPARE(list->currentItem()->text(), QString("20"));
        QCOMPARE(Text("txtboxCardinals"), QString("tjugo"));
        Click("cmdCardinalsPrevious");
        QCOMPARE(list->currentItem()->text(), QString("7.000.000.000"));
        QCOMPARE(Text("txtboxCardinals"), QString("sju miljarder"));
        Click("cmdCardinalsNext");
        QCOMPARE(list->currentItem()->text(), QString("20"));
        QCOMPARE(fake_->player.played, (QStringList{"N20", "7MILJARDER", "N20"}));

        // A button leaves the list's choice, and Next steps on from the list.
        list->setCurrentRow(11);
        Click("cmdCardinals", 5);
        QCOMPARE(Text("txtboxCardinals"), QString("fem"));
        QCOMPARE(list->currentItem()->text(), QString("40"));
        Click("cmdCardinalsNext");
        QCOMPARE(list->currentItem()->text(), QString("50"));
        QCOMPARE(Text("txtboxCardinals"), QString("femtio"));
    }

    void previousWithNothingChosenTakesTheLast() {
        window_->TabBar()->setCurrentIndex(2);
        Click("cmdCardinalsPrevious");
        QCOMPARE(Get<QListWidget>("listboxCardinals")->currentItem()->text(),
                 QString("7.000.000.000"));
        QCOMPARE(fake_->player.played, QStringList{"7MILJARDER"});
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
