// SPDX-License-Identifier: MIT
#include "help/help_window.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "help/sound_links.h"

namespace talmo {
namespace {

const QString kWindowTitle = QStringLiteral("Talmo Help");
const QString kDrillsScheme = QStringLiteral("talmo-drills");

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

}  // namespace

HelpWindow::HelpWindow(QStringList folders)
    : folders_(std::move(folders)),
      browser_(new QTextBrowser(this)),
      back_(new QToolButton(this)),
      forward_(new QToolButton(this)) {
    setObjectName("HelpWindow");
    setWindowTitle(kWindowTitle);
    back_->setObjectName("HelpBack");
    back_->setArrowType(Qt::LeftArrow);
    back_->setToolTip("Back (Alt+Left)");
    back_->setAccessibleName("Back");
    forward_->setObjectName("HelpForward");
    forward_->setArrowType(Qt::RightArrow);
    forward_->setToolTip("Forward (Alt+Right)");
    forward_->setAccessibleName("Forward");
    browser_->setObjectName("HelpText");
    browser_->setOpenLinks(false);
    browser_->setAccessibleName("Help topic");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(560, 520);

    connect(back_, &QToolButton::clicked, this, [this] { Back(); });
    connect(forward_, &QToolButton::clicked, this, [this] { Forward(); });
    connect(new QShortcut(QKeySequence::Back, this), &QShortcut::activated, this,
            [this] { Back(); });
    connect(new QShortcut(QKeySequence::Forward, this), &QShortcut::activated, this,
            [this] { Forward(); });
    connect(browser_, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { OpenLink(url); });
    Display();
}

void HelpWindow::SetSpeaker(Speaker& speaker, const ClipStore& clips) {
    speaker_ = &speaker;
    clip_texts_ = ClipTexts(clips);
    Display();
}

void HelpWindow::ShowHelp(const QString& file, int context) {
    Visit(file, context);
    show();
    raise();
    activateWindow();
}

void HelpWindow::Visit(const QString& file, int context) {
    if (!history_.empty() && history_[position_] == std::pair(file, context)) {
        Display();
        return;
    }
    if (!history_.empty()) {
        history_.resize(position_ + 1);  // a new visit drops what lay ahead
    }
    history_.emplace_back(file, context);
    position_ = history_.size() - 1;
    Display();
}

void HelpWindow::Back() {
    if (position_ > 0) {
        --position_;
        Display();
    }
}

void HelpWindow::Forward() {
    if (position_ + 1 < history_.size()) {
        ++position_;
        Display();
    }
}

std::pair<QString, int> HelpWindow::Current() const {
    return history_.empty() ? std::pair(QString(), 0) : history_[position_];
}

QString HelpWindow::Text() const {
    return browser_->toPlainText();
}

void HelpWindow::Display() {
    back_->setEnabled(position_ > 0);
    forward_->setEnabled(position_ + 1 < history_.size());
    if (history_.empty()) {
        return;
    }
    const auto& [requested, context] = history_[position_];
    const QString key = requested.toLower();
    auto file = files_.find(key);
    QString looked_for;
    if (file == files_.end()) {
        if (auto found = HelpFile::Find(requested, folders_, &looked_for)) {
            file = files_.emplace(key, std::move(*found)).first;
        }
    }
    if (file == files_.end()) {
        browser_->setHtml(
            QString("<h1>Help is not available</h1><p>The help file <b>%1</b> (topic %2) could "
                    "not be found. Talmo looked for <b>%3</b> in these folders:</p><ul><li>%4"
                    "</li></ul><p>Reinstalling Talmo puts the help file back.</p>")
                .arg(Escaped(requested))
                .arg(context)
                .arg(Escaped(looked_for), Escaped(folders_.join("\n")).replace("\n", "</li><li>")));
        setWindowTitle(kWindowTitle);
        return;
    }
    const HelpFile::Topic* topic = file->second.Lookup(context);
    if (topic == nullptr) {
        browser_->setHtml(QString("<h1>Topic not found</h1><p>The help file <b>%1</b> has no "
                                  "topic %2.</p><p>It was read from <b>%3</b>.</p>")
                              .arg(Escaped(requested))
                              .arg(context)
                              .arg(Escaped(file->second.Path())));
        setWindowTitle(kWindowTitle);
        return;
    }
    // Without the program's sound (before the main window exists) the topic
    // shows no sound links.
    browser_->setHtml(speaker_ != nullptr ? LinkSounds(topic->html, clip_texts_) : topic->html);
    setWindowTitle(kWindowTitle + ": " + topic->title);
}

void HelpWindow::OpenLink(const QUrl& url) {
    static const QRegularExpression kTopicLink(QStringLiteral(R"(^topic-(\d+)$)"));
    const auto match = kTopicLink.match(url.fragment());
    if (url.scheme() == kClipScheme || url.scheme() == kNumberScheme ||
        url.scheme() == kEverydayScheme || url.scheme() == kLifeScheme) {
        // Played at once and not a visit: Back and Forward pass them by.
        if (speaker_ == nullptr) {
            return;
        }
        if (url.scheme() == kNumberScheme) {
            speaker_->ReadNumber(url.path().toInt());
        } else if (url.scheme() == kEverydayScheme) {
            speaker_->SpeakNumberIn(url.path().toInt(), SpeechStyle::kEveryday);
        } else if (url.scheme() == kLifeScheme) {
            if (const auto said = SayingOfLink(url)) {
                speaker_->SpeakSaying(said->saying, said->style);
            }
        } else {
            const QStringList parts = url.path().split('/');
            if (parts.size() == 2) {
                speaker_->PlayNumber(parts[1].toStdString(), parts[0].toStdString());
            }
        }
    } else if (url.scheme() == kDrillsScheme) {
        if (open_drills_) {
            open_drills_();
        }
    } else if (url.isRelative() && match.hasMatch()) {
        Visit(Current().first, match.captured(1).toInt());
    } else if (url.scheme() == "http" || url.scheme() == "https" || url.scheme() == "mailto") {
        QDesktopServices::openUrl(url);
    }
}

}  // namespace talmo
