// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_services.h"
#include "drills/drill_settings.h"
#include "history/learner_history.h"
#include "speech/clip_store.h"
#include "speech/speech_engine.h"
#include "speech/voice.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_keep.h"

namespace talmo::testing {

// Records every clip handed to it by name (unless told not to, for runs
// too long to keep them), and runs a hook as each plays (the moment a
// learner's input during playback would arrive).
class NamingPlayer final : public ClipPlayer {
  public:
    bool PlaySync(ClipBytes image) override {
        ++count;
        for (const VoiceInfo& voice : EmbeddedVoices()) {
            for (const ClipEntry& entry : voice.clips.Entries()) {
                if (keep_names && entry.bytes.data() == image.data()) {
                    played.push_back(
                        QString::fromUtf8(entry.Index.data(), qsizetype(entry.Index.size())));
                    voices += QString::fromUtf8(voice.name.substr(0, 1).data(), 1);
                }
            }
        }
        if (while_playing) {
            while_playing();
        }
        return !silent;
    }
    QStringList played;
    QString voices;  // "m" or "f" for each clip in played
    long count = 0;
    bool keep_names = true;
    std::atomic<bool> silent = false;  // as with no sound server: every clip fails
    std::function<void()> while_playing;
};

struct RecordedHelp final : HelpRequester {
    std::vector<std::pair<QString, int>> requests;
    void ShowHelp(const QString& file, int context) override {
        requests.emplace_back(file, context);
    }
};

struct RecordedEnd final : ProgramEnd {
    int ended = 0;
    int status = -1;  // the last one asked for
    void EndProgram(int s) override {
        ++ended;
        status = s;
    }
};

// The drills' choices, kept in memory.
struct MemoryChoices final : ChoiceStore {
    DrillChoices kept;
    int saved = 0;
    DrillChoices Load() override { return kept; }
    void Save(const DrillChoices& choices) override { kept = choices, ++saved; }
};

// A history in a folder of its own, gone with it.
struct TempHistory {
    QTemporaryDir dir;
    MemoryKeep keep;
    LearnerHistory history{dir.filePath("talmo/history.sqlite3").toStdString(), keep};
    std::vector<std::string> asked;  // the questions put to the learner
    bool yes = true;                 // the answer to each
    Confirm confirm = [this](const std::string& question, const std::string&) {
        asked.push_back(question);
        return yes;
    };
};

// Everything a window needs, faked.
struct FakePlatform {
    NamingPlayer player;
    FixedClock clock;
    ScriptedRandom random;
    RecordedMessages messages;
    RecordedHelp help;
    RecordedEnd end;
    VoicePicker voices = VoicePicker(EmbeddedVoices().front());
    SpeechStyle style = SpeechStyle::kClear;
    Platform platform = PlayingThrough(player);

    // The same services over another player: a real one, say.
    Platform PlayingThrough(ClipPlayer& other) {
        return {.player = other,
                .clock = clock,
                .random = random,
                .messages = messages,
                .help = help,
                .end = end,
                .decimal_separator = "."};
    }

    // The main window's speech, made as the program makes it.
    SpeechEngine Speech() { return {voices, player, style}; }

    // Help as a window asks for it: a topic of the program's help file.
    std::function<void(int)> Help() {
        return [this](int context) { help.ShowHelp(kHelpFile, context); };
    }

    // Both voices, the second speaking whenever `coin` says so.
    void BothVoices(std::function<bool()> coin) {
        voices =
            VoicePicker({&FindVoice("male")->clips, &FindVoice("female")->clips},
                        [coin = std::move(coin)] { return coin() ? 1u : 0u; }, {"male", "female"});
    }
};

// Every window a test made is gone by its end: for a widget test's cleanup().
inline QStringList LeftoverWindows() {
    QStringList left;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowType() == Qt::ToolTip) {
            continue;  // Qt's own, kept for the next tip
        }
        left << QString("%1 (%2)").arg(w->objectName(), w->metaObject()->className());
    }
    return left;
}

}  // namespace talmo::testing
