// SPDX-License-Identifier: MIT
#include "app/drills_on_request.h"

#include <QMessageBox>
#include <QPushButton>

#include <string>

namespace talmo {

DrillsOnRequest::~DrillsOnRequest() = default;

void DrillsOnRequest::Open() {
    if (!window_) {
        random_ = std::make_unique<SeededRandom>();
        window_ = std::make_unique<DrillsWindow>(
            platform_.drills_player ? *platform_.drills_player : platform_.player,
            [this](int context) { platform_.help.ShowHelp(kHelpFile, context); }, choices_,
            *random_, history_,
            [this](const std::string& question, const std::string& action) {
                QMessageBox box(QMessageBox::Question, kTitle, QString::fromStdString(question),
                                QMessageBox::NoButton, window_.get());
                QPushButton* yes =
                    box.addButton(QString::fromStdString(action), QMessageBox::AcceptRole);
                box.setDefaultButton(box.addButton(QMessageBox::Cancel));
                box.exec();
                return box.clickedButton() == yes;
            },
            platform_.drills_font);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace talmo
