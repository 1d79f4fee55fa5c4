// SPDX-License-Identifier: MIT
#include "help/help_window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "speech/wave_image.h"

#ifndef TALMO_DATA_DIR
#define TALMO_DATA_DIR "/usr/local/share/talmo"
#endif

namespace talmo {
namespace {

const QString kWindowTitle = QStringLiteral("Talmo Help");
const QString kEndOfTopics = QStringLiteral("<!-- end of topics -->");

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// An element's text as shown: tags dropped, entities read, blanks folded.
QString ShownText(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText().simplified();
}

const QString kClipScheme = QStringLiteral("talmo-clip");
const QString kNumberScheme = QStringLiteral("talmo-number");
const QString kEverydayScheme = QStringLiteral("talmo-everyday");
const QString kDrillsScheme = QStringLiteral("talmo-drills");

}  // namespace

std::map<QString, ClipRef> ClipTexts(const ClipStore& store) {
    std::map<QString, ClipRef> texts;
    for (const ClipEntry& entry : store.Entries()) {
        const auto info = ReadInfoTexts(entry.bytes);
        const auto name = info.find("INAM");
        if (name != info.end()) {
            // The first clip of a text speaks for it: the same word either way.
            texts.emplace(QString::fromStdString(name->second).toLower(),
                          ClipRef{std::string(entry.Category), std::string(entry.Index)});
        }
    }
    return texts;
}

QString LinkSounds(const QString& html, const std::map<QString, ClipRef>& clips,
                   SoundLinks* links) {
    SoundLinks counts;
    // An element of its own class, up to its end tag; one with a span inside
    // is left alone, as its end tag could be the inner one's.
    static const QRegularExpression kMarked(
        QStringLiteral(
            R"re(<(span|td) class="(sv|exd|ex)">((?:(?!<span|</span>|</td>).)*?)</\1>)re"),
        QRegularExpression::DotMatchesEverythingOption);
    QString out;
    qsizetype from = 0;
    for (auto it = kMarked.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        const QString inner = match.captured(3);
        const QString text = ShownText(inner);
        QString href;
        if (match.captured(2) == "sv") {
            if (const auto clip = clips.find(text.toLower()); clip != clips.end()) {
                href = kClipScheme + ":" + QString::fromStdString(clip->second.Category) + "/" +
                       QString::fromStdString(clip->second.Index);
                ++counts.words;
            } else {
                counts.plain << text;
            }
        } else {
            QString digits = text;
            digits.remove(QChar(' ')).remove(QChar(0xa0));
            bool whole = false;
            const int number = digits.toInt(&whole);
            if (whole && number >= 0 && number <= 99999 &&
                digits.size() == QString::number(number).size()) {
                href = (match.captured(2) == "exd" ? kEverydayScheme : kNumberScheme) + ":" +
                       QString::number(number);
                ++counts.numbers;
            }
        }
        if (href.isEmpty()) {
            continue;
        }
        out += html.mid(from, match.capturedStart(3) - from);
        out += "<a class=\"hear\" href=\"" + href + "\" title=\"Hear it\">" + inner + "</a>";
        from = match.capturedEnd(3);
    }
    out += html.mid(from);
    if (counts.words + counts.numbers > 0) {
        // Said once, under the topic's heading.
        static const QRegularExpression kHeading(QStringLiteral("</h1>"));
        const auto heading = kHeading.match(out);
        if (heading.hasMatch()) {
            out.insert(heading.capturedEnd(),
                       QStringLiteral("\n<p class=\"hearnote\">Words and numbers in green play "
                                      "their sound: click one, or Tab to it and press Enter.</p>"));
        }
    }
    if (links != nullptr) {
        *links = counts;
    }
    return out;
}

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
        url.scheme() == kEverydayScheme) {
        // Played at once and not a visit: Back and Forward pass them by.
        if (speaker_ == nullptr) {
            return;
        }
        if (url.scheme() == kNumberScheme) {
            speaker_->ReadNumber(url.path().toInt());
        } else if (url.scheme() == kEverydayScheme) {
            speaker_->SpeakNumberIn(url.path().toInt(), SpeechStyle::kEveryday);
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
