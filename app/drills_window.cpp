// SPDX-License-Identifier: MIT
#include "app/drills_window.h"

#include <QAccessible>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <chrono>
#include <functional>

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr int kClientWidth = 6840;
constexpr int kClientHeight = 6075;
constexpr forms::Rect kPageFrame = {90, 360, 6600, 4350};
constexpr const char* kNoSound =
    "No sound: Talmo cannot reach the sound server. Check that sound is on.";

// Runs the program's events until done: the window stays live, and paints
// and takes keys, while a number plays.
void WaitLive(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(std::chrono::milliseconds(5));
    if (!done()) {
        loop.exec();
    }
}

std::vector<Control> ControlTable(std::span<const DrillsPageEntry> pages) {
    std::vector<Control> c{
        // clang-format off
        {.name = "lblHistory", .kind = Kind::kWrapLabel, .rect = {120, 4860, 6600, 480}, .point_size = 7.5},
        {.name = "lblSound", .kind = Kind::kWrapLabel, .caption = kNoSound, .rect = {120, 5400, 4680, 555}, .style = forms::kBold | forms::kHidden},
        {.name = "cmdHelp", .kind = Kind::kButton, .caption = "&Help", .rect = {4920, 5640, 855, 375}},
        {.name = "cmdClose", .kind = Kind::kButton, .caption = "&Close", .rect = {5880, 5640, 855, 375}},
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
                           LearnerHistory& history, Confirm confirm,
                           std::span<const DrillsPageEntry> pages)
    : platform_(platform),
      history_(history),
      settings_(choices),
      speaker_(EmbeddedVoices(), platform.drills_player ? *platform.drills_player : platform.player,
               WaitLive),
      form_(this),
      entries_(pages) {
    setObjectName("frmDrills");
    setWindowTitle("Talmo Drills");
    if (platform.drills_font) {
        setFont(*platform.drills_font);
    }
    form_.Add(ControlTable(pages));
    QTabBar* bar = TabBar();
    const auto frames = form_.Array<QWidget>("DrillFrame", static_cast<int>(pages.size()));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        bar->addTab(pages[i].tab);
        const auto tab_count = [bar, i, tab = QString(pages[i].tab)](int count) {
            bar->setTabText(static_cast<int>(i),
                            count > 0 ? QString("%1 (%2)").arg(tab).arg(count) : tab);
        };
        pages_.push_back(pages[i].make({frames[i], speaker_, actions_, random, settings_, history_,
                                        confirm, tab_count, [this] { ShowNotice(true); }}));
    }
    Fit();
    resize(minimumSize());

    const auto help = [this] {
        platform_.help.ShowHelp(
            kHelpFile, entries_[static_cast<std::size_t>(TabBar()->currentIndex())].help_context);
    };
    connect(form_.Get<QPushButton>("cmdHelp"), &QPushButton::clicked, this, help);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, help);
    connect(form_.Get<QPushButton>("cmdClose"), &QPushButton::clicked, this, &QWidget::close);
    connect(bar, &QTabBar::currentChanged, this, [this](int index) { ShowPage(index); });
    ShowPage(0);

    // The history opens with the window, and says here what the learner should know.
    history_.Store();
    history_.OnNotice([this] { ShowNotice(); });
    settings_.OnChange([this] { ShowNotice(); });
    ShowNotice();
    actions_.OnDone([this] { ShowSound(); });
}

void DrillsWindow::Fit() {
    if (fitting_) {
        return;
    }
    fitting_ = true;
    forms::LayOutWithPages(form_, pages_);
    laid_out_.clear();
    for (const char* name : {"tabDrills", "lblHistory", "lblSound", "cmdHelp", "cmdClose"}) {
        laid_out_.emplace_back(form_.Find(name), form_.Find(name)->geometry());
    }
    for (QWidget* frame : form_.Array<QWidget>("DrillFrame", PageCount())) {
        laid_out_.emplace_back(frame, frame->geometry());
    }
    setMinimumSize(form_.Scaled(kClientWidth, kClientHeight));
    fitting_ = false;
    Stretch();
}

void DrillsWindow::Stretch() {
    // The tabs and pages take what the window has more than its least size;
    // the lines and buttons under them keep to the foot and the right.
    const QSize extra = (size() - minimumSize()).expandedTo({0, 0});
    for (const auto& [widget, laid] : laid_out_) {
        const QString name = widget->objectName();
        if (name == "tabDrills" || name == "DrillFrame") {
            widget->setGeometry(laid.adjusted(0, 0, extra.width(), extra.height()));
        } else if (name.startsWith("lbl")) {
            widget->setGeometry(
                laid.translated(0, extra.height()).adjusted(0, 0, extra.width(), 0));
        } else {
            widget->setGeometry(laid.translated(extra.width(), extra.height()));
        }
    }
    for (forms::Page* page : pages_) {
        page->Stretch(extra);
    }
}

void DrillsWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Stretch();
}

void DrillsWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // However the window came by its font (the desktop's, set late by a
    // platform theme, or changed while open), every text fits it.
    if (event->type() == QEvent::FontChange && !pages_.empty()) {
        Fit();
        resize(size().expandedTo(minimumSize()));
    }
}

void DrillsWindow::ShowSound() {
    auto* line = form_.Get<QLabel>("lblSound");
    const bool silent = !speaker_.LastReached();
    const bool news = silent && line->isHidden();
    line->setVisible(silent);
    if (news) {
        QAccessibleEvent alert(line, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

DrillsWindow::~DrillsWindow() {
    history_.OnNotice({});
}

void DrillsWindow::ShowNotice(bool afresh) {
    auto* line = form_.Get<QLabel>("lblHistory");
    if (afresh) {
        line->setProperty("told", false);
    }
    if (auto notice = history_.TakeNotice()) {
        line->setText(QString::fromStdString(*notice));
        QAccessibleEvent alert(line, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    } else if (!line->property("told").toBool()) {
        const HistoryStore& store = history_.Store();
        std::string text = !settings_.Choices().keep_history
                               ? "Your answers are not kept (see Settings)."
                           : store.Status() == HistoryStore::State::kOn
                               ? "Your answers are kept in " + store.File().string() + "."
                               : "Your answers are not kept this time.";
        // Until they are forgotten, the learner should know where old answers lie.
        const auto copies = store.DamagedCopies();
        if (!copies.empty()) {
            text += " A damaged earlier history is kept in " + copies.front().string() +
                    (copies.size() > 1 ? " and " + std::to_string(copies.size() - 1) + " more"
                                       : std::string()) +
                    ".";
        }
        line->setText(QString::fromStdString(text));
        return;
    }
    line->setProperty("told", true);  // a notice stays for the rest of the run
}

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
        window_ = std::make_unique<DrillsWindow>(
            platform_, choices_, *random_, history_,
            [this](const std::string& question, const std::string& action) {
                QMessageBox box(QMessageBox::Question, kTitle, QString::fromStdString(question),
                                QMessageBox::NoButton, window_.get());
                QPushButton* yes =
                    box.addButton(QString::fromStdString(action), QMessageBox::AcceptRole);
                box.setDefaultButton(box.addButton(QMessageBox::Cancel));
                box.exec();
                return box.clickedButton() == yes;
            });
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace talmo
