// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QString>

#include <functional>
#include <optional>
#include <string>

#include "help/help_requester.h"
#include "practice/practice_services.h"
#include "speech/clip_player.h"
#include "speech/clip_store.h"

namespace talmo {

// What the windows need of the platform besides their speaker: the players,
// the practice pages' services, help, and the way the program ends. The
// program provides the real ones and tests provide fakes.

// Ends the whole program at once, with the given exit status: no further
// handler runs, nothing is saved.
class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    virtual void EndProgram(int status) = 0;
};

// The real end: the process stops here, with every window.
class ImmediateEnd final : public ProgramEnd {
  public:
    [[noreturn]] void EndProgram(int status) override;
    // Run first, all the same: the learner's answers still waiting to be
    // written are never dropped for lack of a handler.
    void BeforeEnd(std::function<void()> last) { last_ = std::move(last); }

  private:
    std::function<void()> last_;
};

// The message box of the practice pages: modal to the application, one OK
// button, the program's title.
class QtMessageBox final : public MessageBox {
  public:
    void Show(const std::string& text, Icon icon) override;
};

struct Platform {
    ClipPlayer& player;
    QuizClock& clock;
    RandomSource& random;
    MessageBox& messages;
    HelpRequester& help;
    ProgramEnd& end;
    std::string decimal_separator;
    // Shows the Drills window (F2), when the program has one.
    std::function<void()> open_drills = {};
    // Where the dictation quiz reports its answers, if anywhere.
    AnswerLog* answers = nullptr;
    // The Drills window's own player, if not `player`: it plays on a thread
    // of its own, and a player serves one thread at a time.
    ClipPlayer* drills_player = nullptr;
    // The desktop's font, which the Drills window takes; the windows of the
    // program's pages keep the font they were drawn for.
    std::optional<QFont> drills_font = {};
};

inline const QString kTitle = QStringLiteral("Talmo");

}  // namespace talmo
