#include "enter_listen_page.h"

#include <QLineEdit>
#include <QPushButton>

#include "learner_number.h"
#include "number_speaker.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

const std::vector<Control>& Controls() {
    static const std::vector<Control> controls{
        {"imgCounting", -1, Kind::kPicture, "", "", {1410, 285, 1860, 315}},
        {"Frame1", -1, Kind::kFrame, "", "Enter and hear numbers", {120, 840, 4905, 1200}},
        {"Label1",
         -1,
         Kind::kLabel,
         "Frame1",
         "Enter any integer between 0 and 99999:",
         {120, 480, 2895, 255}},
        {"Input1",
         -1,
         Kind::kTextBox,
         "Frame1",
         "",
         {3060, 405, 735, 255},
         forms::kPlain,
         {},
         0,
         "Enter any integer between 0 and 99999"},
        {"Play", -1, Kind::kButton, "Frame1", "Hear it", {3990, 360, 735, 375}},
        {"Label6",
         -1,
         Kind::kLabel,
         "Frame1",
         "Do not include a comma or period as separators.",
         {120, 810, 3555, 255}},
        {"Frame2", -1, Kind::kFrame, "", "For more information", {120, 2085, 4905, 1140}},
        {"Label2",
         -1,
         Kind::kWrapLabel,
         "Frame2",
         "Describes differences between English and Swedish numeric representations as well as "
         "other information of interest.",
         {120, 360, 3015, 630}},
        {"cmdInformation", -1, Kind::kButton, "Frame2", "&Information", {3360, 480, 1215, 375}},
    };
    return controls;
}

}  // namespace

EnterListenPage::EnterListenPage(forms::Form& form, QWidget* page, const SpeechEngine& speech,
                                 MessageBox& messages, std::string decimal_separator)
    : QObject(page),
      speech_(speech),
      messages_(messages),
      decimal_separator_(std::move(decimal_separator)) {
    form.Add(Controls(), page);
    input_ = form.Get<QLineEdit>("Input1");
    // The five digits of the largest number must show in full.
    form.RequireText(input_, "99999");
    QObject::connect(form.Get<QPushButton>("Play"), &QPushButton::clicked, this,
                     [this] { Play_Click(); });
}

void EnterListenPage::Play_Click() {
    const auto value = ParseLearnerNumber(input_->text().toStdString(), decimal_separator_);
    const auto number = value ? RoundToInt32(*value) : std::nullopt;
    if (!number || *number < 0 || *number > kLargestSpokenNumber) {
        messages_.Show(kInvalidEntry, MessageBox::Icon::kNone);
        return;
    }
    speech_.SpeakNumber(*number);
}

}  // namespace talmo
