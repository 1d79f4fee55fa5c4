// SPDX-License-Identifier: MIT
#include "help/sound_links.h"

#include <QRegularExpression>
#include <QTextDocument>

#include "speech/clip_store.h"
#include "speech/wave_image.h"

namespace talmo {
namespace {

// An element's text as shown: tags dropped, entities read, blanks folded.
QString ShownText(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText().simplified();
}

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

}  // namespace talmo
