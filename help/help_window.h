// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "help/help_file.h"
#include "help/help_requester.h"
#include "speech/clip_ref.h"
#include "speech/clip_store.h"
#include "speech/speaker.h"

class QTextBrowser;
class QToolButton;
class QUrl;

namespace talmo {

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
