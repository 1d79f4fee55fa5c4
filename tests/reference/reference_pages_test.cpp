// SPDX-License-Identifier: MIT
// The reference pages, driven through the main window.
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

class ReferencePagesTest : public QObject, public WindowFixture {
    Q_OBJECT

  private slots:
    void init() { Open(); }
    void cleanup() { Close(); }

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
};

QTEST_MAIN(ReferencePagesTest)
#include "reference_pages_test.moc"
