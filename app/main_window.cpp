// SPDX-License-Identifier: MIT
#include "app/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>
#include <vector>

#include "app/pictures.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr int kClientWidth = 5340;
constexpr int kClientHeight = 5205;

std::vector<Control> ControlTable() {
    return {
        // clang-format off
        {.name = "cmdHelp", .kind = Kind::kButton, .caption = "&Help", .rect = {3360, 4545, 735, 375}},
        {.name = "cmdExit", .kind = Kind::kButton, .caption = "E&xit", .rect = {4320, 4545, 735, 375}},
        {.name = "TabStrip1", .kind = Kind::kTabStrip, .rect = {0, 0, 5295, 5145}},
        // clang-format on
    };
}

}  // namespace

MainWindow::MainWindow(Platform& platform, Speaker& speaker,
                       std::span<const forms::PageRow<PageSite>> pages)
    : PagedWindow({.tab_strip = "TabStrip1", .frames = "CountFrame", .help_button = "cmdHelp"},
                  [&platform](int context) { platform.help.ShowHelp(kHelpFile, context); }),
      platform_(platform),
      speaker_(speaker),
      rows_(pages) {
    setObjectName("frmCounting");
    setWindowTitle(kTitle);
    AddPages(ControlTable(), pages, [this](int, QWidget* frame) {
        return PageSite{frame, platform_, speaker_, Help()};
    });
    setFixedSize(LayOut(kClientWidth, kClientHeight));

    connect(Get<QPushButton>("cmdExit"), &QPushButton::clicked, this,
            [this] { platform_.end.EndProgram(0); });
    // A press on the strip switches pages even on the tab already chosen.
    TabBar()->installEventFilter(this);
    Get<forms::TabStrip>("TabStrip1")->installEventFilter(this);
    if (platform_.open_drills) {
        connect(new QShortcut(Qt::Key_F2, this), &QShortcut::activated, this,
                [this] { platform_.open_drills(); });
    }

    Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::Load() {
    std::vector<int> banner_order;
    for (int i = 0; i < PageCount(); ++i) {
        if (rows_[static_cast<std::size_t>(i)].banner_box != nullptr) {
            banner_order.push_back(i);
        }
    }
    std::ranges::sort(banner_order, {},
                      [this](int i) { return rows_[static_cast<std::size_t>(i)].banner_order; });
    for (const int i : banner_order) {
        const auto& row = rows_[static_cast<std::size_t>(i)];
        ShowPicture(PageAt(i).Controls().Get<QLabel>(row.banner_box), row.banner, platform_.end);
    }
    for (forms::Page* page : Pages()) {
        page->Load();
    }
    {
        // Choosing the first tab must not count as a page switch here.
        const QSignalBlocker quiet(TabBar());
        TabBar()->setCurrentIndex(0);
    }
    ShowFrame(0);
}

void MainWindow::PlayNumber(std::string_view Index, std::string_view Category) {
    speaker_.PlayNumber(Index, Category);
}

void MainWindow::ReadNumber(std::int32_t number_in) {
    speaker_.ReadNumber(number_in);
}

void MainWindow::Tabstrip1_Click() {
    SwitchToPage(TabBar()->currentIndex());
}

void MainWindow::cmdHelp_Click() {
    HelpOnShownPage();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    platform_.end.EndProgram(0);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) {
        return QWidget::eventFilter(watched, event);
    }
    // The strip lies behind everything else: a press on its tabs, or on the
    // part of its body nothing covers, is a page switch. A press the tabs
    // pass on to the body has been counted already.
    auto* strip = Get<forms::TabStrip>("TabStrip1");
    if (watched == TabBar() ||
        (watched == strip &&
         strip->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()) == nullptr)) {
        Tabstrip1_Click();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace talmo
