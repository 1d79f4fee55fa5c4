// SPDX-License-Identifier: MIT
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "help/help_file.h"
#include "help/help_window.h"
#include "help/sound_links.h"
#include "speech/clip_store.h"
#include "tests/support/fakes.h"
#include "tests/support/window_fakes.h"

using namespace talmo;
using talmo::testing::LeftoverWindows;

namespace {

const char* kSmallHelp =
    "<!DOCTYPE html>\n"
    "<html><head><meta charset=\"utf-8\"><style>h1 { color: navy; }</style></head><body>\n"
    "<!-- topic 2: Swedish numbers -->\n"
    "<h1>Swedish numbers</h1><p>Decimal comma. See <a href=\"#topic-7\">the quiz</a>.</p>\n"
    "<!-- topic 7: The quiz -->\n"
    "<h1>The quiz</h1><p>How the score counts.</p>\n"
    "<!-- topic 9: Sounds -->\n"
    "<h1>Sounds</h1><table><tr><td class=\"sv\">fjorton</td><td class=\"n\">"
    "<span class=\"ex\">1&nbsp;021</span></td><td><span class=\"exd\">45</span></td></tr></table>\n"
    "<p><span class=\"sv\">ett (en)</span>, <span class=\"sv\">Fyrtio</span>.</p>\n"
    "<!-- end of topics -->\n"
    "</body></html>\n";

// The topics of the shipped help file: one for each context the program asks for.
constexpr int kShippedTopics[] = {2, 5, 6, 7, 9, 10, 11, 12, 13};

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QTemporaryDir empty_;

  private slots:
    void cleanup() { QCOMPARE(LeftoverWindows(), QStringList()); }
    void initTestCase() {
        QFile file(dir_.filePath("CountHelp.html"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kSmallHelp);
    }

    void showsTheRequestedTopicAndRaisesOneWindow() {
        HelpWindow help({empty_.path(), dir_.path()});
        help.ShowHelp("CountHelp.hlp", 7);
        QVERIFY(help.isVisible());
        QVERIFY(help.Text().startsWith("The quiz"));
        QVERIFY(!help.Text().contains("Decimal comma"));
        QCOMPARE(help.windowTitle(), QString("Talmo Help: The quiz"));
        // The start screen's spelling names the same file.
        help.ShowHelp("Counthelp.hlp", 2);
        QVERIFY(help.Text().startsWith("Swedish numbers"));
        QVERIFY(help.isVisible());
    }

    void linksBackAndForward() {
        HelpWindow help({dir_.path()});
        help.ShowHelp("CountHelp.hlp", 2);
        auto* browser = help.findChild<QTextBrowser*>("HelpText");
        emit browser->anchorClicked(QUrl("#topic-7"));
        QCOMPARE(help.Current().second, 7);
        auto* back = help.findChild<QToolButton*>("HelpBack");
        auto* forward = help.findChild<QToolButton*>("HelpForward");
        QVERIFY(back->isEnabled());
        QVERIFY(!forward->isEnabled());
        help.Back();
        QCOMPARE(help.Current().second, 2);
        QVERIFY(help.Text().startsWith("Swedish numbers"));
        QVERIFY(forward->isEnabled());
        help.Forward();
        QCOMPARE(help.Current().second, 7);
        // A request drops the topics ahead: here the 7 it replaces.
        help.Back();
        help.ShowHelp("CountHelp.hlp", 7);
        QVERIFY(!forward->isEnabled());
        help.Back();
        QCOMPARE(help.Current().second, 2);
        QVERIFY(!back->isEnabled());
        int drills = 0;  // the Drills window's link opens it, and is no visit
        help.SetDrillsOpener([&drills] { ++drills; });
        emit browser->anchorClicked(QUrl("talmo-drills:pairs"));
        QVERIFY(drills == 1 && help.Current().second == 2);
    }

    void saysWhatIsMissingAndWhereItLooked() {
        HelpWindow help({empty_.path(), dir_.path() + "/nowhere"});
        help.ShowHelp("CountHelp.hlp", 5);
        QVERIFY2(help.Text().contains("CountHelp.hlp"), qPrintable(help.Text()));
        QVERIFY(help.Text().contains("topic 5"));
        QVERIFY(help.Text().contains("CountHelp.html"));
        QVERIFY(help.Text().contains(empty_.path()));
        QVERIFY(help.Text().contains(dir_.path() + "/nowhere"));

        HelpWindow other({dir_.path()});
        other.ShowHelp("CountHelp.hlp", 11);
        QVERIFY(other.Text().contains("has no topic 11"));
        QVERIFY(other.Text().contains(dir_.filePath("CountHelp.html")));
    }

    // Clicked where it is shown, a word plays its clip and a number is spoken;
    // neither is a visit.
    void wordsAndNumbersPlayTheirSound() {
        HelpWindow help({dir_.path()});
        help.ShowHelp("CountHelp.hlp", 9);
        QVERIFY(!help.Text().contains("Tab to it"));  // no sound before the program has one
        testing::RecordingSpeaker speaker;
        help.SetSpeaker(speaker, ClipStore::Embedded());
        QVERIFY(help.Text().contains("Tab to it"));
        auto* browser = help.findChild<QTextBrowser*>("HelpText");
        const auto click = [&](const QString& shown) {
            QTextCursor at = browser->document()->find(shown);
            QVERIFY2(!at.isNull(), qPrintable(shown));
            at.setPosition(at.selectionStart() + 1);
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                              browser->cursorRect(at).center());
        };
        click("fjorton");
        click("021");  // of "1 021"
        click("Fyrtio");
        click("ett (en)");  // two words: plain
        click("45");        // in the everyday style
        QCOMPARE(speaker.clips, (std::vector<std::string>{"NUMBERS/N14", "NUMBERS/N40"}));
        QCOMPARE(speaker.spoken, (std::vector<std::int32_t>{1021, -45}));
        QCOMPARE(help.Current().second, 9);
        QVERIFY(!help.findChild<QToolButton*>("HelpBack")->isEnabled());
    }

