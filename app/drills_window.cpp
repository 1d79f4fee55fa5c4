// SPDX-License-Identifier: MIT
#include "drills_window.h"

#include <QPushButton>
#include <QShortcut>

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr int kClientWidth = 6840;
constexpr int kClientHeight = 5400;
constexpr forms::Rect kPageFrame = {90, 360, 6600, 4350};

std::vector<Control> ControlTable(std::span<const DrillsPageEntry> pages) {
    std::vector<Control> c{
        // clang-format off
        {.name = "cmdHelp", .kind = Kind::kButton, .caption = "&Help", .rect = {4920, 4905, 855, 375}},
        {.name = "cmdClose", .kind = Kind::kButton, .caption = "&Close", .rect = {5880, 4905, 855, 375}},
        {.name = "tabDrills", .kind = Kind::kTabStrip, .rect = {0, 0, 6780, 4800}},
        // clang-format on
    };
    for (std::size_t i = 0; i < pages.size(); ++i) {
        c.push_back({.name = "DrillFrame",
                     .index = static_cast<int>(i),
                     .kind = Kind::kPage,
                     .rect = kPageFrame});
    }
    return c;
}

}  // namespace

DrillsWindow::DrillsWindow(Platform& platform, ChoiceStore& choices, DrillRandom& random,
                           std::span<const DrillsPageEntry> pages)
    : platform_(platform),
      settings_(choices),
      speaker_(EmbeddedVoices(), platform.player),
      form_(this),
      entries_(pages) {
    setObjectName("frmDrills");
    setWindowTitle("Talmo Drills");
    form_.Add(ControlTable(pages));
    QTabBar* bar = TabBar();
    const auto frames = form_.Array<QWidget>("DrillFrame", static_cast<int>(pages.size()));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        bar->addTab(pages[i].tab);
        pages_.push_back(pages[i].make({frames[i], speaker_, random, settings_}));
    }
    forms::LayOutWithPages(form_, pages_);
    setFixedSize(form_.Scaled(kClientWidth, kClientHeight));

    const auto help = [this] {
        platform_.help.ShowHelp(
            kHelpFile, entries_[static_cast<std::size_t>(TabBar()->currentIndex())].help_context);
    };
    connect(form_.Get<QPushButton>("cmdHelp"), &QPushButton::clicked, this, help);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, help);
    connect(form_.Get<QPushButton>("cmdClose"), &QPushButton::clicked, this, &QWidget::close);
    connect(bar, &QTabBar::currentChanged, this, [this](int index) { ShowPage(index); });
    ShowPage(0);
}

DrillsWindow::~DrillsWindow() = default;

QTabBar* DrillsWindow::TabBar() const {
    return form_.Get<forms::TabStrip>("tabDrills")->Bar();
}

QWidget* DrillsWindow::Find(std::string_view name, int index) const {
    return forms::FindWithPages(form_, pages_, name, index);
}

void DrillsWindow::ShowPage(int index) {
    const auto frames = form_.Array<QWidget>("DrillFrame", PageCount());
    for (int i = 0; i < PageCount(); ++i) {
        frames[static_cast<std::size_t>(i)]->setVisible(i == index);
    }
    for (int i = 0; i < PageCount(); ++i) {
        pages_[static_cast<std::size_t>(i)]->Switched(i == index);
    }
}

DrillsOnRequest::~DrillsOnRequest() = default;

void DrillsOnRequest::Open() {
    if (!window_) {
        random_ = std::make_unique<SeededRandom>();
        window_ = std::make_unique<DrillsWindow>(platform_, choices_, *random_);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace talmo
