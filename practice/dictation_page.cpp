#include "dictation_page.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolTip>

#include "practice_range.h"

namespace talmo {
namespace {

using forms::Control;
using forms::kBold;
using forms::kHidden;
using forms::Kind;
using forms::kReadOnly;

const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

const std::vector<Control>& Controls() {
    static const std::vector<Control> controls{
        {"imgDictation", -1, Kind::kPicture, "", "", {1560, 195, 1815, 345}},
        {"Frame5", -1, Kind::kFrame, "", "Practice", {105, 570, 4905, 3270}},
        {"PlayRandom", -1, Kind::kButton, "Frame5", "&Play random number", {120, 330, 1815, 375}},
        {"Label3",
         -1,
         Kind::kWrapLabel,
         "Frame5",
         "Enter the number you heard spoken:",
         {120, 945, 1335, 495}},
        {"DictationAnswer",
         -1,
         Kind::kTextBox,
         "Frame5",
         "",
         {1560, 1050, 615, 270},
         forms::kPlain,
         {},
         0,
         "Enter the number you heard spoken"},
        {"CheckAnswer", -1, Kind::kButton, "Frame5", "&Check answer", {120, 1665, 1815, 375}},
        {"Label4", -1, Kind::kLabel, "Frame5", "Practice range:", {135, 2295, 1155, 255}},
        {"lblSliderValue", -1, Kind::kLabel, "Frame5", "", {1305, 2310, 1065, 165}},
        {"sliderPracticeRange",
         -1,
         Kind::kSlider,
         "Frame5",
         "",
         {30, 2535, 2370, 495},
         forms::kPlain,
         {},
         0,
         "Practice range"},
        {"lblRangeTicks",
         -1,
         Kind::kTicks,
         "Frame5",
         "10" + QString(38, ' ') + "100K",
         {135, 3000, 2280, 165}},
        {"Frame3", -1, Kind::kFrame, "Frame5", "Answer Status", {2415, 465, 2370, 2250}},
        {"lblCorrect",
         -1,
         Kind::kLabel,
         "Frame3",
         "Correct",
         {570, 270, 615, 195},
         kBold | kHidden,
         kGreen},
        {"lblIncorrect",
         -1,
         Kind::kLabel,
         "Frame3",
         "Incorrect",
         {420, 285, 795, 165},
         kBold | kHidden,
         kRed},
        {"cmdbuttonRepeat", -1, Kind::kButton, "Frame3", "&Repeat", {1560, 240, 735, 375}, kHidden},
        {"lblYourAnswer",
         -1,
         Kind::kLabel,
         "Frame3",
         "Your answer:",
         {300, 660, 975, 255},
         kHidden},
        {"txtboxYourAnswer",
         -1,
         Kind::kTextBox,
         "Frame3",
         "",
         {1335, 660, 600, 180},
         kReadOnly | kHidden,
         {},
         0,
         "Your answer"},
        {"lblCorrectAnswer2",
         -1,
         Kind::kLabel,
         "Frame3",
         "Correct answer:",
         {120, 900, 1125, 255},
         kHidden},
        {"txtboxCorrectAnswer",
         -1,
         Kind::kTextBox,
         "Frame3",
         "",
         {1335, 900, 600, 180},
         kReadOnly | kHidden,
         {},
         0,
         "Correct answer"},
        {"lblTotalCorrect", -1, Kind::kLabel, "Frame3", "Total correct:", {300, 1140, 990, 195}},
        {"txtboxTotalCorrect",
         -1,
         Kind::kTextBox,
         "Frame3",
         "",
         {1335, 1140, 300, 180},
         kReadOnly,
         {},
         0,
         "Total correct"},
        {"lblOf", -1, Kind::kLabel, "Frame3", "of", {1725, 1140, 165, 225}},
        {"txtboxTotalPlayed",
         -1,
         Kind::kTextBox,
         "Frame3",
         "",
         {1965, 1140, 300, 180},
         kReadOnly,
         {},
         0,
         "Total checked"},
        {"lblConsecutive", -1, Kind::kLabel, "Frame3", "Consecutive:", {300, 1380, 960, 240}},
        {"txtboxConsecutive",
         -1,
         Kind::kTextBox,
         "Frame3",
         "",
         {1335, 1380, 600, 180},
         kReadOnly,
         {},
         0,
         "Consecutive"},
        {"cmdbuttonReset", -1, Kind::kButton, "Frame3", "Re&set", {855, 1725, 720, 390}},
    };
    return controls;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

void SetVisible(QWidget* widget, bool visible) {
    // Only the page's own choice: a hidden page keeps its controls' state.
    widget->setVisible(visible);
}

}  // namespace

DictationPage::DictationPage(forms::Form& form, QWidget* page, QuizClock& clock,
                             RandomSource& random, MessageBox& messages, NumberReader& reader,
                             std::string decimal_separator)
    : QObject(page),
      form_(form),
      quiz_(*this, clock, random, messages, reader, std::move(decimal_separator)) {
    form.Add(Controls(), page);
    slider_ = form.Get<QSlider>("sliderPracticeRange");
    slider_value_ = form.Get<QLabel>("lblSliderValue");
    answer_ = form.Get<QLineEdit>("DictationAnswer");
    play_ = form.Get<QPushButton>("PlayRandom");
    repeat_ = form.Get<QPushButton>("cmdbuttonRepeat");
    correct_ = form.Get<QLabel>("lblCorrect");
    incorrect_ = form.Get<QLabel>("lblIncorrect");

    slider_->setRange(kFirstRangePosition, kLastRangePosition);
    slider_->setSingleStep(1);
    slider_->setPageStep(5);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setTickInterval(1);
    slider_->setValue(kFirstRangePosition);

    // Every text these boxes and the range label may show must fit. The
    // score boxes are sized for three digits, a long session's worth; a
    // longer count is drawn smaller rather than cut (see ShowCount).
    for (const char* box : {"txtboxTotalCorrect", "txtboxTotalPlayed", "txtboxConsecutive"}) {
        form.RequireText(form.Get<QLineEdit>(box), "999");
    }
    form.RequireText(form.Get<QLineEdit>("txtboxCorrectAnswer"), "99999");
    form.RequireText(answer_, "99999");
    for (const PracticeRange& range : PracticeRangeTable) {
        form.RequireText(slider_value_, Text(std::string(range.Text)));
    }

    connect(play_, &QPushButton::clicked, this, [this] { quiz_.PlayRandom_Click(); });
    connect(form.Get<QPushButton>("CheckAnswer"), &QPushButton::clicked, this,
            [this] { quiz_.CheckAnswer_Click(); });
    connect(repeat_, &QPushButton::clicked, this, [this] { quiz_.cmdbuttonRepeat_Click(); });
    connect(form.Get<QPushButton>("cmdbuttonReset"), &QPushButton::clicked, this,
            [this] { quiz_.cmdbuttonReset_Click(); });
    connect(slider_, &QSlider::valueChanged, this, [this] { sliderPracticeRange_Change(); });
    connect(slider_, &QSlider::sliderMoved, this,
            [this] { QToolTip::showText(QCursor::pos(), slider_->toolTip(), slider_); });
    answer_->installEventFilter(this);
}

void DictationPage::sliderPracticeRange_Change() {
    const PracticeRange* range = PracticeRangeAt(slider_->value());
    if (range == nullptr) {
        return;
    }
    const QString text = Text(std::string(range->Text));
    slider_->setToolTip(text);
    slider_value_->setText(text);
}

bool DictationPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == answer_ && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A key held down repeats its presses but is released once.
        if (!key->isAutoRepeat()) {
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            quiz_.DictationAnswer_KeyUp(enter ? DictationQuiz::kEnterKey : key->key(),
                                        int(key->modifiers().toInt() >> 25));
        }
    }
    return QObject::eventFilter(watched, event);
}

