// SPDX-License-Identifier: MIT
#include "forms/verdict_line.h"

#include <QAccessible>
#include <QLabel>

namespace talmo::forms {

void ShowVerdict(QLabel* line, const std::string& text, Verdict verdict, QWidget* focus) {
    // The program's green and red, darker on a light ground so that they read.
    const bool dark = line->palette().color(QPalette::Window).lightness() < 128;
    const QColor right = dark ? QColor(0, 255, 0) : QColor(0, 128, 0);
    const QColor wrong = dark ? QColor(255, 96, 96) : QColor(204, 0, 0);
    const char* mark = verdict == Verdict::kRight   ? "\u2714 "
                       : verdict == Verdict::kWrong ? "\u2718 "
                                                    : "";
    // An empty palette resolves nothing: the line takes its window's again.
    QPalette palette;
    if (verdict == Verdict::kRight || verdict == Verdict::kWrong) {
        palette.setColor(QPalette::WindowText, verdict == Verdict::kRight ? right : wrong);
    }
    line->setPalette(palette);
    const QString shown = text.empty() ? QString() : mark + QString::fromStdString(text);
    line->setText(shown);
    if (focus != nullptr) {
        focus->setAccessibleDescription(shown);
    }
    if (!text.empty()) {
        QAccessibleEvent alert(line, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

}  // namespace talmo::forms
