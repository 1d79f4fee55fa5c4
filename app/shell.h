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

// Ends the whole program at once: no further handler runs, nothing is saved.
class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    virtual void EndProgram() = 0;
};

// The real end: the process stops here, with every window.
class ImmediateEnd final : public ProgramEnd {
  public:
    [[noreturn]] void EndProgram() override;
};

inline const QString kHelpFile = QStringLiteral("CountHelp.hlp");
// The start screen spells it so; file names match regardless of case.
inline const QString kStartScreenHelpFile = QStringLiteral("Counthelp.hlp");
inline const QString kTitle = QStringLiteral("Talmo");

}  // namespace talmo
