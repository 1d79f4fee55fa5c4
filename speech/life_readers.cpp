// SPDX-License-Identifier: MIT
#include "speech/life_readers.h"

#include <algorithm>
#include <iterator>
#include <span>
#include <utility>

#include "speech/number_speaker.h"

namespace talmo {
namespace {

// ---------------------------------------------------------------------------
// Reading what was typed

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A number written in `min` to `max` decimal digits and nothing else.
std::optional<int> Digits(std::string_view text, std::size_t min, std::size_t max) {
    if (text.size() < min || text.size() > max ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string TwoDigits(int n) {
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

struct Time {
    int hour = 0;
    int minute = 0;
};

// "15:25", "15.25", "9:05"; with `bare_hour`, a whole hour as just "15" too.
std::optional<Time> ParseTime(std::string_view text, bool bare_hour) {
    text = Trimmed(text);
    const auto mark = text.find_first_of(":.");
    std::optional<int> hour = Digits(text.substr(0, mark), 1, 2);
    std::optional<int> minute = 0;
    if (mark != std::string_view::npos) {
        minute = Digits(text.substr(mark + 1), 2, 2);
    } else if (!bare_hour) {
        return std::nullopt;
    }
    if (!hour || !minute || *hour > 23 || *minute > 59) {
        return std::nullopt;
    }
    return Time{*hour, *minute};
}

struct Price {
    int kronor = 0;
    int ore = 0;
};

// The kronor of a price, digits with a space allowed between groups of
// three (1 299), as price tags write them.
std::optional<int> Kronor(std::string_view text) {
    std::string digits;
    for (std::size_t group = text.size(); group != std::string_view::npos;) {
        const std::size_t space = text.rfind(' ', group == text.size() ? group : group - 1);
        const std::size_t begin = space == std::string_view::npos ? 0 : space + 1;
        if (space != std::string_view::npos && group - begin != 3) {
            return std::nullopt;
        }
        digits.insert(0, text.substr(begin, group - begin));
        group = space;
    }
    return Digits(digits, 1, 5);
}

// "49,90", "49.90", "49:90", "49:-", "49,-", "49", "1 299", each with "kr"
// after or not. A price of nothing is no price.
std::optional<Price> ParsePrice(std::string_view text) {
    text = Trimmed(text);
    if (text.size() >= 2 && (text.ends_with("kr") || text.ends_with("Kr") || text.ends_with("KR") ||
                             text.ends_with("kR"))) {
        text = Trimmed(text.substr(0, text.size() - 2));
    }
    if (text.ends_with(":-") || text.ends_with(",-")) {
        text = Trimmed(text.substr(0, text.size() - 2));
    }
    const auto mark = text.find_first_of(",.:");
    const std::optional<int> kronor = Kronor(text.substr(0, mark));
    const std::optional<int> ore =
        mark == std::string_view::npos ? 0 : Digits(text.substr(mark + 1), 2, 2);
    if (!kronor || !ore || *kronor + *ore == 0) {
        return std::nullopt;
    }
    return Price{*kronor, *ore};
}

// Ten digits beginning with 0, grouped by spaces and hyphens in any way.
std::optional<std::string> ParsePhone(std::string_view text) {
    std::string digits;
    for (const char c : Trimmed(text)) {
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (c != ' ' && c != '-') {
            return std::nullopt;
        }
    }
    if (digits.size() != 10 || digits[0] != '0') {
        return std::nullopt;
    }
    return digits;
}

std::optional<int> ParseYear(std::string_view text) {
    const std::optional<int> year = Digits(Trimmed(text), 1, 4);
    if (!year || *year < 1000 || *year > 2099) {
        return std::nullopt;
    }
    return year;
}

// ---------------------------------------------------------------------------
// Saying it

// A saying put together word by word in one style. In the everyday style a
// number keeps the forms the number speaker gives it, but only the last clip
// of each group is said as the last; the readers' own words are inner.
class Sayer {
  public:
    explicit Sayer(SpeechStyle style) : style_(style) {}

    SpeechStyle Style() const { return style_; }

    // A number's clips, written as one word.
    Sayer& Number(int n, Join join = Join::kSpace) {
        if (style_ == SpeechStyle::kClear) {
            for (const ClipRef& clip : NumberClips(n)) {
                Add(clip, ClipForm::kClear, join);
                join = Join::kWord;
            }
            return *this;
        }
        for (const EverydayClip& c : EverydayClips(n)) {
            Add(c.clip, c.form == ClipForm::kLast ? ClipForm::kInner : c.form, join);
            join = Join::kWord;
        }
        return *this;
    }

    // Each digit a word of its own.
    Sayer& DigitByDigit(std::string_view digits, Join join = Join::kSpace) {
        for (const char d : digits) {
            Number(d - '0', join);
            join = Join::kSpace;
        }
        return *this;
    }

    // A clip of a word of its own, or of one inside a word.
    Sayer& Clip(ClipRef clip, Join join = Join::kSpace) {
        Add(std::move(clip), ClipForm::kInner, join);
        return *this;
    }

    // One of the readers' own words, by its clip's name.
    Sayer& Word(std::string_view name) {
        return Clip(ClipRef{std::string(kLifeCategory), std::string(name)});
    }

    // Krona is of the common gender: one is en, in en och femtio too.
    Sayer& Kronor(int kronor) { return kronor == 1 ? Word("EN") : Number(kronor); }

    Saying Done(std::string_view way) {
        for (std::size_t i = 0; i < clips_.size(); ++i) {
            if (style_ == SpeechStyle::kClear) {
                clips_[i].form = ClipForm::kClear;
            } else if (i + 1 == clips_.size() || clips_[i + 1].join == Join::kPause) {
                clips_[i].form = ClipForm::kLast;
            }
        }
        return Saying{way, std::move(clips_)};
    }

  private:
    void Add(ClipRef clip, ClipForm form, Join join) {
        clips_.push_back({std::move(clip), form, join});
    }

    SpeechStyle style_;
    std::vector<SaidClip> clips_;
};

// How a 12-hour way says the minutes of a span of the hour: so many minutes
// (base + sign * minute; none when that is 0) över or i the hour, or the
// half hour, before it; the hour this one or the next.
struct MinuteRule {
    int first;
    int last;
    int base;
    int sign;
    std::string_view relation;  // the word after the minutes
    bool half;
    bool next_hour;
};

constexpr MinuteRule kTwelveHour[] = {
    {0, 0, 0, 0, "", false, false},        // klockan tre
    {1, 20, 0, 1, "OVER", false, false},   // fem över tre, kvart över tre
    {21, 29, 30, -1, "I", true, true},     // fem i halv fyra
    {30, 30, 0, 0, "", true, true},        // halv fyra
    {31, 39, -30, 1, "OVER", true, true},  // fem över halv fyra
    {40, 59, 60, -1, "I", false, true},    // tjugo i fyra, kvart i fyra
};

// Twenty past and twenty to, also said from the half hour.
constexpr MinuteRule kFromTheHalf[] = {
    {20, 20, 30, -1, "I", true, true},     // tio i halv fyra
    {40, 40, -30, 1, "OVER", true, true},  // tio över halv fyra
};

struct TimeWay {
    std::string_view name;
    std::span<const MinuteRule> rules;
};

constexpr TimeWay kTwelveHourWays[] = {{"12-hour", kTwelveHour}, {"from the half", kFromTheHalf}};
constexpr std::string_view kTwentyFourHour = "24-hour";

void SayMinuteRule(Sayer& say, const MinuteRule& rule, Time time) {
    const int minutes = rule.base + rule.sign * time.minute;
    if (minutes == 15) {
        say.Word("KVART");
    } else if (minutes == 1) {
        say.Word("EN");
    } else if (minutes > 0) {
        say.Number(minutes);
    } else if (!rule.half) {
        say.Word("KLOCKAN");
    }
    if (minutes > 0) {
        say.Word(rule.relation);
    }
    if (rule.half) {
        say.Word("HALV");
    }
    const int hour = (time.hour + (rule.next_hour ? 1 : 0)) % 12;
    say.Number(hour == 0 ? 12 : hour);
}

std::vector<Saying> TimeSayings(Time time, SpeechStyle style) {
    std::vector<Saying> sayings;
    for (const TimeWay& way : kTwelveHourWays) {
        for (const MinuteRule& rule : way.rules) {
            if (time.minute >= rule.first && time.minute <= rule.last) {
                Sayer say(style);
                SayMinuteRule(say, rule, time);
                sayings.push_back(say.Done(way.name));
            }
        }
    }
    Sayer say(style);
    if (time.minute == 0) {
        say.Word("KLOCKAN").Number(time.hour);
    } else if (time.minute < 10) {
        say.Number(time.hour).Number(0).Number(time.minute);
    } else {
        say.Number(time.hour).Number(time.minute);
    }
    sayings.push_back(say.Done(kTwentyFourHour));
    return sayings;
}

// "en krona", "fyrtionio kronor".
void SayKronor(Sayer& say, int kronor) {
    say.Kronor(kronor).Word(kronor == 1 ? "KRONA" : "KRONOR");
}

struct PriceWay {
    std::string_view name;
    bool (*fits)(Price, SpeechStyle);
    void (*say)(Sayer&, Price);
};

constexpr PriceWay kPriceWays[] = {
    {"short", [](Price p, SpeechStyle) { return p.kronor >= 1 && p.ore >= 10; },
     [](Sayer& say, Price p) {
         say.Kronor(p.kronor);
         if (say.Style() == SpeechStyle::kClear) {
             say.Word("OCH");
         }
         say.Number(p.ore);
     }},
    {"kronor and öre", [](Price p, SpeechStyle) { return p.ore >= 1; },
     [](Sayer& say, Price p) {
         if (p.kronor > 0) {
             SayKronor(say, p.kronor);
             say.Word("OCH");
         }
         say.Number(p.ore).Word("ORE");
     }},
    {"kronor", [](Price p, SpeechStyle) { return p.ore == 0; },
     [](Sayer& say, Price p) { SayKronor(say, p.kronor); }},
    // Slang for a whole sum, never for one krona or none.
    {"spänn",
     [](Price p, SpeechStyle style) {
         return p.ore == 0 && p.kronor >= 2 && style == SpeechStyle::kEveryday;
     },
     [](Sayer& say, Price p) { say.Number(p.kronor).Word("SPANN"); }},
};

std::vector<Saying> PriceSayings(Price price, SpeechStyle style) {
    std::vector<Saying> sayings;
    for (const PriceWay& way : kPriceWays) {
        if (way.fits(price, style)) {
            Sayer say(style);
            way.say(say, price);
            sayings.push_back(say.Done(way.name));
        }
    }
    return sayings;
}

// "noll sju noll, ett två tre, fyrtiofem, sextiosju": the pairs as numbers,
// one beginning with 0 digit by digit.
std::vector<Saying> PhoneSayings(std::string_view digits, SpeechStyle style) {
    Sayer say(style);
    say.DigitByDigit(digits.substr(0, 3)).DigitByDigit(digits.substr(3, 3), Join::kPause);
    for (std::size_t at = 6; at < 10; at += 2) {
        const std::string_view pair = digits.substr(at, 2);
        if (pair[0] == '0') {
            say.DigitByDigit(pair, Join::kPause);
        } else {
            say.Number(*Digits(pair, 2, 2), Join::kPause);
        }
    }
    return {say.Done("groups")};
}

const ClipRef kHundred{"NUMBERS", "N100"};

enum class YearForm {
    kHundreds,  // nittonhundraåttiofyra, tjugohundratjugotre
    kTwenty,    // tjugo tjugotre, tjugo noll fem
    kThousand,  // tvåtusentjugotre
};

struct YearWay {
    std::string_view name;
    int first;
    int last;
    YearForm form;
};

// In the order a year is best said: tvåtusen first in the noughties, the
// language authority's tjugohundra first after them.
constexpr YearWay kYearWays[] = {
    {"nittonhundra", 1000, 1999, YearForm::kHundreds},
    {"tvåtusen", 2000, 2009, YearForm::kThousand},
    {"tjugohundra", 2001, 2099, YearForm::kHundreds},
    {"tjugo", 2001, 2099, YearForm::kTwenty},
    {"tvåtusen", 2010, 2099, YearForm::kThousand},
};

std::vector<Saying> YearSayings(int year, SpeechStyle style) {
    std::vector<Saying> sayings;
    const int rest = year % 100;
    for (const YearWay& way : kYearWays) {
        if (year < way.first || year > way.last) {
            continue;
        }
        Sayer say(style);
        switch (way.form) {
            case YearForm::kHundreds:
                say.Number(year / 100).Clip(kHundred, Join::kWord);
                if (rest > 0) {
                    say.Number(rest, Join::kWord);
                }
                break;
            case YearForm::kTwenty:
                say.Number(20);
                if (rest < 10) {
                    say.Number(0);
                }
                say.Number(rest);
                break;
            case YearForm::kThousand:
                say.Number(year);
                break;
        }
        sayings.push_back(say.Done(way.name));
    }
    return sayings;
}

// What a kind's values are, for the line that rejects one.
constexpr std::string_view kKindValues[] = {
    "a clock time from 00:00 to 23:59",
    "a price in kronor and öre (49,90)",
    "a mobile phone number of 10 digits beginning with 0",
    "a year from 1000 to 2099",
};
static_assert(std::size(kKindValues) == kLifeKinds.size());

// The readers' words, for a store without their recordings yet, so that a
// saying is never written with a word missing.
constexpr std::pair<std::string_view, std::string_view> kLifeWords[] = {
    {"KLOCKAN", "klockan"}, {"HALV", "halv"},   {"KVART", "kvart"},
    {"OVER", "över"},       {"I", "i"},         {"OCH", "och"},
    {"EN", "en"},           {"KRONA", "krona"}, {"KRONOR", "kronor"},
    {"ORE", "öre"},         {"SPANN", "spänn"},
};

}  // namespace

std::string_view LifeKindName(LifeKind kind) {
    return kLifeKinds[static_cast<std::size_t>(kind)].name;
}

std::optional<LifeKind> ParseLifeKind(std::string_view name) {
    for (const LifeKindInfo& info : kLifeKinds) {
        if (info.name == name) {
            return info.kind;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ReadLifeValue(LifeKind kind, std::string_view text) {
    switch (kind) {
        case LifeKind::kTime:
            // A bare hour is its whole hour: "3" is klockan tre.
            if (const auto time = ParseTime(text, true)) {
                return TwoDigits(time->hour) + ":" + TwoDigits(time->minute);
            }
            break;
        case LifeKind::kPrice:
            if (const auto price = ParsePrice(text)) {
                return std::to_string(price->kronor) + "," + TwoDigits(price->ore);
            }
            break;
        case LifeKind::kPhone:
            if (const auto d = ParsePhone(text)) {
                return d->substr(0, 3) + "-" + d->substr(3, 3) + " " + d->substr(6, 2) + " " +
                       d->substr(8, 2);
            }
            break;
        case LifeKind::kYear:
            if (const auto year = ParseYear(text)) {
                return std::to_string(*year);
            }
            break;
    }
    return std::nullopt;
}

std::string BadLifeValue(LifeKind kind, std::string_view text) {
    return "not " + std::string(kKindValues[static_cast<std::size_t>(kind)]) + ": " +
           std::string(text);
}

namespace {

std::vector<Saying> AllSayings(LifeKind kind, std::string_view value, SpeechStyle style) {
    switch (kind) {
        case LifeKind::kTime:
            if (const auto time = ParseTime(value, false)) {
                return TimeSayings(*time, style);
            }
            break;
        case LifeKind::kPrice:
            if (const auto price = ParsePrice(value)) {
                return PriceSayings(*price, style);
            }
            break;
        case LifeKind::kPhone:
            if (const auto digits = ParsePhone(value)) {
                return PhoneSayings(*digits, style);
            }
            break;
        case LifeKind::kYear:
            if (const auto year = ParseYear(value)) {
                return YearSayings(*year, style);
            }
            break;
    }
    return {};
}

}  // namespace

std::vector<Saying> LifeSayings(LifeKind kind, std::string_view value, SpeechStyle style) {
    // A way that sounds as one before it is no way of its own: klockan tre
    // is 03:00 on either clock, and a learner cannot hear which was meant.
    std::vector<Saying> sayings;
    for (Saying& saying : AllSayings(kind, value, style)) {
        if (std::ranges::none_of(sayings,
                                 [&](const Saying& s) { return s.clips == saying.clips; })) {
            sayings.push_back(std::move(saying));
        }
    }
    return sayings;
}

std::optional<Saying> LifeSayingOfWay(LifeKind kind, std::string_view value, SpeechStyle style,
                                      std::string_view way) {
    std::vector<Saying> sayings = LifeSayings(kind, value, style);
    for (Saying& saying : sayings) {
        if (way.empty() || saying.way == way) {
            return std::move(saying);
        }
    }
    return std::nullopt;
}

bool LifeAnswerMatches(LifeKind kind, std::string_view value, std::string_view way,
                       std::string_view typed) {
    if (kind != LifeKind::kTime) {
        const auto wanted = ReadLifeValue(kind, value);
        return wanted && ReadLifeValue(kind, typed) == wanted;
    }
    const auto wanted = ParseTime(value, false);
    const auto answer = ParseTime(typed, wanted && wanted->minute == 0);
    if (!wanted || !answer || answer->minute != wanted->minute) {
        return false;
    }
    // Said in twelve hours, halv fyra is 03:30 as much as 15:30.
    bool twelve = false;
    for (const TimeWay& twelve_hour : kTwelveHourWays) {
        twelve = twelve || way == twelve_hour.name;
    }
    return answer->hour == wanted->hour || (twelve && answer->hour % 12 == wanted->hour % 12);
}

std::string SayingWords(const ClipStore& store, const Saying& saying) {
    std::string words;
    for (std::size_t i = 0; i < saying.clips.size(); ++i) {
        const SaidClip& c = saying.clips[i];
        if (i > 0 && c.join != Join::kWord) {
            words += c.join == Join::kPause ? ", " : " ";
        }
        std::string word = ClipWord(store, c.clip);
        if (word.empty() && c.clip.Category == kLifeCategory) {
            for (const auto& [clip, text] : kLifeWords) {
                if (clip == c.clip.Index) {
                    word = text;
                }
            }
        }
        words += word;
    }
    SpellAsOneWord(words);
    return words;
}

std::string SayingClipNames(const Saying& saying) {
    std::string names;
    for (std::size_t i = 0; i < saying.clips.size(); ++i) {
        const SaidClip& c = saying.clips[i];
        if (i > 0) {
            names += c.join == Join::kPause ? " | " : ", ";
        }
        names += c.clip.Index;
        if (c.form != ClipForm::kClear) {
            names += "/" + std::string(FormName(c.form));
        }
    }
    return names;
}

std::vector<ClipBytes> SayingRecordings(const ClipStore& store, const Saying& saying) {
    std::vector<ClipBytes> recordings;
    for (const SaidClip& c : saying.clips) {
        recordings.push_back(store.LoadClip(c.clip, c.form));
        if (recordings.back().empty() && c.form != ClipForm::kClear) {
            Saying clear = saying;
            for (SaidClip& each : clear.clips) {
                each.form = ClipForm::kClear;
            }
            return SayingRecordings(store, clear);
        }
    }
    return recordings;
}

}  // namespace talmo
