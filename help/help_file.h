// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

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

// The folders the help file is looked for in: beside the executable (so a
// build tree works), then the installed data folder.
QStringList HelpFolders();

}  // namespace talmo
