// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace talmo {

// Asks for a topic of the help file by its context number. The request
// returns at once and changes nothing else in the program.
class HelpRequester {
  public:
    virtual ~HelpRequester() = default;
    virtual void ShowHelp(const QString& file, int context) = 0;
};

inline const QString kHelpFile = QStringLiteral("CountHelp.hlp");
// The start screen spells it so; file names match regardless of case.
inline const QString kStartScreenHelpFile = QStringLiteral("Counthelp.hlp");

}  // namespace talmo
