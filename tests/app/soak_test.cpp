// SPDX-License-Identifier: MIT
// Long use: ten thousand quiz rounds and ten thousand reference presses in
// one window, after which its memory has stopped growing (and, in the
// sanitizer build, nothing leaks).
#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <unistd.h>
#include <cstdio>

#include "app/main_window.h"
#include "practice/dictation_page.h"
#include "tests/support/window_fixture.h"

using namespace talmo;
using namespace talmo::testing;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;  // its quarantine holds freed memory back on purpose
#else
constexpr bool kSanitized = false;
#endif

long ResidentKiB() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QCOMPARE(LeftoverWindows(), QStringList()); }
    void tenThousandRoundsOfEach() {
        FakePlatform fake;
        fake.player.keep_names = false;  // ten thousand rounds of names would count as growth
        SpeechEngine speech = fake.Speech();
        MainWindow window(fake.platform, speech);
        window.show();
        const auto button = [&](const char* name, int index = -1) {
            return window.Get<QAbstractButton>(name, index);
        };
        auto* answer = window.Get<QLineEdit>("DictationAnswer");

        const auto quiz_rounds = [&](int from, int to) {
            window.TabBar()->setCurrentIndex(1);
            for (int i = from; i < to; ++i) {
                fake.clock.second = i % 60;
                fake.random.value = float(i % 1000) / 1000.0f;
                button("PlayRandom")->click();
                const int n = QuizOf(window).rannum();
                answer->setText(QString::number(i % 3 == 0 ? n + 1 : n));
                button("CheckAnswer")->click();
                if (i % 3 == 0) {
                    button("cmdbuttonRepeat")->click();
                    answer->setText(QString::number(n));
                    button("CheckAnswer")->click();
                }
                if (i % 100 == 0) {
                    button("cmdbuttonReset")->click();
                }
            }
        };
        const auto reference_presses = [&](int from, int to) {
            const std::pair<int, std::vector<std::pair<const char*, int>>> pages[] = {
                {2, {{"cmdCardinals", 20}, {"cmdFractions", 4}, {"cmdCardinalsNext", 1}}},
                {3, {{"Command1", 20}}},
                {4, {{"cmdOperators", 5}, {"cmdExpressions", 3}}},
            };
            int press = from;
            while (press < to) {
                for (const auto& [tab, groups] : pages) {
                    window.TabBar()->setCurrentIndex(tab);
                    for (const auto& [name, count] : groups) {
                        for (int i = 0; i < count && press < to; ++i, ++press) {
                            button(name, count == 1 ? -1 : i)->click();
                        }
                    }
                }
            }
        };

        quiz_rounds(0, 1000);
        reference_presses(0, 1000);
        const long warm = ResidentKiB();
        quiz_rounds(1000, 5000);
        reference_presses(1000, 5000);
        const long middle = ResidentKiB();
        quiz_rounds(5000, 10000);
        // 99 rounds since the last reset, 33 of them answered twice.
        QCOMPARE(QuizOf(window).TotalPlayed(), 132);
        reference_presses(5000, 10000);
        const long end = ResidentKiB();
        qInfo(
            "resident memory: %ld KiB after 1000 of each, %ld after 5000, %ld after 10000; "
            "%ld clips played",
            warm, middle, end, fake.player.count);
        QCOMPARE(window.Get<QListWidget>("listboxCardinals")->count(), 25);
        if (!kSanitized) {
            QVERIFY2(end - middle < 1024, "memory still grows after 5000 rounds");
        }
    }
};

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
