// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

#include "speech/clip_ref.h"
#include "speech/life_readers.h"
#include "speech/speech_style.h"

class QUrl;

namespace talmo {

class ClipStore;

// The link schemes of the help's sounds, read back by the window that shows
// them: a clip ("NUMBERS/N14"), a number, a number in the everyday style, a
// number of daily life ("time/clear/15:20#from the half": kind, style, value
// and, when not the reader's first, the way).
inline const QString kClipScheme = QStringLiteral("talmo-clip");
inline const QString kNumberScheme = QStringLiteral("talmo-number");
inline const QString kEverydayScheme = QStringLiteral("talmo-everyday");
inline const QString kLifeScheme = QStringLiteral("talmo-life");

// What the sound links of a topic came to.
struct SoundLinks {
    int words = 0;
    int numbers = 0;
    int sayings = 0;
    QStringList plain;  // the words marked Swedish that no clip says exactly
};

// The help's Swedish words (class "sv") whose whole text, tags removed and
// case ignored, is exactly what a clip says become links that play that
// clip; its example numbers (class "ex", digits) become links that speak the
// number; those of class "exd" speak it in the everyday style, whatever the
// learner chose. A clock time, price, phone number or year of class "life"
// becomes a link that says it: data-kind="time" (or price, phone, year) names
// its reader, data-way="from the half" the way if not the reader's first, and
// data-style="everyday" the style if not clear. Everything else stays as it
// is. clips: each clip's text, in lower case, with the clip.
QString LinkSounds(const QString& html, const std::map<QString, ClipRef>& clips,
                   SoundLinks* links = nullptr);

// What a talmo-life link says, and in which style; nothing when its value
// does not read or has no saying that way.
struct LinkedSaying {
    Saying saying;
    SpeechStyle style = SpeechStyle::kClear;
};
std::optional<LinkedSaying> SayingOfLink(const QUrl& link);

// What each clip of the store says, in lower case, with the clip.
std::map<QString, ClipRef> ClipTexts(const ClipStore& store);

}  // namespace talmo