    // An example of daily life (data- attributes, value) becomes a link that
    // says the saying of its way in its style; a value or way without one, nothing.
    void lifeExamplesSayTheirSaying() {
        const char* kExamples[][3] = {
            {R"(data-kind="time")", "24:00", ""},
            {R"(data-kind="time" data-way="from the half")", "15:25", ""},
            {R"(data-kind="time")", "15:25", "5FEM, I, HALV, 4FYRA"},
            {R"(data-kind="time" data-way="from the half")", "15.20", "10TIO, I, HALV, 4FYRA"},
            {R"(data-kind="price" data-style="everyday")", "49,90",
             "N40/inner, 9NIO/inner, N90/last"}};
        HelpWindow help({dir_.path()});
        testing::RecordingSpeaker speaker;
        help.SetSpeaker(speaker, ClipStore::Embedded());
        for (const auto& [data, value, said] : kExamples) {
            const QString html = QString("<span class=\"life\" %1>%2</span>").arg(data, value);
            const auto href =
                QRegularExpression("href=\"(talmo-life:[^\"]+)\"").match(LinkSounds(html, {}));
            QVERIFY2(href.hasMatch(), value);
            speaker.sayings.clear();
            emit help.findChild<QTextBrowser*>("HelpText")->anchorClicked(QUrl(href.captured(1)));
            const QString heard = speaker.sayings.empty() ? "nothing" : speaker.sayings[0].c_str();
            QVERIFY2(speaker.sayings == std::vector<std::string>(*said ? 1 : 0, said),
                     qPrintable(QString("%1 said %2").arg(value, heard)));
        }
    }

    // The help file the program ships, as the build lays it beside the program.
    void theShippedFileHasEveryTopic() {
        QFile file(TALMO_HELP_FILE);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        const auto help = HelpFile::Parse(file.fileName(), text);
        QVERIFY(help.has_value());
        for (const int context : kShippedTopics) {
            QVERIFY2(help->Lookup(context) != nullptr, qPrintable(QString::number(context)));
            const QString html = help->Lookup(context)->html;
            QVERIFY2(html.contains("<h1>"), qPrintable(QString::number(context)));
            // Every link between topics leads to one.
            static const QRegularExpression kLink("href=\"#topic-(\\d+)\"");
            for (auto links = kLink.globalMatch(html); links.hasNext();) {
                const int target = links.next().captured(1).toInt();
                QVERIFY2(
                    help->Lookup(target) != nullptr,
                    qPrintable(
                        QString("topic %1 links to missing topic %2").arg(context).arg(target)));
            }
        }
        QVERIFY(!text.contains("@TALMO_VERSION@"));
        QVERIFY(help->Lookup(6)->html.contains(TALMO_VERSION));
    }

    // Every sound link of the shipped help plays an existing clip or speaks a
    // marked example from 0 to 99999; the marked words left plain are listed,
    // as places a recording could be added.
    void theShippedFilesSoundLinksAllResolve() {
        QFile file(TALMO_HELP_FILE);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto help = HelpFile::Parse(file.fileName(), QString::fromUtf8(file.readAll()));
        QVERIFY(help.has_value());
        const auto texts = ClipTexts(ClipStore::Embedded());
        SoundLinks all;
        static const QRegularExpression kSoundLink(
            "<a class=\"hear\" href=\"talmo-([a-z]+):([^\"]+)\" title=\"Hear it\">");
        for (const int context : kShippedTopics) {
            SoundLinks links;
            const QString html = LinkSounds(help->Lookup(context)->html, texts, &links);
            for (auto it = kSoundLink.globalMatch(html); it.hasNext();) {
                const auto link = it.next();
                if (link.captured(1) == "clip") {
                    const QStringList parts = link.captured(2).split('/');
                    QVERIFY(parts.size() == 2 &&
                            !ClipStore::Embedded()
                                 .LoadClip({parts[0].toStdString(), parts[1].toStdString()})
                                 .empty());
                } else if (link.captured(1) == "life") {
                    QVERIFY2(SayingOfLink(QUrl("talmo-life:" + link.captured(2))),
                             qPrintable(link.captured(2)));
                } else {
                    const int n = link.captured(2).toInt();
                    QVERIFY(n >= 0 && n <= 99999);
                }
            }
            all.words += links.words;
            all.numbers += links.numbers;
            all.plain += links.plain;
        }
        all.plain.removeDuplicates();
        qInfo("%d words and %d numbers link to their sound; %d marked words left plain: %s",
              all.words, all.numbers, int(all.plain.size()), qPrintable(all.plain.join(" | ")));
        QVERIFY(all.words > 0 && all.numbers > 0);
        SoundLinks numbers_topic;
        const QString topic = LinkSounds(help->Lookup(2)->html, texts, &numbers_topic);
        QVERIFY(topic.contains("href=\"talmo-clip:NUMBERS/N14\" title=\"Hear it\">fjorton<"));
        QVERIFY(topic.contains("href=\"talmo-clip:NUMBERS/N40\" title=\"Hear it\">fyrtio<"));
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
