// SPDX-License-Identifier: MIT
#include "drills/drills_window.h"

#include <QAccessible>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <functional>

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr int kClientWidth = 6840;
constexpr int kClientHeight = 6075;
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

std::vector<Control> ControlTable() {
    return {
        // clang-format off
        {.name = "lblHistory", .kind = Kind::kWrapLabel, .rect = {120, 4860, 6600, 480}, .point_size = 7.5},
        {.name = "lblSound", .kind = Kind::kWrapLabel, .caption = kNoSound, .rect = {120, 5400, 4680, 555}, .style = forms::kBold | forms::kHidden},
        {.name = "cmdHelp", .kind = Kind::kButton, .caption = "&Help", .rect = {4920, 5640, 855, 375}},
        {.name = "cmdClose", .kind = Kind::kButton, .caption = "&Close", .rect = {5880, 5640, 855, 375}},
        {.name = "tabDrills", .kind = Kind::kTabStrip, .rect = {0, 0, 6780, 4800}},
        // clang-format on
    };
}

}  // namespace

DrillsWindow::DrillsWindow(ClipPlayer& player, forms::HelpTopic help, ChoiceStore& choices,
                           DrillRandom& random, LearnerHistory& history, Confirm confirm,
                           const std::optional<QFont>& font,
                           std::span<const forms::PageRow<DrillSite>> pages)
    : PagedWindow({.tab_strip = "tabDrills", .frames = "DrillFrame", .help_button = "cmdHelp"},
                  std::move(help)),
      history_(history),
      settings_(choices),
      speaker_(EmbeddedVoices(), player, WaitLive) {
    setObjectName("frmDrills");
    setWindowTitle("Talmo Drills");
    if (font) {
        setFont(*font);
    }
    AddPages(ControlTable(), pages, [&](int i, QWidget* frame) -> DrillSite {
        const QString tab = pages[static_cast<std::size_t>(i)].tab;
        return {.frame = frame,
                .speaker = speaker_,
                .actions = actions_,
                .random = random,
                .settings = settings_,
                .history = history_,
                .confirm = confirm,
                .tab_count =
                    [bar = TabBar(), i, tab](int count) {
                        bar->setTabText(i,
                                        count > 0 ? QString("%1 (%2)").arg(tab).arg(count) : tab);
                    },
                .history_changed = [this] { ShowNotice(true); }};
    });
    Fit();
    resize(minimumSize());

    connect(Get<QPushButton>("cmdClose"), &QPushButton::clicked, this, &QWidget::close);
    SwitchToPage(0);

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
    const QSize least = LayOut(kClientWidth, kClientHeight);
    laid_out_.clear();
    for (const char* name : {"tabDrills", "lblHistory", "lblSound", "cmdHelp", "cmdClose"}) {
        laid_out_.emplace_back(Controls().Find(name), Controls().Find(name)->geometry());
    }
    for (QWidget* frame : Frames()) {
        laid_out_.emplace_back(frame, frame->geometry());
    }
    setMinimumSize(least);
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
    for (forms::Page* page : Pages()) {
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
    if (event->type() == QEvent::FontChange && PageCount() > 0) {
        Fit();
        resize(size().expandedTo(minimumSize()));
    }
}

void DrillsWindow::ShowSound() {
    auto* line = Controls().Get<QLabel>("lblSound");
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
    auto* line = Controls().Get<QLabel>("lblHistory");
    if (afresh) {
        line->setProperty("told", false);
    }
    if (auto notice = history_.TakeNotice()) {
        line->setText(QString::fromStdString(*notice));
        QAccessibleEvent alert(line, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    } else if (!line->property("told").toBool()) {
        const HistoryStore& store = history_.Store();
        std::string text = !history_.Keeps() ? "Your answers are not kept (see Settings)."
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

}  // namespace talmo
