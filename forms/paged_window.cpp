// SPDX-License-Identifier: MIT
#include "forms/paged_window.h"

#include <QPushButton>
#include <QShortcut>

namespace talmo::forms {

PagedWindow::PagedWindow(Names names, HelpTopic help)
    : names_(names), help_(std::move(help)), form_(this) {}

PagedWindow::~PagedWindow() = default;

QTabBar* PagedWindow::TabBar() const {
    return form_.Get<TabStrip>(names_.tab_strip)->Bar();
}

QWidget* PagedWindow::Find(std::string_view name, int index) const {
    return FindWithPages(form_, pages_, name, index);
}

std::vector<QWidget*> PagedWindow::Frames() const {
    return form_.Array<QWidget>(names_.frames, PageCount());
}

void PagedWindow::AddTab(const char* tab, int help_context) {
    TabBar()->addTab(tab);
    help_contexts_.push_back(help_context);
}

void PagedWindow::ConnectPages() {
    connect(form_.Get<QPushButton>(names_.help_button), &QPushButton::clicked, this,
            [this] { HelpOnShownPage(); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { HelpOnShownPage(); });
    connect(TabBar(), &QTabBar::currentChanged, this, [this](int index) { SwitchToPage(index); });
}

void PagedWindow::ShowFrame(int index) {
    const std::vector<QWidget*> frames = Frames();
    for (int i = 0; i < PageCount(); ++i) {
        frames[static_cast<std::size_t>(i)]->setVisible(i == index);
    }
}

void PagedWindow::SwitchToPage(int index) {
    ShowFrame(index);
    for (int i = 0; i < PageCount(); ++i) {
        PageAt(i).Switched(i == index);
    }
}

void PagedWindow::HelpOnShownPage() {
    const int shown = TabBar()->currentIndex();
    if (shown >= 0 && shown < PageCount()) {
        help_(help_contexts_[static_cast<std::size_t>(shown)]);
    }
}

QSize PagedWindow::LayOut(int width, int height) {
    LayOutWithPages(form_, pages_);
    return form_.Scaled(width, height);
}

}  // namespace talmo::forms
