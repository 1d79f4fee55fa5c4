// SPDX-License-Identifier: MIT
#include "help/sound_links.h"

#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

#include <string>
#include <utility>

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

// The link of an example of daily life, from its data- attributes; none for
// a kind, style or attribute the help does not know, so a typo stays plain.
QString LifeLink(const QString& attributes, const QString& value) {
    static const QRegularExpression kAttribute(QStringLiteral(R"re(data-([a-z]+)="([^"]*)")re"));
    std::map<QString, QString> data{{"style", QString::fromUtf8(StyleName(SpeechStyle::kClear))}};
    for (auto it = kAttribute.globalMatch(attributes); it.hasNext();) {
        const auto attribute = it.next();
        if (!QStringList{"kind", "way", "style"}.contains(attribute.captured(1))) {
            return {};
        }
        data[attribute.captured(1)] = attribute.captured(2);
    }
    if (!data.contains("kind") || value.isEmpty() || !ParseLifeKind(data["kind"].toStdString()) ||
        !ParseStyle(data["style"].toStdString())) {
        return {};
    }
    QUrl link;
    link.setScheme(kLifeScheme);
    link.setPath(data["kind"] + "/" + data["style"] + "/" + value);
    if (data.contains("way")) {
        link.setFragment(data["way"]);
    }
    return link.toString(QUrl::FullyEncoded);
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
        QStringLiteral(R"re(<(span|td) class="(sv|exd|ex|life)"((?: data-[a-z]+="[^"]*")*)>)re"
                       R"re(((?:(?!<span|</span>|</td>).)*?)</\1>)re"),
        QRegularExpression::DotMatchesEverythingOption);
    QString out;
    qsizetype from = 0;
    for (auto it = kMarked.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        const QString inner = match.captured(4);
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
        } else if (match.captured(2) == "life") {
            href = LifeLink(match.captured(3), text);
            counts.sayings += href.isEmpty() ? 0 : 1;
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
        out += html.mid(from, match.capturedStart(4) - from);
        out += "<a class=\"hear\" href=\"" + href + "\" title=\"Hear it\">" + inner + "</a>";
        from = match.capturedEnd(4);
    }
    out += html.mid(from);
    if (counts.words + counts.numbers + counts.sayings > 0) {
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

std::optional<LinkedSaying> SayingOfLink(const QUrl& link) {
    const QStringList parts = link.path(QUrl::FullyDecoded).split('/');
    if (link.scheme() != kLifeScheme || parts.size() != 3) {
        return std::nullopt;
    }
    const auto kind = ParseLifeKind(parts[0].toStdString());
    const auto style = ParseStyle(parts[1].toStdString());
    const auto value = kind ? ReadLifeValue(*kind, parts[2].toStdString()) : std::nullopt;
    if (!style || !value) {
        return std::nullopt;
    }
    const std::string way = link.fragment(QUrl::FullyDecoded).toStdString();
    if (auto saying = LifeSayingOfWay(*kind, *value, *style, way)) {
        return LinkedSaying{std::move(*saying), *style};
    }
    return std::nullopt;
}

}  // namespace talmo
