#pragma once

#include <QApplication>
#include <QString>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "clip_store.h"
#include "main_window.h"
#include "platform.h"
#include "recording_clip_player.h"
#include "shell.h"

namespace talmo::testing {

// Records every clip handed to it by name, and runs a hook as each plays
// (the moment a learner's input during playback would arrive).
class NamingPlayer final : public ClipPlayer {
  public:
    bool PlaySync(ClipBytes image) override {
        for (const ClipEntry& entry : ClipStore::Embedded().Entries()) {
            if (entry.Bytes.data() == image.data()) {
                played.push_back(
                    QString::fromUtf8(entry.Index.data(), qsizetype(entry.Index.size())));
            }
        }
        if (while_playing) {
            while_playing();
        }
        return true;
    }
    QStringList played;
    std::function<void()> while_playing;
};

struct FixedClock final : QuizClock {
    int second = 7;
    int SecondOfMinute() override { return second; }
};

struct FixedRandom final : RandomSource {
    float value = 0.375f;
    float Next() override { return value; }
};

struct RecordedMessages final : MessageBox {
    std::vector<std::pair<std::string, Icon>> shown;
    void Show(const std::string& text, Icon icon) override { shown.emplace_back(text, icon); }
};

struct RecordedHelp final : HelpRequester {
    std::vector<std::pair<QString, int>> requests;
    void ShowHelp(const QString& file, int context) override {
        requests.emplace_back(file, context);
    }
};

struct RecordedEnd final : ProgramEnd {
    int ended = 0;
    void EndProgram() override { ++ended; }
};

// Everything a window needs, faked.
struct FakePlatform {
    NamingPlayer player;
    FixedClock clock;
    FixedRandom random;
    RecordedMessages messages;
    RecordedHelp help;
    RecordedEnd end;
    Platform platform{player, clock, random, messages, help, end, "."};
};

}  // namespace talmo::testing
