#include "start_screen.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "pictures.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

constexpr int kClientWidth = 6240;
constexpr int kClientHeight = 5265;
constexpr int kAboutContext = 6;

const std::vector<Control>& Controls() {
    static const std::vector<Control> controls{
        {"Frame1", -1, Kind::kFrame, "", "", {105, 1440, 6015, 2790}},
        {"Image1", -1, Kind::kPicture, "Frame1", "", {480, 195, 1350, 720}},
        {"Label4",
         -1,
         Kind::kWrapLabel,
         "Frame1",
         "",
         {195, 1155, 2205, 1575},
         forms::kPlain,
         QColor(0, 0, 0)},
        {"Label5",
         -1,
         Kind::kWrapLabel,
         "Frame1",
         "",
         {2535, 180, 3405, 2535},
         forms::kPlain,
         QColor(0, 0, 255)},
        {"Command1", -1, Kind::kButton, "", "&Continue", {3135, 4740, 975, 375}, forms::kBold},
        {"cmdAboutKlvs", -1, Kind::kButton, "", "&About Kalvesta", {120, 4740, 1815, 375}},
        {"Command2", -1, Kind::kButton, "", "&Exit", {5355, 4740, 735, 375}},
        {"Label3",
         -1,
         Kind::kLabel,
         "",
         "Kalvesta Software, Box 1234, SE-123 45 Kalvesta, Sweden",
         {1350, 960, 3735, 225}},
        {"Label1",
         -1,
         Kind::kLabel,
         "",
         "Web: www.kalvesta.example    E-mail: talmo@kalvesta.example",
         {150, 1200, 5985, 225}},
        {"Label2",
         -1,
         Kind::kLabel,
         "",
         QString::fromUtf8("Copyright \u00a9 2026 Kalvesta Software. Free to copy and share."),
         {765, 4305, 4635, 285}},
        {"Image2", -1, Kind::kPicture, "", "", {135, 180, 5985, 750}},
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
                         std::function<std::unique_ptr<QWidget>()> make_main_window)
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
            [this] { end_.EndProgram(); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { help_.ShowHelp(kStartScreenHelpFile, kAboutContext); });
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
    ShowPicture(form_.Get<QLabel>("Image1"), "Talmo");
    ShowPicture(form_.Get<QLabel>("Image2"), "KLVS");
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
    end_.EndProgram();
}

}  // namespace talmo
