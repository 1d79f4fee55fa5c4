// SPDX-License-Identifier: MIT
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "help_window.h"
#include "window_fakes.h"

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
    "<!-- end of topics -->\n"
    "</body></html>\n";

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

    // The help file the program ships, as the build lays it beside the program.
    void theShippedFileHasEveryTopic() {
        QFile file(TALMO_HELP_FILE);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        const auto help = HelpFile::Parse(file.fileName(), text);
        QVERIFY(help.has_value());
        QCOMPARE(help->Contexts(), (std::vector<int>{2, 5, 6, 7, 9, 10, 11}));
        for (const int context : help->Contexts()) {
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
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
