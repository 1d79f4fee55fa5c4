// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <deque>

#include "app/answer_history.h"
#include "app/drills_on_request.h"
#include "app/main_window.h"
#include "drills/drills_window.h"
#include "drills/pairs_page.h"
#include "history/history_store.h"
#include "speech/number_speaker.h"
#include "tests/support/window_fakes.h"
#include "tests/support/window_fixture.h"

using namespace talmo;
using namespace talmo::testing;

namespace {

// The draws a test scripts, then the first of everything: the deck as
// dealt, the first rendition, the first number of a pair on the left.
struct FirstDraws final : DrillRandom {
    std::deque<std::size_t> next;
    std::size_t Below(std::size_t) override {
        const std::size_t draw = next.empty() ? 0 : next.front();
        if (!next.empty()) {
            next.pop_front();
        }
        return draw;
    }
};

}  // namespace

class DrillsWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakePlatform> fake_;
    MemoryChoices choices_;
    FirstDraws draws_;
    std::unique_ptr<TempHistory> history_;
    std::unique_ptr<DrillsWindow> window_;

    static constexpr int kClock = 2;
    static constexpr int kReview = 6;

    PairsDrill& Drill() { return dynamic_cast<PairsPage&>(window_->PageAt(0)).Drill(); }
    QString Text(const char* name) { return window_->Get<QLabel>(name)->text(); }
    void Key(Qt::Key key) { QTest::keyClick(window_.get(), key); }
    // What the player was given since the last call, as clip names.
    QStringList Heard() { return std::exchange(fake_->player.played, {}); }
    static QStringList Clips(int n) { return Names(NumberClips(n)); }

  private slots:
    void init() {
        fake_ = std::make_unique<FakePlatform>();
        choices_.kept = {"female", StyleChoice::kClear, "teens-tens"};
        choices_.saved = 0;
        history_ = std::make_unique<TempHistory>();
        window_ = std::make_unique<DrillsWindow>(fake_->player, fake_->Help(), choices_, draws_,
                                                 history_->history, history_->confirm);
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        window_.reset();
        history_.reset();
        fake_.reset();
        QCOMPARE(LeftoverWindows(), QStringList());
    }

    // Space, 1, 2, Left and Right play a block; a miss shows both numbers
    // heard, the heard one first.
    void keysPlayABlock() {
        Key(Qt::Key_Space);
        QCOMPARE(Text("lblTrial"), QString("Trial 1 of 20"));
        const auto pairs = Drill().Set().pairs;
        auto heard = [&] { return Drill().Current().Heard(pairs); };
        auto button = [&](int n) { return Drill().Current().Button(pairs, 0) == n ? 0 : 1; };
        QCOMPARE(Heard(), Clips(heard()));
        QVERIFY(fake_->player.voices.count('f') == fake_->player.voices.size());

        const int first = heard();
        Key(button(first) == 0 ? Qt::Key_1 : Qt::Key_2);
        QVERIFY(Text("lblVerdict").startsWith(QString("\u2714 Right: %1 \u2014 ").arg(first)));
        QCOMPARE(Heard(), Clips(heard()));

        const int was = heard();
        const int chose = Drill().Current().Button(pairs, 1 - button(was));
        Key(button(was) == 0 ? Qt::Key_Right : Qt::Key_Left);
        const QString verdict = Text("lblVerdict");
        QVERIFY(verdict.startsWith(QString("\u2718 That was %1 \u2014 ").arg(was)));
        QVERIFY(verdict.contains(QString("; you chose %1 \u2014 ").arg(chose)));
        // A screen reader hears it where the focus is.
        QCOMPARE(QApplication::focusWidget()->accessibleDescription(), verdict);
        QCOMPARE(Heard(), Clips(was) + Clips(chose));
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

    // With no sound server the drill says so and keeps no answer; the line
    // goes when sound comes back.
    void noSoundNoScore() {
        auto* line = window_->Get<QLabel>("lblSound");
        fake_->player.silent = true;
        Key(Qt::Key_Space);
        QVERIFY(line->isVisible());
        Key(Qt::Key_1);
        QVERIFY(history_->history.Store().Since(0).empty());
        fake_->player.silent = false;
        Key(Qt::Key_Space);  // on, or the number again
        QVERIFY(!line->isVisible());
        Key(Qt::Key_1);
        Key(Qt::Key_1);
        QVERIFY(!history_->history.Store().Since(0).empty());
    }

    // The window stays live while a number plays: a digit typed shows at
    // once, and Enter answers without waiting for the number's end.
    void typingShowsWhileANumberPlays() {
        window_->TabBar()->setCurrentIndex(1);  // Dictation
        std::atomic<int> clips = 0;
        fake_->player.while_playing = [&] {
            ++clips;
            QThread::msleep(300);
        };
        auto* answer = window_->Get<QLineEdit>("txtAnswer");
        QString typed;
        int clips_then = 0;
        QTimer::singleShot(100, [&] {
            QTest::keyClick(answer, Qt::Key_4);
            typed = answer->text();
            clips_then = clips;
            QTest::keyClick(answer, Qt::Key_Return);
        });
        QTest::mouseClick(window_->Get<QPushButton>("cmdPlay"), Qt::LeftButton);
        QCOMPARE(typed, QString("4"));
        QCOMPARE(clips_then, 1);
        const auto* verdict =
            qobject_cast<QLabel*>(window_->PageAt(1).Controls().Find("lblVerdict"));
        QVERIFY(verdict->text().startsWith("\u2718 You wrote 4"));
        fake_->player.while_playing = {};
    }

    // A setting applies from the next number, and is kept.
    void settingsApplyAtOnceAndAreKept() {
        Key(Qt::Key_Space);
        window_->TabBar()->setCurrentIndex(window_->TabBar()->count() - 1);  // Settings
        auto* voice = window_->Get<QComboBox>("cboVoice");
        QCOMPARE(voice->currentText(), QString("female"));
        voice->setCurrentIndex(voice->findText("male"));
        QVERIFY(choices_.saved == 1 && choices_.kept.voice == "male");
        window_->TabBar()->setCurrentIndex(0);
        fake_->player.voices.clear();
        Key(Qt::Key_Space);  // the number again, as it was
        QVERIFY(!fake_->player.voices.contains('m'));
        fake_->player.voices.clear();
        Key(Qt::Key_1);  // the next number, from the male voice
        QVERIFY(fake_->player.voices.startsWith('m') && !fake_->player.voices.contains('f'));

        auto* pairs = window_->Get<QComboBox>("cboPairs");
        pairs->setCurrentIndex(pairs->findData("sex-sju"));
        QVERIFY(choices_.kept.pair_set == "sex-sju" && Text("lblSet").startsWith("s or sj"));
        QCOMPARE(window_->Get<QPushButton>("cmdAction")->text(), QString("&Start"));

        // Keeping answers is the history's choice, and the window says so at once.
        window_->Get<QCheckBox>("chkKeepHistory")->setChecked(false);
        QVERIFY(!history_->keep.keeps && choices_.saved == 2);
        QCOMPARE(Text("lblHistory"), QString("Your answers are not kept (see Settings)."));
    }

    // Answers are kept: a miss in Pairs comes back in Review in the next
    // session, and forgetting, once confirmed, empties the history.
    void answersAreKeptReviewedAndForgotten() {
        Key(Qt::Key_Space);
        const auto pairs = Drill().Set().pairs;
        const bool left = Drill().Current().Button(pairs, 0) == Drill().Current().Heard(pairs);
        Key(left ? Qt::Key_2 : Qt::Key_1);  // a miss
        HistoryStore& store = history_->history.Store();
        QCOMPARE(store.Since(0).size(), std::size_t(1));
        QCOMPARE(store.Since(0).front().drill, std::string("pairs"));
        const QByteArray played = QByteArray::fromStdString(store.Since(0).front().played);

        window_.reset();  // the next session, over the same file
        const std::string damaged = store.File().string() + ".damaged-20261201-101010";
        QVERIFY(QFile(QString::fromStdString(store.File().string()))
                    .copy(QString::fromStdString(damaged)));
        LearnerHistory next(store.File(), history_->keep);
        window_ = std::make_unique<DrillsWindow>(fake_->player, fake_->Help(), choices_, draws_,
                                                 next, history_->confirm);
        window_->TabBar()->setCurrentIndex(kReview);
        QCOMPARE(Text("lblDue"), QString("1 item to review."));
        QVERIFY(Text("lblHistory").contains(QString::fromStdString(damaged)));
        QCOMPARE(window_->TabBar()->tabText(kReview), QString("Revie&w (1)"));

        window_->TabBar()->setCurrentIndex(window_->TabBar()->count() - 1);  // Settings
        history_->yes = false;
        QTest::mouseClick(window_->Get<QPushButton>("cmdForget"), Qt::LeftButton);
        QCOMPARE(next.Store().Since(0).size(), std::size_t(1));
        history_->yes = true;
        QTest::mouseClick(window_->Get<QPushButton>("cmdForget"), Qt::LeftButton);
        QVERIFY(next.Store().Since(0).empty());
        QVERIFY(QString::fromStdString(history_->asked.back())
                    .contains("the damaged copy kept beside it (history.sqlite3.damaged-"));
        QCOMPARE(Text("lblForgotten"), QString("Your history is forgotten: every answer is gone."));
        QVERIFY(!QFile::exists(QString::fromStdString(damaged)) &&
                !Text("lblHistory").contains("damaged"));
        for (const char* end : {"", "-wal"}) {  // nothing of it left, in the file or its log
            QFile file(QString::fromStdString(store.File().string() + end));
            QVERIFY(file.open(QIODevice::ReadOnly) && !file.readAll().contains(played));
        }
        QCOMPARE(history_->asked.size(), std::size_t(2));
        window_.reset();
    }

    // The dictation page's answers are kept too, the page unchanged.
    void theDictationPageKeepsItsAnswers() {
        SpeechEngine speech = fake_->Speech();
        DictationHistory answers(history_->history, speech);
        fake_->platform.answers = &answers;
        MainWindow main(fake_->platform, speech);
        DictationQuiz& quiz = QuizOf(main);
        quiz.PlayRandom_Click();
        main.Get<QLineEdit>("DictationAnswer")->setText(QString::number(quiz.rannum()));
        quiz.CheckAnswer_Click();
        const auto kept = history_->history.Store().Since(0);
        QCOMPARE(kept.size(), std::size_t(1));
        QCOMPARE(kept[0].drill + " " + kept[0].played + " " + kept[0].voice + " " + kept[0].style,
                 "dictation " + std::to_string(quiz.rannum()) + " male clear");
        QVERIFY(kept[0].right);
    }

    // The Clock drill by keyboard alone: its tab's key, Enter to hear a time,
    // the time typed and Enter; the verdict is read where the focus is, and
    // the answer is kept with the way the time was said.
    void clockByKeyboard() {
        draws_.next = {15, 0, 4, 0, 0};  // 15, on the five, :20; the 12-hour way
        QTest::keyClick(window_.get(), Qt::Key_L, Qt::AltModifier);
        QCOMPARE(window_->TabBar()->currentIndex(), kClock);
        auto* answer = window_->PageAt(kClock).Controls().Get<QLineEdit>("txtAnswer");
        QCOMPARE(QApplication::focusWidget(), answer);
        QCOMPARE(answer->accessibleName(), QString("The time you heard"));
        Heard();
        QTest::keyClick(answer, Qt::Key_Return);
        QVERIFY(!Heard().isEmpty());
        QTest::keyClicks(answer, "15.20");
        QTest::keyClick(answer, Qt::Key_Return);
        const QString verdict =
            window_->PageAt(kClock).Controls().Get<QLabel>("lblVerdict")->text();
        QVERIFY2(verdict.startsWith("\u2714 Right: 15:20"), qPrintable(verdict));
        QCOMPARE(answer->accessibleDescription(), verdict);
        const auto kept = history_->history.Store().Since(0);
        QCOMPARE(kept.size(), std::size_t(1));
        QCOMPARE(kept[0].drill + " " + kept[0].played + " " + kept[0].voice + " " + kept[0].style,
                 std::string("clock 15:20|12-hour female clear"));
        QVERIFY(kept[0].right);
    }

    // F2 opens the one Drills window, made only then; closing it leaves the
    // main window as it was. (The end-to-end case opens it from the start screen.)
    void f2OpensOneWindow() {
        window_.reset();
        DrillsOnRequest drills(fake_->platform, choices_, history_->history);
        fake_->platform.open_drills = [&drills] { drills.Open(); };
        SpeechEngine speech = fake_->Speech();
        MainWindow main(fake_->platform, speech);
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QVERIFY(drills.Window() == nullptr);
        QTest::keyClick(&main, Qt::Key_F2);
        DrillsWindow* opened = drills.Window();
        QVERIFY(opened != nullptr && opened->isVisible());
        opened->close();
        QTest::keyClick(&main, Qt::Key_F2);
        QVERIFY(drills.Window() == opened && opened->isVisible() && main.isVisible());
        QCOMPARE(fake_->end.ended, 0);
    }
};

QTEST_MAIN(DrillsWindowTest)
#include "drills_window_test.moc"
