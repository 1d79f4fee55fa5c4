// SPDX-License-Identifier: MIT
#include "main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

#include "dictation_page.h"
#include "enter_listen_page.h"
#include "pictures.h"
#include "reference_pages.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr int kClientWidth = 5340;
constexpr int kClientHeight = 5205;

struct Page {
    const char* tab;
    forms::Rect frame;
    const char* banner_box;
    const char* banner;
    int help_context;
};

constexpr Page kPageTable[MainWindow::kPages] = {
    {"&Enter and Listen", {75, 360, 5130, 4050}, "imgCounting", "Counting", 5},
    {"&Listen and Enter", {90, 345, 5115, 4065}, "imgDictation", "Dictation", 7},
    {"&Numbers", {135, 345, 5055, 4095}, "imgSwedishNumbers", "SwedishNumbers", 9},
    {"&Ordinals", {120, 315, 5055, 4095}, "imgOrdinalNumbers", "OrdinalNumbers", 10},
    {"&Math", {120, 360, 5055, 3975}, "imgBasicMath", "BasicMath", 11},
};

constexpr int kInformationContext = 2;
constexpr int kFractionsContext = 9;

// The order in which the load step fills the banners.
constexpr int kBannerLoadOrder[] = {1, 0, 4, 2, 3};

const std::vector<Control>& Controls() {
    static const std::vector<Control> controls = [] {
        std::vector<Control> c{
            // clang-format off
            {.name = "cmdHelp", .kind = Kind::kButton, .caption = "&Help", .rect = {3360, 4545, 735, 375}},
            {.name = "cmdExit", .kind = Kind::kButton, .caption = "E&xit", .rect = {4320, 4545, 735, 375}},
            {.name = "TabStrip1", .kind = Kind::kTabStrip, .rect = {0, 0, 5295, 5145}},
            // clang-format on
        };
        for (int i = 0; i < MainWindow::kPages; ++i) {
            // Only the third page carries a caption.
            c.push_back({.name = "CountFrame",
                         .index = i,
                         .kind = Kind::kPage,
                         .caption = i == 2 ? "Numbers" : "",
                         .rect = kPageTable[i].frame});
        }
        return c;
    }();
    return controls;
}

}  // namespace

MainWindow::MainWindow(Platform& platform)
    : platform_(platform), speech_(platform.voices, platform.player), form_(this) {
    setObjectName("frmCounting");
    setWindowTitle(kTitle);
    form_.Add(Controls());

    QTabBar* bar = TabBar();
    for (const Page& page : kPageTable) {
        bar->addTab(page.tab);
    }
    const auto frames = form_.Array<QWidget>("CountFrame", kPages);
    // Each page belongs to its frame; the window keeps only those it talks to.
    new EnterListenPage(form_, frames[0], *this, platform.messages, platform.decimal_separator);
    dictation_ = new DictationPage(form_, frames[1], platform.clock, platform.random,
                                   platform.messages, *this, platform.decimal_separator);
    numbers_ = new NumbersPage(form_, frames[2], *this);
    new OrdinalsPage(form_, frames[3], *this);
    new MathPage(form_, frames[4], *this);

    form_.Layout(form_.FitScale());
    setFixedSize(form_.Scaled(kClientWidth, kClientHeight));

    connect(form_.Get<QPushButton>("cmdExit"), &QPushButton::clicked, this,
            [this] { platform_.end.EndProgram(0); });
    connect(form_.Get<QPushButton>("cmdHelp"), &QPushButton::clicked, this,
            [this] { cmdHelp_Click(); });
    connect(form_.Get<QPushButton>("cmdInformation"), &QPushButton::clicked, this,
            [this] { platform_.help.ShowHelp(kHelpFile, kInformationContext); });
    connect(form_.Get<QPushButton>("cmdFractionsInfo"), &QPushButton::clicked, this,
            [this] { platform_.help.ShowHelp(kHelpFile, kFractionsContext); });
    connect(form_.Get<QPushButton>("cmdCardinalsNext"), &QPushButton::clicked, this,
            [this] { cmdCardinalsNext_Click(); });
    connect(form_.Get<QPushButton>("cmdCardinalsPrevious"), &QPushButton::clicked, this,
            [this] { cmdCardinalsPrevious_Click(); });
    connect(bar, &QTabBar::currentChanged, this, [this] { Tabstrip1_Click(); });
    // A press on the strip switches pages even on the tab already chosen.
    bar->installEventFilter(this);
    form_.Get<forms::TabStrip>("TabStrip1")->installEventFilter(this);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { cmdHelp_Click(); });

    Load();
}

MainWindow::~MainWindow() = default;

QTabBar* MainWindow::TabBar() const {
    return form_.Get<forms::TabStrip>("TabStrip1")->Bar();
}

void MainWindow::Load() {
    for (const int i : kBannerLoadOrder) {
        ShowPicture(form_.Get<QLabel>(kPageTable[i].banner_box), kPageTable[i].banner,
                    platform_.end);
    }
    dictation_->Quiz().RestartQuiz();
    CardinalCount = kCardinalEntries;
    numbers_->FillCardinalList(CardinalCount);
    {
        // Choosing the first tab must not count as a page switch here.
        const QSignalBlocker quiet(TabBar());
        TabBar()->setCurrentIndex(0);
    }
    const auto frames = form_.Array<QWidget>("CountFrame", kPages);
    for (int i = 0; i < kPages; ++i) {
        frames[i]->setVisible(i == 0);
    }
}

void MainWindow::PlayNumber(std::string_view Index, std::string_view Category) {
    speech_.PlayNumber(Index, Category);
}

void MainWindow::SpeakNumber(int number) {
    speech_.SpeakNumber(number);
}

void MainWindow::ReadNumber(std::int32_t number_in) {
    speech_.ReadNumber(number_in);
}

void MainWindow::Tabstrip1_Click() {
    const int n = TabBar()->currentIndex() + 1;
    const auto frames = form_.Array<QWidget>("CountFrame", kPages);
    for (int i = 0; i < kPages; ++i) {
        frames[i]->setVisible(n == i + 1);
    }
    dictation_->Quiz().RestartQuiz();
}

void MainWindow::cmdCardinalsNext_Click() {
    numbers_->cmdCardinalsNext_Click(CardinalCount);
}

void MainWindow::cmdCardinalsPrevious_Click() {
    numbers_->cmdCardinalsPrevious_Click(CardinalCount);
}

void MainWindow::cmdHelp_Click() {
    const int n = TabBar()->currentIndex() + 1;
    if (n >= 1 && n <= kPages) {
        platform_.help.ShowHelp(kHelpFile, kPageTable[n - 1].help_context);
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
