// SPDX-License-Identifier: MIT
#include "help/help_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifndef TALMO_DATA_DIR
#define TALMO_DATA_DIR "/usr/local/share/talmo"
#endif

namespace talmo {
namespace {

const QString kEndOfTopics = QStringLiteral("<!-- end of topics -->");

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

QStringList HelpFolders() {
    const QString here = QCoreApplication::applicationDirPath();
    return {here, QDir(here).filePath("../share/talmo"), QStringLiteral(TALMO_DATA_DIR)};
}

}  // namespace talmo
