// SPDX-License-Identifier: MIT
#include "app/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

#include "app/pictures.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr int kClientWidth = 5340;
constexpr int kClientHeight = 5205;

std::vector<Control> ControlTable(std::span<const PageEntry> pages) {
    std::vector<Control> c{
        // clang-format off
        {.name = "cmdHelp", .kind = Kind::kButton, .caption = "&Help", .rect = {3360, 4545, 735, 375}},
        {.name = "cmdExit", .kind = Kind::kButton, .caption = "E&xit", .rect = {4320, 4545, 735, 375}},
        {.name = "TabStrip1", .kind = Kind::kTabStrip, .rect = {0, 0, 5295, 5145}},
        // clang-format on
    };
    for (std::size_t i = 0; i < pages.size(); ++i) {
        c.push_back({.name = "CountFrame",
                     .index = static_cast<int>(i),
                     .kind = Kind::kPage,
                     .caption = pages[i].frame_caption,
                     .rect = pages[i].frame});
    }
    return c;
}

}  // namespace

MainWindow::MainWindow(Platform& platform, std::span<const PageEntry> pages)
    : platform_(platform),
      speech_(platform.voices, platform.player, platform.style),
      form_(this),
      entries_(pages) {
    setObjectName("frmCounting");
    setWindowTitle(kTitle);
    form_.Add(ControlTable(pages));

    QTabBar* bar = TabBar();
    const auto frames = form_.Array<QWidget>("CountFrame", PageCount());
    const forms::HelpTopic help = [this](int context) {
        platform_.help.ShowHelp(kHelpFile, context);
    };
    for (std::size_t i = 0; i < pages.size(); ++i) {
        bar->addTab(pages[i].tab);
        pages_.push_back(pages[i].make({frames[i], platform, speech_, help}));
    }

    forms::LayOutWithPages(form_, pages_);
    setFixedSize(form_.Scaled(kClientWidth, kClientHeight));

    connect(form_.Get<QPushButton>("cmdExit"), &QPushButton::clicked, this,
            [this] { platform_.end.EndProgram(0); });
    connect(form_.Get<QPushButton>("cmdHelp"), &QPushButton::clicked, this,
            [this] { cmdHelp_Click(); });
    connect(bar, &QTabBar::currentChanged, this, [this] { Tabstrip1_Click(); });
    // A press on the strip switches pages even on the tab already chosen.
    bar->installEventFilter(this);
    form_.Get<forms::TabStrip>("TabStrip1")->installEventFilter(this);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { cmdHelp_Click(); });
    if (platform_.open_drills) {
        connect(new QShortcut(Qt::Key_F2, this), &QShortcut::activated, this,
                [this] { platform_.open_drills(); });
    }

    Load();
}

MainWindow::~MainWindow() = default;

QTabBar* MainWindow::TabBar() const {
    return form_.Get<forms::TabStrip>("TabStrip1")->Bar();
}

QWidget* MainWindow::Find(std::string_view name, int index) const {
    return forms::FindWithPages(form_, pages_, name, index);
}

void MainWindow::Load() {
    std::vector<std::size_t> banner_order(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        banner_order[static_cast<std::size_t>(entries_[i].banner_order)] = i;
    }
    for (const std::size_t i : banner_order) {
        ShowPicture(pages_[i]->Controls().Get<QLabel>(entries_[i].banner_box), entries_[i].banner,
                    platform_.end);
    }
    for (forms::Page* page : pages_) {
        page->Load();
    }
    {
        // Choosing the first tab must not count as a page switch here.
        const QSignalBlocker quiet(TabBar());
        TabBar()->setCurrentIndex(0);
    }
    const auto frames = form_.Array<QWidget>("CountFrame", PageCount());
    for (int i = 0; i < PageCount(); ++i) {
        frames[i]->setVisible(i == 0);
    }
}

void MainWindow::PlayNumber(std::string_view Index, std::string_view Category) {
    speech_.PlayNumber(Index, Category);
}

void MainWindow::ReadNumber(std::int32_t number_in) {
    speech_.ReadNumber(number_in);
}

void MainWindow::Tabstrip1_Click() {
    const int n = TabBar()->currentIndex() + 1;
    const auto frames = form_.Array<QWidget>("CountFrame", PageCount());
    for (int i = 0; i < PageCount(); ++i) {
        frames[i]->setVisible(n == i + 1);
    }
    for (int i = 0; i < PageCount(); ++i) {
        pages_[static_cast<std::size_t>(i)]->Switched(n == i + 1);
    }
}

void MainWindow::cmdHelp_Click() {
    const int n = TabBar()->currentIndex() + 1;
    if (n >= 1 && n <= PageCount()) {
        platform_.help.ShowHelp(kHelpFile, entries_[static_cast<std::size_t>(n - 1)].help_context);
    }
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
    auto* strip = form_.Get<forms::TabStrip>("TabStrip1");
    if (watched == TabBar() ||
        (watched == strip &&
         strip->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()) == nullptr)) {
        Tabstrip1_Click();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace talmo
