// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QString>

class QLabel;

namespace talmo {

// Shows the named picture of the program's resources in a picture box,
// fitted inside it with its proportions kept and drawn for the screen's
// pixel density (from the double-size image where the box needs it).
void ShowPicture(QLabel* box, const QString& name);

// The program's icon, in every size it is drawn at.
QIcon ProgramIcon();

}  // namespace talmo
