// SPDX-License-Identifier: MIT
// Every text fits its control, in the fonts a Linux desktop is likely to use.
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTest>

#include <cstdlib>

#include "app/main_window.h"
#include "app/start_screen.h"
#include "drills/drills_window.h"
#include "forms/form.h"
#include "reference/reference_tables.h"
#include "tests/support/window_fakes.h"

using namespace talmo;
using namespace talmo::testing;

namespace {

QString Describe(const QWidget* w) {
    QString name = w->objectName();
    if (w->property(forms::kIndexProperty).isValid()) {
        name += QString("(%1)").arg(w->property(forms::kIndexProperty).toInt());
    }
    return name;
}

// What does not fit, one line each.
QStringList Clipped(const QWidget* window) {
    QStringList clipped;
    const auto report = [&](const QWidget* w, const QString& text, QSize need) {
        if (need.width() > w->width() || need.height() > w->height()) {
            clipped << QString("%1 \"%2\": needs %3x%4, has %5x%6")
                           .arg(Describe(w), text)
                           .arg(need.width())
                           .arg(need.height())
                           .arg(w->width())
                           .arg(w->height());
        }
    };
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        const QFontMetrics fm(w->font());
        if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            const QString text = forms::ShownText(button->text());
            const int margins = w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
            report(w, text, {fm.horizontalAdvance(text) + margins, fm.height()});
        } else if (const auto* label = qobject_cast<const QLabel*>(w);
                   label != nullptr && !label->text().isEmpty()) {
            const QRect need = label->wordWrap()
                                   ? fm.boundingRect(QRect(0, 0, label->width(), 1 << 20),
                                                     Qt::TextWordWrap, label->text())
                                   : fm.boundingRect(label->text());
            report(w, label->text(),
                   {fm.horizontalAdvance(label->wordWrap() ? "" : label->text()), need.height()});
            if (label->wordWrap()) {
                report(w, label->text(), need.size());
            }
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            report(w, group->title(), {fm.horizontalAdvance(group->title()), 0});
        } else if (const auto* bar = qobject_cast<const QTabBar*>(w)) {
            for (int i = 0; i < bar->count(); ++i) {
                const QString text = forms::ShownText(bar->tabText(i));
                if (bar->tabRect(i).right() > bar->width() ||
                    bar->tabRect(i).width() < fm.horizontalAdvance(text)) {
                    clipped << "tab " + text;
                }
            }
        } else if (const auto* list = qobject_cast<const QListWidget*>(w)) {
            for (int i = 0; i < list->count(); ++i) {
                report(list->viewport(), list->item(i)->text(),
                       {fm.horizontalAdvance(list->item(i)->text()) + 4, 0});
            }
        }
        // Nothing reaches out of its parent.
        if (w->parentWidget() != nullptr && w->isWindow() == false &&
            !w->parentWidget()->rect().contains(w->geometry()) &&
            qobject_cast<const QTabBar*>(w->parentWidget()) == nullptr &&
            !w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) {
            clipped << Describe(w) + " reaches outside " + Describe(w->parentWidget());
        }
    }
    return clipped;
}

QStringList WrittenFormsClipped(const MainWindow& window) {
    QStringList clipped;
    const auto check = [&](const char* box_name, auto const& rows) {
        auto* box = window.Get<QLineEdit>(box_name);
        const QFontMetrics fm(box->font());
        for (const ReferenceRow& row : rows) {
            const QString text =
                QString::fromUtf8(row.written_form.data(), qsizetype(row.written_form.size()));
            if (fm.horizontalAdvance(text) + 4 > box->width() || fm.height() > box->height()) {
                clipped << QString(box_name) + " \"" + text + "\"";
            }
        }
    };
    check("txtboxCardinals", kCardinalButtons);
    check("txtboxCardinals", kCardinalList);
    check("txtboxFractions", kFractions);
    check("txtboxOperators", kOperators);
    check("txtboxExpressions", kExpressions);
    return clipped;
}

}  // namespace

class GeometryTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QCOMPARE(LeftoverWindows(), QStringList()); }
    void everyTextFits_data() {
        QTest::addColumn<QString>("family");
        QTest::newRow("DejaVu Sans") << "DejaVu Sans";
        QTest::newRow("Liberation Sans") << "Liberation Sans";
    }
    void everyTextFits() {
        QFETCH(QString, family);
        const QFont font(family, 8);
        QVERIFY2(
            QFontInfo(font).family() == family,
            qPrintable(family + " is not installed (Debian: fonts-dejavu-core, fonts-liberation)"));
        QFont app_font = font;
        app_font.setPointSizeF(8.25);
        QApplication::setFont(app_font);

        FakePlatform fake;
        SpeechEngine speech = fake.Speech();
        StartScreen start(fake.help, fake.end,
                          [&] { return std::make_unique<MainWindow>(fake.platform, speech); });
        start.show();
        start.Command1_Click();
        auto* main = static_cast<MainWindow*>(start.MainWindow());
        MemoryChoices choices;
        SeededRandom random;
        TempHistory history;
        // The Drills window in a large desktop font, as made and made larger.
        DrillsWindow drills(fake.player, fake.Help(), choices, random, history.history,
                            history.confirm, QFont(family, 16));
        drills.show();
        QStringList clipped =
            Clipped(&start) + Clipped(main) + WrittenFormsClipped(*main) + Clipped(&drills);
        for (int i = 0; i < drills.TabBar()->count(); ++i) {
            if (drills.TabBar()->tabText(i) == "Pr&ogress") {
                drills.TabBar()->setCurrentIndex(i);
            }
        }
        const int chart_width = drills.Find("fraChart")->width();
        drills.resize(drills.size() + QSize(300, 200));
        clipped += Clipped(&drills);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join("\n")));
        QCOMPARE(drills.Find("fraChart")->width(), chart_width + 300);

        // One scale for the whole window: the window keeps the twips' shape.
        // Width and height are each rounded, so some one factor need only
        // round to both: |w/5340 - h/5205| <= 0.5/5340 + 0.5/5205.
        const int w = main->width();
        const int h = main->height();
        QVERIFY2(2 * std::abs(w * 5205 - h * 5340) <= 5340 + 5205,
                 qPrintable(QString("%1x%2 is not 5340x5205 twips at one scale").arg(w).arg(h)));
    }
};

QTEST_MAIN(GeometryTest)
#include "geometry_test.moc"