int DictationPage::RangePosition() {
    return slider_->value();
}

void DictationPage::SetRangePosition(int position) {
    slider_->setValue(position);
}

std::string DictationPage::AnswerText() {
    return answer_->text().toStdString();
}

void DictationPage::SetAnswerText(const std::string& text) {
    answer_->setText(Text(text));
}

void DictationPage::SetFeedback(Feedback feedback) {
    SetVisible(correct_, feedback == Feedback::kCorrect);
    SetVisible(incorrect_, feedback == Feedback::kWrong);
    if (feedback != Feedback::kNone) {
        // Screen readers announce the verdict as it appears.
        QLabel* shown = feedback == Feedback::kCorrect ? correct_ : incorrect_;
        QAccessibleEvent alert(shown, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void DictationPage::SetDetailsVisible(bool visible) {
    for (const char* name :
         {"lblYourAnswer", "txtboxYourAnswer", "lblCorrectAnswer2", "txtboxCorrectAnswer"}) {
        SetVisible(form_.Find(name), visible);
    }
}

void DictationPage::SetYourAnswer(const std::string& text) {
    form_.Get<QLineEdit>("txtboxYourAnswer")->setText(Text(text));
}

void DictationPage::SetCorrectAnswer(const std::string& text) {
    form_.Get<QLineEdit>("txtboxCorrectAnswer")->setText(Text(text));
}

void DictationPage::SetRepeatVisible(bool visible) {
    SetVisible(repeat_, visible);
}

void DictationPage::ShowCount(const char* box_name, int value) {
    auto* box = form_.Get<QLineEdit>(box_name);
    const QString text = QString::number(value);
    QFont font = box->parentWidget()->font();
    const int room = box->contentsRect().width() - 4;
    while (QFontMetrics(font).horizontalAdvance(text) > room && font.pointSizeF() > 5) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    box->setFont(font);
    box->setText(text);
    box->setCursorPosition(0);
}

void DictationPage::ShowTotalCorrect(int value) {
    ShowCount("txtboxTotalCorrect", value);
}

void DictationPage::ShowTotalPlayed(int value) {
    ShowCount("txtboxTotalPlayed", value);
}

void DictationPage::ShowConsecutive(int value) {
    ShowCount("txtboxConsecutive", value);
}

void DictationPage::FocusAnswer() {
    // A page switch while the number was spoken may have hidden the page.
    if (answer_->isVisible()) {
        answer_->setFocus(Qt::OtherFocusReason);
    }
}

void DictationPage::FocusPlay() {
    if (play_->isVisible()) {
        play_->setFocus(Qt::OtherFocusReason);
    }
}

void DictationPage::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

}  // namespace talmo
