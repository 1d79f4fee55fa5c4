// SPDX-License-Identifier: MIT
#include "practice/enter_listen_page.h"

#include <QLineEdit>
#include <QPushButton>

#include "practice/learner_number.h"
#include "speech/number_speaker.h"

namespace talmo {
namespace {

using forms::Control;
using forms::Kind;

const std::vector<Control>& ControlTable() {
    static const std::vector<Control> controls{
        // clang-format off
        {.name = "imgCounting", .kind = Kind::kPicture, .rect = {1410, 285, 1860, 315}},
        {.name = "Frame1", .kind = Kind::kFrame, .caption = "Enter and hear numbers", .rect = {120, 840, 4905, 1200}},
        {.name = "Label1", .kind = Kind::kLabel, .parent = "Frame1", .caption = "Enter any integer between 0 and 99999:", .rect = {120, 480, 2895, 255}},
        {.name = "Input1", .kind = Kind::kTextBox, .parent = "Frame1", .rect = {3060, 405, 735, 255}, .accessible = "Enter any integer between 0 and 99999"},
        {.name = "Play", .kind = Kind::kButton, .parent = "Frame1", .caption = "Hear it", .rect = {3990, 360, 735, 375}},
        {.name = "Label6", .kind = Kind::kLabel, .parent = "Frame1", .caption = "Do not include a comma or period as separators.", .rect = {120, 810, 3555, 255}},
        {.name = "Frame2", .kind = Kind::kFrame, .caption = "For more information", .rect = {120, 2085, 4905, 1140}},
        {.name = "Label2", .kind = Kind::kWrapLabel, .parent = "Frame2", .caption = "Describes differences between English and Swedish numeric representations as well as " "other information of interest.", .rect = {120, 360, 3015, 630}},
        {.name = "cmdInformation", .kind = Kind::kButton, .parent = "Frame2", .caption = "&Information", .rect = {3360, 480, 1215, 375}},
        // clang-format on
    };
    return controls;
}

}  // namespace

EnterListenPage::EnterListenPage(QWidget* frame, Speaker& speaker, MessageBox& messages,
                                 std::string decimal_separator, forms::HelpTopic help)
    : Page(frame),
      speaker_(speaker),
      messages_(messages),
      decimal_separator_(std::move(decimal_separator)) {
    form_.Add(ControlTable());
    input_ = form_.Get<QLineEdit>("Input1");
    // The five digits of the largest number must show in full.
    form_.RequireText(input_, "99999");
    connect(form_.Get<QPushButton>("Play"), &QPushButton::clicked, this, [this] { Play_Click(); });
    connect(form_.Get<QPushButton>("cmdInformation"), &QPushButton::clicked, this,
            [help = std::move(help)] { help(kInformationContext); });
}

void EnterListenPage::Play_Click() {
    const auto value = ParseLearnerNumber(input_->text().toStdString(), decimal_separator_);
    const auto number = value ? RoundToInt32(*value) : std::nullopt;
    if (!number || *number < 0 || *number > kLargestSpokenNumber) {
        messages_.Show(kInvalidEntry, MessageBox::Icon::kNone);
        return;
    }
    speaker_.SpeakNumber(*number);
}

}  // namespace talmo
