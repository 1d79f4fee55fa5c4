// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QString>

#include "app/app_services.h"

class QLabel;

namespace talmo {

// Shows the named picture of the program's resources in a picture box,
// fitted inside it with its proportions kept and drawn for the screen's
// pixel density (from the double-size image where the box needs it). A
// picture that cannot be loaded is a broken program: it is reported in one
// line on standard error and the program ends with status 1.
void ShowPicture(QLabel* box, const QString& name, ProgramEnd& end);

// The program's icon, in every size it is drawn at.
QIcon ProgramIcon();

}  // namespace talmo
