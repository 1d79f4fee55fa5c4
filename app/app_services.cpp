// SPDX-License-Identifier: MIT
#include "app/app_services.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace talmo {

void QtMessageBox::Show(const std::string& text, Icon icon) {
    QMessageBox box(icon == Icon::kInformation ? QMessageBox::Information : QMessageBox::NoIcon,
                    kTitle, QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void ImmediateEnd::EndProgram(int status) {
    if (last_) {
        last_();
    }
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace talmo
