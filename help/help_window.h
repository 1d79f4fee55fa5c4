// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "help/help_requester.h"
#include "speech/clip_ref.h"
#include "speech/clip_store.h"
#include "speech/speaker.h"

class QTextBrowser;
class QToolButton;

namespace talmo {

// The help file: one HTML file whose topics, each addressed by a context
// number, start at a line "<!-- topic N: Title -->" and run to the next one.
class HelpFile {
  public:
    struct Topic {
        QString title;
        QString html;  // a page of its own: the file's styles and the topic
    };

    // Reads the file that a request names ("CountHelp.hlp", in any letter
    // case, is CountHelp.html) from the first folder that has it.
    static std::optional<HelpFile> Find(const QString& requested, const QStringList& folders,
                                        QString* looked_for = nullptr);
    static std::optional<HelpFile> Parse(const QString& path, const QString& text);

    const QString& Path() const { return path_; }
    const Topic* Lookup(int context) const;

  private:
    QString path_;
    std::map<int, Topic> topics_;
};

// What the sound links of a topic came to.
struct SoundLinks {
    int words = 0;
    int numbers = 0;
    QStringList plain;  // the words marked Swedish that no clip says exactly
};

// The help's Swedish words (class "sv") whose whole text, tags removed and
// case ignored, is exactly what a clip says become links that play that
// clip; its example numbers (class "ex", digits) become links that speak the
// number; those of class "exd" speak it in the everyday style, whatever the
// learner chose. Everything else stays as it is. clips: each clip's text, in lower
// case, with the clip.
QString LinkSounds(const QString& html, const std::map<QString, ClipRef>& clips,
                   SoundLinks* links = nullptr);

// What each clip of the store says, in lower case, with the clip.
std::map<QString, ClipRef> ClipTexts(const ClipStore& store);

// The folders the help file is looked for in: beside the executable (so a
// build tree works), then the installed data folder.
QStringList HelpFolders();

// The program's own help window: one instance, not modal, showing one topic
// at a time, with Back and Forward through the topics visited and links
// between topics. A request shows and raises it and returns at once.
class HelpWindow final : public QWidget, public HelpRequester {
  public:
    explicit HelpWindow(QStringList folders = HelpFolders());

    void ShowHelp(const QString& file, int context) override;
    // From now on the help's words and example numbers play through speaker.
    void SetSpeaker(Speaker& speaker, const ClipStore& clips);
    // What a link to the Drills window (talmo-drills:) opens.
    void SetDrillsOpener(std::function<void()> open) { open_drills_ = std::move(open); }

    void Back();
    void Forward();
    // The topic on show, as (file, context).
    std::pair<QString, int> Current() const;
    QString Text() const;  // the page on show, as plain text

  private:
    void Visit(const QString& file, int context);
    void Display();
    void OpenLink(const QUrl& url);

    QStringList folders_;
    std::vector<std::pair<QString, int>> history_;
    std::size_t position_ = 0;
    std::map<QString, HelpFile> files_;  // read once, by the name requested
    Speaker* speaker_ = nullptr;
    std::function<void()> open_drills_;
    std::map<QString, ClipRef> clip_texts_;
    QTextBrowser* browser_;
    QToolButton* back_;
    QToolButton* forward_;
};

// The program's help: the window is made at the first request.
class HelpOnRequest final : public HelpRequester {
  public:
    void ShowHelp(const QString& file, int context) override {
        if (!window_) {
            window_ = std::make_unique<HelpWindow>();
            if (speaker_ != nullptr) {
                window_->SetSpeaker(*speaker_, *clips_);
            }
            window_->SetDrillsOpener(open_drills_);
        }
        window_->ShowHelp(file, context);
    }
    // The main window's sound, once there is one.
    void SetSpeaker(Speaker& speaker, const ClipStore& clips) {
        speaker_ = &speaker;
        clips_ = &clips;
        if (window_) {
            window_->SetSpeaker(speaker, clips);
        }
    }

    void SetDrillsOpener(std::function<void()> open) {
        open_drills_ = std::move(open);
        if (window_) {
            window_->SetDrillsOpener(open_drills_);
        }
    }

  private:
    std::unique_ptr<HelpWindow> window_;
    std::function<void()> open_drills_;
    Speaker* speaker_ = nullptr;
    const ClipStore* clips_ = nullptr;
};

}  // namespace talmo
