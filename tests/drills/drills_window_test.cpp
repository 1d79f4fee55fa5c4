// SPDX-License-Identifier: MIT
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "drills_window.h"
#include "main_window.h"
#include "number_speaker.h"
#include "pairs_page.h"
#include "start_screen.h"
#include "window_fakes.h"
#include "window_fixture.h"

using namespace talmo;
using namespace talmo::testing;

namespace {

// The first of everything: the deck as dealt, the first rendition, the first
// number of a pair on the left.
struct FirstDraws final : DrillRandom {
    std::size_t Below(std::size_t) override { return 0; }
};

}  // namespace

class DrillsWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakePlatform> fake_;
    MemoryChoices choices_;
    FirstDraws draws_;
    std::unique_ptr<DrillsWindow> window_;

    PairsDrill& Drill() { return dynamic_cast<PairsPage&>(window_->PageAt(0)).Drill(); }
    QString Text(const char* name) { return window_->Get<QLabel>(name)->text(); }
    void Key(Qt::Key key) { QTest::keyClick(window_.get(), key); }
    // What the player was given since the last call, as clip names.
    QStringList Heard() {
        const QStringList played = fake_->player.played;
        fake_->player.played.clear();
        return played;
    }
    static QStringList Clips(int n) { return Names(NumberClips(n)); }

  private slots:
    void init() {
        fake_ = std::make_unique<FakePlatform>();
        choices_.kept = {"female", StyleChoice::kClear, "teens-tens"};
        choices_.saved = 0;
        window_ = std::make_unique<DrillsWindow>(fake_->platform, choices_, draws_);
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        window_.reset();
        fake_.reset();
        QCOMPARE(LeftoverWindows(), QStringList());
    }

    // Space, 1, 2, Left and Right play a block; a miss shows both numbers
    // heard, the heard one first.
    void keysPlayABlock() {
        QCOMPARE(window_->windowTitle(), QString("Talmo Drills"));
        QCOMPARE(window_->Get<QPushButton>("cmdAction")->text(), QString("&Start"));
        Key(Qt::Key_Space);
        QCOMPARE(Text("lblTrial"), QString("Trial 1 of 20"));
        const auto pairs = Drill().Set().pairs;
        auto heard = [&] { return Drill().Current().Heard(pairs); };
        auto button = [&](int n) { return Drill().Current().Button(pairs, 0) == n ? 0 : 1; };
        QCOMPARE(Heard(), Clips(heard()));
        QVERIFY(fake_->player.voices.count('f') == fake_->player.voices.size());

        Key(button(heard()) == 0 ? Qt::Key_1 : Qt::Key_2);
        QCOMPARE(Text("lblVerdict"), QString("Right"));
        QCOMPARE(Text("lblTrial"), QString("Trial 2 of 20"));
        QCOMPARE(Heard(), Clips(heard()));

        const int was = heard();
        const int chose = Drill().Current().Button(pairs, 1 - button(was));
        Key(button(was) == 0 ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(Text("lblVerdict"),
                 QString("That was %1 \u2014 you chose %2").arg(was).arg(chose));
        QCOMPARE(Heard(), Clips(was) + Clips(chose));
        QCOMPARE(window_->Get<QPushButton>("cmdAction")->text(), QString("&Next"));
        Key(Qt::Key_Space);
        QCOMPARE(Text("lblTrial"), QString("Trial 3 of 20"));
        Heard();

        while (Drill().Step() == PairsView::Step::kAnswer) {
            Key(button(heard()) == 0 ? Qt::Key_Left : Qt::Key_Right);
        }
        QCOMPARE(Text("lblResult"), QString("19 of 20 right. Hear a pair you missed:"));
        auto* missed = window_->Get<QPushButton>("cmdHearMissed", 0);
        QVERIFY(missed->isVisible());
        QVERIFY(!window_->Get<QPushButton>("cmdHearMissed", 1)->isVisible());
        Heard();
        QTest::mouseClick(missed, Qt::LeftButton);
        const NumberPair pair = {std::min(was, chose), std::max(was, chose)};
        QCOMPARE(Heard(), Clips(pair.first) + Clips(pair.second));
        QCOMPARE(missed->accessibleName(),
                 QString("Hear %1 and %2").arg(pair.first).arg(pair.second));
    }

    // A setting applies from the next number, and is kept.
    void settingsApplyAtOnceAndAreKept() {
        Key(Qt::Key_Space);
        window_->TabBar()->setCurrentIndex(1);
        auto* voice = window_->Get<QComboBox>("cboVoice");
        QCOMPARE(voice->currentText(), QString("female"));
        voice->setCurrentIndex(voice->findText("male"));
        QCOMPARE(choices_.saved, 1);
        QCOMPARE(choices_.kept.voice, std::string("male"));
        window_->TabBar()->setCurrentIndex(0);
        fake_->player.voices.clear();
        Key(Qt::Key_Space);  // the number again, as it was
        QVERIFY(fake_->player.voices.count('f') == fake_->player.voices.size());
        fake_->player.voices.clear();
        Key(Qt::Key_1);  // the next number, from the male voice
        QVERIFY(!fake_->player.voices.isEmpty());
        QVERIFY(fake_->player.voices.count('m') == fake_->player.voices.size());

        auto* pairs = window_->Get<QComboBox>("cboPairs");
        pairs->setCurrentIndex(pairs->findData("sex-sju"));
        QCOMPARE(choices_.kept.pair_set, std::string("sex-sju"));
        QCOMPARE(Text("lblSet"), QString("s or sj: sex and sju (6 or 7)"));
        QCOMPARE(window_->Get<QPushButton>("cmdAction")->text(), QString("&Start"));
    }

    // F2 opens the one Drills window from the start screen and the main
    // window; it is made only then, and closing it leaves them as they were.
    void f2OpensOneWindow() {
        window_.reset();
        DrillsOnRequest drills(fake_->platform, choices_);
        fake_->platform.open_drills = [&drills] { drills.Open(); };
        StartScreen start(
            fake_->help, fake_->end,
            [this] { return std::make_unique<MainWindow>(fake_->platform); },
            fake_->platform.open_drills);
        start.show();
        start.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&start));
        QVERIFY(drills.Window() == nullptr);
        QTest::keyClick(&start, Qt::Key_F2);
        DrillsWindow* opened = drills.Window();
        QVERIFY(opened != nullptr && opened->isVisible());
        opened->close();
        QVERIFY(start.isVisible());

        start.Command1_Click();
        start.MainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(start.MainWindow()));
        QTest::keyClick(start.MainWindow(), Qt::Key_F2);
        QCOMPARE(drills.Window(), opened);
        QVERIFY(opened->isVisible());
        QCOMPARE(fake_->end.ended, 0);
    }
};

QTEST_MAIN(DrillsWindowTest)
#include "drills_window_test.moc"
