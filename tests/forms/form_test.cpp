// SPDX-License-Identifier: MIT
// A form keeps the rows it was given and refuses names it does not have; a
// window of pages switches and helps page by page.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <stdexcept>
#include <vector>

#include "forms/form.h"
#include "forms/paged_window.h"

using namespace talmo::forms;

namespace {

struct Site {
    QWidget* frame;
};

struct SwitchedPage final : Page {
    using Page::Page;
    void Switched(bool shown) override { told.push_back(shown); }
    std::vector<bool> told;
};

Page* MakePage(const Site& s) {
    return new SwitchedPage(s.frame);
}

// clang-format off
constexpr PageRow<Site> kRows[] = {
    {.tab = "&One", .help_context = 5, .frame = {0, 400, 900, 900}, .make = MakePage},
    {.tab = "&Two", .help_context = 7, .frame = {0, 400, 900, 900}, .make = MakePage},
};
const std::vector<Control> kControls = {
    {.name = "help", .kind = Kind::kButton, .caption = "&Help", .rect = {0, 1400, 900, 375}},
    {.name = "strip", .kind = Kind::kTabStrip, .rect = {0, 0, 1000, 1350}},
};
// clang-format on

struct TwoPages final : PagedWindow {
    std::vector<int> asked;
    TwoPages() : PagedWindow({"strip", "frame", "help"}, [this](int c) { asked.push_back(c); }) {
        AddPages(kControls, std::span(kRows), [](int, QWidget* frame) { return Site{frame}; });
    }
    const std::vector<bool>& Told(int i) { return dynamic_cast<SwitchedPage&>(PageAt(i)).told; }
};

}  // namespace

class FormTest : public QObject {
    Q_OBJECT

  private slots:
    void KeepsItsOwnRowsAndRefusesUnknownNames() {
        QWidget root;
        Form form(&root);
        {
            // The table is gone before the form is used.
            const std::vector<Control> table{
                {.name = "frame", .kind = Kind::kFrame, .rect = {0, 0, 2000, 2000}},
                {.name = "label",
                 .index = 1,
                 .parent = "frame",
                 .caption = "Ett",
                 .rect = {0, 0, 500, 300}},
            };
            form.Add(table);
        }
        form.Layout(form.FitScale());
        QCOMPARE(form.Get<QLabel>("label", 1)->text(), QString("Ett"));
        QCOMPARE(form.Find("label", 1)->parentWidget(), form.Find("frame"));
        for (const auto& [name, index] : {std::pair{"label", -1}, std::pair{"nothing", -1}}) {
            try {
                form.Find(name, index);
                QFAIL("an unknown control was found");
            } catch (const std::logic_error& e) {
                QVERIFY(QString(e.what()).contains(name));
            }
        }
    }

    void PagedWindowShowsOnePageAndItsHelp() {
        TwoPages window;
        window.TabBar()->setCurrentIndex(1);
        QVERIFY(!window.Find("frame", 0)->isVisibleTo(&window));
        QVERIFY(window.Find("frame", 1)->isVisibleTo(&window));
        QCOMPARE(window.Told(0), std::vector<bool>{false});
        QCOMPARE(window.Told(1), std::vector<bool>{true});
        window.Get<QPushButton>("help")->click();
        QCOMPARE(window.asked, std::vector<int>{7});
    }
};

QTEST_MAIN(FormTest)
#include "form_test.moc"
