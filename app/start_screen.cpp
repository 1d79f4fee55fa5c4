// SPDX-License-Identifier: MIT
#include "app/start_screen.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "app/pictures.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr int kClientWidth = 6240;
constexpr int kClientHeight = 5265;
constexpr int kAboutContext = 6;

const std::vector<Control>& Controls() {
    static const std::vector<Control> controls{
        // clang-format off
        {.name = "Frame1", .kind = Kind::kFrame, .rect = {105, 1440, 6015, 2790}},
        {.name = "Image1", .kind = Kind::kPicture, .parent = "Frame1", .rect = {480, 195, 1350, 720}},
        {.name = "Label4", .kind = Kind::kWrapLabel, .parent = "Frame1", .rect = {195, 1155, 2205, 1575}, .colour = QColor(0, 0, 0)},
        {.name = "Label5", .kind = Kind::kWrapLabel, .parent = "Frame1", .rect = {2535, 180, 3405, 2535}, .colour = QColor(0, 0, 255)},
        {.name = "Command1", .kind = Kind::kButton, .caption = "&Continue", .rect = {3135, 4740, 975, 375}, .style = forms::kBold},
        {.name = "cmdAboutKlvs", .kind = Kind::kButton, .caption = "&About Kalvesta", .rect = {120, 4740, 1815, 375}},
        {.name = "Command2", .kind = Kind::kButton, .caption = "&Exit", .rect = {5355, 4740, 735, 375}},
        {.name = "Label3", .kind = Kind::kLabel, .caption = "Kalvesta Software, Box 1234, SE-123 45 Kalvesta, Sweden", .rect = {1350, 960, 3735, 225}},
        {.name = "Label1", .kind = Kind::kLabel, .caption = "Web: www.kalvesta.example E-mail: talmo@kalvesta.example", .rect = {150, 1200, 5985, 225}},
        {.name = "Label2", .kind = Kind::kLabel, .caption = QString::fromUtf8("Copyright \u00a9 2026 Kalvesta Software. Free to copy and share."), .rect = {765, 4305, 4635, 285}},
        {.name = "Image2", .kind = Kind::kPicture, .rect = {135, 180, 5985, 750}},
        // clang-format on
    };
    return controls;
}

}  // namespace

const QString StartScreen::kWelcome = QStringLiteral(
    "Welcome to Talmo from Kalvesta Software! "
    "Talmo contains five modules. "
    "You can enter numbers at will and hear them spoken, and you "
    "can also test your ability to understand spoken numbers. "
    "Additional modules focus on specific aspects of Swedish numbers. "
    "We hope you enjoy and improve your Swedish from using Talmo. "
    "And don't forget to visit us on the Web about our 'Tonvik!' CD, the "
    "popular and comprehensive tool for Swedish pronunciation. Our Web site also lists "
    "locations and individuals around "
    "the world offering Swedish language instruction.");

// The notice is three empty pieces joined: two blanks.
const QString StartScreen::kUseNotice = QStringLiteral(" ") + " " + "";

StartScreen::StartScreen(HelpRequester& help, ProgramEnd& end,
                         std::function<std::unique_ptr<QWidget>()> make_main_window,
                         std::function<void()> open_drills)
    : help_(help), end_(end), make_main_window_(std::move(make_main_window)), form_(this) {
    setObjectName("frmStartScreen");
    setWindowTitle(kTitle);
    form_.Add(Controls());
    // The texts come with the load step, but their room is reserved now.
    form_.RequireText(form_.Find("Label5"), kWelcome);
    form_.RequireText(form_.Find("Label4"), kUseNotice);
    form_.Layout(form_.FitScale());
    setFixedSize(form_.Scaled(kClientWidth, kClientHeight));

    connect(form_.Get<QPushButton>("Command1"), &QPushButton::clicked, this,
            [this] { Command1_Click(); });
    connect(form_.Get<QPushButton>("cmdAboutKlvs"), &QPushButton::clicked, this,
            [this] { help_.ShowHelp(kStartScreenHelpFile, kAboutContext); });
    connect(form_.Get<QPushButton>("Command2"), &QPushButton::clicked, this,
            [this] { end_.EndProgram(0); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { help_.ShowHelp(kStartScreenHelpFile, kAboutContext); });
    if (open_drills) {
        connect(new QShortcut(Qt::Key_F2, this), &QShortcut::activated, this, open_drills);
    }
    Load();
}

StartScreen::~StartScreen() = default;

void StartScreen::Load() {
    auto* welcome = form_.Get<QLabel>("Label5");
    QPalette palette = welcome->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    welcome->setPalette(palette);
    welcome->setText(kWelcome);
    form_.Get<QLabel>("Label4")->setText(kUseNotice);
    ShowPicture(form_.Get<QLabel>("Image1"), "Talmo", end_);
    ShowPicture(form_.Get<QLabel>("Image2"), "KLVS", end_);
}

void StartScreen::Command1_Click() {
    if (!main_window_) {
        main_window_ = make_main_window_();
    }
    main_window_->show();
    hide();
}

void StartScreen::closeEvent(QCloseEvent* event) {
    event->accept();
    end_.EndProgram(0);
}

}  // namespace talmo
