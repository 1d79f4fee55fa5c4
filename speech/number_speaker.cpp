// SPDX-License-Identifier: MIT
#include "speech/number_speaker.h"

#include <cctype>

#include "speech/clip_lookup.h"
#include "speech/wave_image.h"

namespace talmo {
namespace {

const ClipRef kHundred{"NUMBERS", "N100"};
const ClipRef kThousand{"NUMBERS", "N1000"};

void AddSmall(std::vector<ClipRef>& clips, int x) {
    if (auto clip = SmallNumberClip(x)) {
        clips.push_back(std::move(*clip));
    }
}

// A group of two digits (0 to 99). Below the threshold a single word covers
// it; from the threshold on it is the tens word followed by the unit. The
// threshold is 30 except for the last two digits of a number of a thousand or
// more, where 21 is said as "tjugo" + "ett" rather than "tjugoett".
void AddGroup(std::vector<ClipRef>& clips, int x, int threshold) {
    if (x == 0) {
        return;
    }
    if (x < threshold) {
        AddSmall(clips, x);
        return;
    }
    if (auto tens = TensClip(10 * (x / 10))) {
        clips.push_back(std::move(*tens));
    }
    if (const int unit = x % 10; unit > 0) {
        AddSmall(clips, unit);
    }
}

}  // namespace

std::vector<ClipRef> NumberClips(int n) {
    std::vector<ClipRef> clips;
    if (n < 0 || n > kLargestSpokenNumber) {
        return clips;
    }
    if (n < 30) {
        AddSmall(clips, n);  // the only place "noll" is ever said
    } else if (n <= 99) {
        AddGroup(clips, n, 30);
    } else if (n <= 999) {
        AddSmall(clips, n / 100);  // the digit is always said: "ett hundra"
        clips.push_back(kHundred);
        AddGroup(clips, n % 100, 30);
    } else {
        AddGroup(clips, n / 1000, 30);
        clips.push_back(kThousand);
        const int rest = n % 1000;
        if (rest == 0) {
            return clips;
        }
        if (const int hundreds = rest / 100; hundreds > 0) {
            AddSmall(clips, hundreds);
            clips.push_back(kHundred);
        }
        AddGroup(clips, rest % 100, 20);
    }
    return clips;
}

std::vector<EverydayClip> EverydayClips(int n) {
    std::vector<ClipRef> clips = NumberClips(n);
    if ((n >= 100 && n <= 199) || (n >= 1000 && n <= 1999)) {
        clips.erase(clips.begin());  // hundra, tusen: the ett is not said
    }
    std::vector<EverydayClip> spoken;
    for (std::size_t i = 0; i < clips.size(); ++i) {
        ClipForm form = i + 1 == clips.size() ? ClipForm::kLast : ClipForm::kInner;
        if (form == ClipForm::kInner && clips[i] == kThousand && n % 1000 >= 100) {
            form = ClipForm::kPhraseEnd;
        } else if (form == ClipForm::kInner && clips[i + 1] == kThousand &&
                   (clips[i].Index == "1ETT" || clips[i].Index == "N21")) {
            form = ClipForm::kClosed;
        }
        spoken.push_back({clips[i], form});
    }
    return spoken;
}

std::vector<SpokenClip> NumberRecordings(const ClipStore& store, int n, SpeechStyle style) {
    std::vector<SpokenClip> spoken;
    if (style == SpeechStyle::kEveryday) {
        for (const EverydayClip& c : EverydayClips(n)) {
            const ClipBytes bytes = store.LoadClip(c.clip, c.form);
            if (bytes.empty()) {
                return NumberRecordings(store, n, SpeechStyle::kClear);
            }
            spoken.push_back({c.clip, bytes});
        }
        return spoken;
    }
    for (const ClipRef& clip : NumberClips(n)) {
        spoken.push_back({clip, store.LoadClip(clip)});
    }
    return spoken;
}

std::string ClipNames(const std::vector<ClipRef>& clips) {
    std::string names;
    for (const ClipRef& clip : clips) {
        if (!names.empty()) {
            names += ", ";
        }
        names += clip.Index;
    }
    return names;
}

std::string RecordingNames(int n, SpeechStyle style) {
    if (style == SpeechStyle::kClear) {
        return ClipNames(NumberClips(n));
    }
    std::string names;
    for (const EverydayClip& c : EverydayClips(n)) {
        names += (names.empty() ? "" : ", ") + c.clip.Index + "/" + std::string(FormName(c.form));
    }
    return names;
}

std::string_view FormName(ClipForm form) {
    static constexpr std::string_view kFormNames[kClipForms] = {"clear", "inner", "last",
                                                                "phrase-end", "closed"};
    return kFormNames[static_cast<int>(form)];
}

std::string ClipWord(const ClipStore& store, const ClipRef& clip) {
    const auto info = ReadInfoTexts(store.LoadClip(clip));
    const auto name = info.find("INAM");
    if (name == info.end()) {
        return {};
    }
    std::string word = name->second;
    for (char& c : word) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return word;
}

void SpellAsOneWord(std::string& words) {
    for (std::size_t at = 0; (at = words.find("ttt", at)) != std::string::npos;) {
        words.erase(at, 1);
    }
}

std::string NumberWords(const ClipStore& store, int n) {
    std::string words;
    for (const ClipRef& clip : NumberClips(n)) {
        words += ClipWord(store, clip);
    }
    SpellAsOneWord(words);
    return words;
}

}  // namespace talmo
