// SPDX-License-Identifier: MIT
#include "help_window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#ifndef TALMO_DATA_DIR
#define TALMO_DATA_DIR "/usr/local/share/talmo"
#endif

namespace talmo {
namespace {

const QString kEndOfTopics = QStringLiteral("<!-- end of topics -->");

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

}  // namespace

std::optional<HelpFile> HelpFile::Parse(const QString& path, const QString& text) {
    static const QRegularExpression kMarker(QStringLiteral(R"(<!-- topic (\d+): (.*?) -->)"));
    auto match = kMarker.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    HelpFile file;
    file.path_ = path;
    // Everything before the first topic: the document's head and styles.
    const QString head = text.left(match.capturedStart());
    while (match.hasMatch()) {
        const auto next = kMarker.match(text, match.capturedEnd());
        qsizetype end = next.hasMatch() ? next.capturedStart() : text.indexOf(kEndOfTopics);
        if (end < 0) {
            end = text.size();
        }
        const QString body = text.mid(match.capturedEnd(), end - match.capturedEnd());
        file.topics_[match.captured(1).toInt()] = {match.captured(2),
                                                   head + body + "</body></html>"};
        match = next;
    }
    return file;
}

std::optional<HelpFile> HelpFile::Find(const QString& requested, const QStringList& folders,
                                       QString* looked_for) {
    const QString wanted = QFileInfo(requested).completeBaseName() + ".html";
    if (looked_for != nullptr) {
        *looked_for = wanted;
    }
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::Files)) {
            if (name.compare(wanted, Qt::CaseInsensitive) != 0) {
                continue;
            }
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly)) {
                return Parse(file.fileName(), QString::fromUtf8(file.readAll()));
            }
        }
    }
    return std::nullopt;
}

const HelpFile::Topic* HelpFile::Lookup(int context) const {
    const auto it = topics_.find(context);
    return it == topics_.end() ? nullptr : &it->second;
}

std::vector<int> HelpFile::Contexts() const {
    std::vector<int> contexts;
    for (const auto& [context, topic] : topics_) {
        contexts.push_back(context);
    }
    return contexts;
}

QStringList HelpFolders() {
    const QString here = QCoreApplication::applicationDirPath();
    return {here, QDir(here).filePath("../share/talmo"), QStringLiteral(TALMO_DATA_DIR)};
}

HelpWindow::HelpWindow(QStringList folders)
    : folders_(std::move(folders)),
      browser_(new QTextBrowser(this)),
      back_(new QToolButton(this)),
      forward_(new QToolButton(this)) {
    setObjectName("HelpWindow");
    setWindowTitle(kTitle + " Help");
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
        setWindowTitle(kTitle + " Help");
        return;
    }
    const HelpFile::Topic* topic = file->second.Lookup(context);
    if (topic == nullptr) {
        browser_->setHtml(QString("<h1>Topic not found</h1><p>The help file <b>%1</b> has no "
                                  "topic %2.</p><p>It was read from <b>%3</b>.</p>")
                              .arg(Escaped(requested))
                              .arg(context)
                              .arg(Escaped(file->second.Path())));
        setWindowTitle(kTitle + " Help");
        return;
    }
    browser_->setHtml(topic->html);
    setWindowTitle(kTitle + " Help: " + topic->title);
}

void HelpWindow::OpenLink(const QUrl& url) {
    static const QRegularExpression kTopicLink(QStringLiteral(R"(^topic-(\d+)$)"));
    const auto match = kTopicLink.match(url.fragment());
    if (url.isRelative() && match.hasMatch()) {
        Visit(Current().first, match.captured(1).toInt());
    } else if (url.scheme() == "http" || url.scheme() == "https" || url.scheme() == "mailto") {
        QDesktopServices::openUrl(url);
    }
}

}  // namespace talmo
