// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <map>

#include "speech/clip_ref.h"

namespace talmo {

class ClipStore;

// The link schemes of the help's sounds, read back by the window that shows
// them: a clip ("NUMBERS/N14"), a number, a number in the everyday style.
inline const QString kClipScheme = QStringLiteral("talmo-clip");
inline const QString kNumberScheme = QStringLiteral("talmo-number");
inline const QString kEverydayScheme = QStringLiteral("talmo-everyday");

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

}  // namespace talmo
