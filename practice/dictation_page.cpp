// SPDX-License-Identifier: MIT
#include "practice/dictation_page.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolTip>

#include "practice/practice_range.h"

namespace talmo {
namespace {

using forms::Control;
using forms::kBold;
using forms::kHidden;
using forms::Kind;
using forms::kReadOnly;

const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);

const std::vector<Control>& ControlTable() {
    static const std::vector<Control> controls{
        // clang-format off
        {.name = "imgDictation", .kind = Kind::kPicture, .rect = {1560, 195, 1815, 345}},
        {.name = "Frame5", .kind = Kind::kFrame, .caption = "Practice", .rect = {105, 570, 4905, 3270}},
        {.name = "PlayRandom", .kind = Kind::kButton, .parent = "Frame5", .caption = "&Play random number", .rect = {120, 330, 1815, 375}},
        {.name = "Label3", .kind = Kind::kWrapLabel, .parent = "Frame5", .caption = "Enter the number you heard spoken:", .rect = {120, 945, 1335, 495}},
        {.name = "DictationAnswer", .kind = Kind::kTextBox, .parent = "Frame5", .rect = {1560, 1050, 615, 270}, .accessible = "Enter the number you heard spoken"},
        {.name = "CheckAnswer", .kind = Kind::kButton, .parent = "Frame5", .caption = "&Check answer", .rect = {120, 1665, 1815, 375}},
        {.name = "Label4", .kind = Kind::kLabel, .parent = "Frame5", .caption = "Practice range:", .rect = {135, 2295, 1155, 255}},
        {.name = "lblSliderValue", .kind = Kind::kLabel, .parent = "Frame5", .rect = {1305, 2310, 1065, 165}},
        {.name = "sliderPracticeRange", .kind = Kind::kSlider, .parent = "Frame5", .rect = {30, 2535, 2370, 495}, .accessible = "Practice range"},
        {.name = "lblRangeTicks", .kind = Kind::kTicks, .parent = "Frame5", .caption = "10" + QString(38, ' ') + "100K", .rect = {135, 3000, 2280, 165}},
        {.name = "Frame3", .kind = Kind::kFrame, .parent = "Frame5", .caption = "Answer Status", .rect = {2415, 465, 2370, 2250}},
        {.name = "lblCorrect", .kind = Kind::kLabel, .parent = "Frame3", .caption = "Correct", .rect = {570, 270, 615, 195}, .style = kBold | kHidden, .colour = kGreen},
        {.name = "lblIncorrect", .kind = Kind::kLabel, .parent = "Frame3", .caption = "Incorrect", .rect = {420, 285, 795, 165}, .style = kBold | kHidden, .colour = kRed},
        {.name = "cmdbuttonRepeat", .kind = Kind::kButton, .parent = "Frame3", .caption = "&Repeat", .rect = {1560, 240, 735, 375}, .style = kHidden},
        {.name = "lblYourAnswer", .kind = Kind::kLabel, .parent = "Frame3", .caption = "Your answer:", .rect = {300, 660, 975, 255}, .style = kHidden},
        {.name = "txtboxYourAnswer", .kind = Kind::kTextBox, .parent = "Frame3", .rect = {1335, 660, 600, 180}, .style = kReadOnly | kHidden, .accessible = "Your answer"},
        {.name = "lblCorrectAnswer2", .kind = Kind::kLabel, .parent = "Frame3", .caption = "Correct answer:", .rect = {120, 900, 1125, 255}, .style = kHidden},
        {.name = "txtboxCorrectAnswer", .kind = Kind::kTextBox, .parent = "Frame3", .rect = {1335, 900, 600, 180}, .style = kReadOnly | kHidden, .accessible = "Correct answer"},
        {.name = "lblTotalCorrect", .kind = Kind::kLabel, .parent = "Frame3", .caption = "Total correct:", .rect = {300, 1140, 990, 195}},
        {.name = "txtboxTotalCorrect", .kind = Kind::kTextBox, .parent = "Frame3", .rect = {1335, 1140, 300, 180}, .style = kReadOnly, .accessible = "Total correct"},
        {.name = "lblOf", .kind = Kind::kLabel, .parent = "Frame3", .caption = "of", .rect = {1725, 1140, 165, 225}},
        {.name = "txtboxTotalPlayed", .kind = Kind::kTextBox, .parent = "Frame3", .rect = {1965, 1140, 300, 180}, .style = kReadOnly, .accessible = "Total checked"},
        {.name = "lblConsecutive", .kind = Kind::kLabel, .parent = "Frame3", .caption = "Consecutive:", .rect = {300, 1380, 960, 240}},
        {.name = "txtboxConsecutive", .kind = Kind::kTextBox, .parent = "Frame3", .rect = {1335, 1380, 600, 180}, .style = kReadOnly, .accessible = "Consecutive"},
        {.name = "cmdbuttonReset", .kind = Kind::kButton, .parent = "Frame3", .caption = "Re&set", .rect = {855, 1725, 720, 390}},
        // clang-format on
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

DictationPage::DictationPage(QWidget* frame, QuizClock& clock, RandomSource& random,
                             MessageBox& messages, Speaker& reader, std::string decimal_separator)
    : Page(frame), quiz_(*this, clock, random, messages, reader, std::move(decimal_separator)) {
    form_.Add(ControlTable());
    slider_ = form_.Get<QSlider>("sliderPracticeRange");
    slider_value_ = form_.Get<QLabel>("lblSliderValue");
    answer_ = form_.Get<QLineEdit>("DictationAnswer");
    play_ = form_.Get<QPushButton>("PlayRandom");
    repeat_ = form_.Get<QPushButton>("cmdbuttonRepeat");
    correct_ = form_.Get<QLabel>("lblCorrect");
    incorrect_ = form_.Get<QLabel>("lblIncorrect");

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
        form_.RequireText(form_.Get<QLineEdit>(box), "999");
    }
    form_.RequireText(form_.Get<QLineEdit>("txtboxCorrectAnswer"), "99999");
    form_.RequireText(answer_, "99999");
    for (const PracticeRange& range : PracticeRangeTable) {
        form_.RequireText(slider_value_, Text(std::string(range.text)));
    }

    connect(play_, &QPushButton::clicked, this, [this] { quiz_.PlayRandom_Click(); });
    connect(form_.Get<QPushButton>("CheckAnswer"), &QPushButton::clicked, this,
            [this] { quiz_.CheckAnswer_Click(); });
    connect(repeat_, &QPushButton::clicked, this, [this] { quiz_.cmdbuttonRepeat_Click(); });
    connect(form_.Get<QPushButton>("cmdbuttonReset"), &QPushButton::clicked, this,
            [this] { quiz_.cmdbuttonReset_Click(); });
    connect(slider_, &QSlider::valueChanged, this, [this] { sliderPracticeRange_Change(); });
    // A drag moves the slider before its value follows, so the tip shows the
    // range of the position it is dragged to, not the tooltip of the last one.
    connect(slider_, &QSlider::sliderMoved, this, [this](int position) {
        if (const PracticeRange* range = PracticeRangeAt(position)) {
            QToolTip::showText(QCursor::pos(), Text(std::string(range->text)), slider_);
        }
    });
    answer_->installEventFilter(this);
}

void DictationPage::sliderPracticeRange_Change() {
    const PracticeRange* range = PracticeRangeAt(slider_->value());
    if (range == nullptr) {
        return;
    }
    const QString text = Text(std::string(range->text));
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
