// SPDX-License-Identifier: MIT
#include "app/preferences.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "drills/pair_sets.h"
#include "history/user_files.h"
#include "speech/voice.h"

namespace talmo {
namespace {

constexpr const char* kVoiceKey = "voice";
constexpr const char* kStyleKey = "style";
constexpr const char* kDrillVoiceKey = "drills/voice";
constexpr const char* kDrillStyleKey = "drills/style";
constexpr const char* kDrillPairsKey = "drills/pairs";
constexpr const char* kKeepHistoryKey = "history/keep";

std::string Quoted(const QString& path) {
    return "'" + path.toStdString() + "'";
}

// One line of the file with its end of line, and for a key's line the key
// with its section ("drills/voice") and where its value stands.
struct Line {
    std::string text;
    std::string section = {};  // "" before the first section and in [General], as QSettings has it
    bool header = false;
    std::string key = {};
    std::size_t value = 0;
    std::size_t size = 0;  // without the spaces around it or a `;` comment after it
};
using Lines = std::vector<Line>;

constexpr std::string_view kSpace = " \t\r\n";

std::string_view Trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(kSpace);
    if (begin == std::string_view::npos) {
        return text.substr(0, 0);
    }
    return text.substr(begin, text.find_last_not_of(kSpace) + 1 - begin);
}

// QSettings writes a key outside its section as "drills\voice".
std::string Name(std::string_view text) {
    std::string name(Trimmed(text));
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// The lines of an INI file, or nothing when it is not one: text that is not
// UTF-8, or a line that is neither blank, a comment (`#` or `;`), a
// [section] nor a key=value.
std::optional<Lines> Parse(const QByteArray& bytes) {
    if (!bytes.isValidUtf8() || bytes.contains('\0')) {
        return std::nullopt;
    }
    const std::string text = bytes.toStdString();
    Lines lines;
    std::string section;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t end = std::min(text.find('\n', begin), text.size() - 1) + 1;
        Line line{.text = text.substr(begin, end - begin), .section = section};
        begin = end;
        const std::string_view bare = Trimmed(line.text);
        const std::size_t equals = line.text.find('=');
        if (bare.empty() || bare.front() == '#' || bare.front() == ';') {
            // nothing to read; the line is kept as it is
        } else if (bare.front() == '[' && bare.back() == ']') {
            section = Name(bare.substr(1, bare.size() - 2));
            section = section == "General" ? "" : section;
            line.section = section;
            line.header = true;
        } else if (equals != std::string::npos) {
            const std::string name = Name(std::string_view(line.text).substr(0, equals));
            line.key = section.empty() ? name : section + "/" + name;
            // A `;` outside quotes starts a comment, as QSettings reads it.
            const std::string_view rest = std::string_view(line.text).substr(equals + 1);
            bool quoted = false;
            std::size_t stop = 0;
            for (; stop < rest.size() && (quoted || rest[stop] != ';'); ++stop) {
                quoted = quoted != (rest[stop] == '"');
            }
            const std::string_view value = Trimmed(rest.substr(0, stop));
            line.value = static_cast<std::size_t>(value.data() - line.text.data());
            line.size = value.size();
        } else {
            return std::nullopt;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// Larger than any preferences file: a stray file this size would make
// every start and every change slow.
constexpr qint64 kLargestFile = 1 << 20;

// The file's lines; none when there is no file, nothing when it cannot be
// read, with `why` when there is more to say than that.
std::optional<Lines> ReadFile(const QString& path, std::string& why) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return Lines{};
    }
    if (!info.isFile()) {
        why = " (it is not a file)";  // a FIFO would never end
        return std::nullopt;
    }
    if (info.size() > kLargestFile) {
        why = " (it is over 1 MiB, too large for preferences)";
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return Parse(file.readAll());
}

// The line of a key: the last when it is there twice, as QSettings reads it.
Line* Find(Lines& lines, std::string_view key) {
    const auto line = std::find_if(lines.rbegin(), lines.rend(),
                                   [key](const Line& line) { return line.key == key; });
    return line == lines.rend() ? nullptr : &*line;
}

// A value as QSettings reads the plain strings it writes: quotes taken off,
// and nothing when a comma outside them makes a list.
std::optional<std::string> Word(const Line& line) {
    std::string word;
    bool quoted = false;
    for (const char c : std::string_view(line.text).substr(line.value, line.size)) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            return std::nullopt;
        } else {
            word += c;
        }
    }
    return word;
}

// Sets a key's value in its line, or in a new line under the last key of its
// section, the section added at the end when the file has none.
void Put(Lines& lines, const std::string& key, const std::string& value) {
    if (Line* line = Find(lines, key)) {
        line->text.replace(line->value, line->size, value);
        return;
    }
    const std::size_t slash = key.rfind('/');
    const std::string section = slash == std::string::npos ? "" : key.substr(0, slash);
    std::string text = key.substr(slash + 1) + "=" + value + "\n";
    const auto last = std::find_if(lines.rbegin(), lines.rend(), [&](const Line& line) {
        return line.section == section && (line.header || !line.key.empty());
    });
    auto at = last.base();  // just after it
    if (last == lines.rend()) {
        at = lines.end();
        if (!section.empty() || std::ranges::any_of(lines, &Line::header)) {
            const bool apart = !lines.empty() && !Trimmed(lines.back().text).empty();
            text = (apart ? "\n[" : "[") + (section.empty() ? "General" : section) + "]\n" + text;
        }
    }
    if (at != lines.begin() && !at[-1].text.ends_with('\n')) {
        at[-1].text += '\n';
    }
    lines.insert(at, {.text = text});
}

// Saves a value in the file as it stands now. It takes the file's place
// whole, through a link to it, so a failed write never leaves half a file; a
// new file and its folders are the learner's alone.
bool Save(const QString& path, const std::string& key, const std::string& value) {
    std::string why;
    std::optional<Lines> lines = ReadFile(path, why);
    const std::string file = QFile::encodeName(path).toStdString();
    if (!lines || MakePrivateFolders(std::filesystem::path(file).parent_path())) {
        return false;
    }
    Put(*lines, key, value);
    std::string text;
    for (const Line& line : *lines) {
        text += line.text;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return !WriteFileWhole(file, {bytes, text.size()}, 0600);
}

}  // namespace

QString Preferences::DefaultPath() {
    const auto folder = ConfigFolder();
    return folder ? QFile::decodeName((*folder / "talmo" / "talmo.conf").c_str()) : QString();
}

Preferences::Preferences(std::ostream& err, const QString& path)
    : err_(err), path_(path), voice_(EmbeddedVoices().front().name) {
    if (path.isEmpty()) {
        readable_ = false;
        Tell(std::string(kNoHome) + "; the preferences are the defaults and are not saved");
        return;
    }
    std::string why;
    std::optional<Lines> lines = ReadFile(path, why);
    if (!lines) {
        // A damaged file is left as it is: saving over it would lose what the
        // learner may still want from it.
        readable_ = false;
        Tell("cannot read the preferences in " + Quoted(path) + why + "; using the defaults");
        return;
    }
    const std::string in = " in " + Quoted(path);
    // The text of a setting, or nothing (with a line on err) when it is not
    // a single word.
    const auto read = [&](const char* key) -> std::optional<std::string> {
        const Line* line = Find(*lines, key);
        const std::optional<std::string> word = line ? Word(*line) : std::nullopt;
        if (line && !word) {
            Tell("the preference " + std::string(key) + in +
                 " is not a single word; using the default");
        }
        return word;
    };
    // Says that a setting's value is not one it takes, and what is used instead.
    const auto refuse = [&](const char* key, const std::string& value, const char* what,
                            std::string_view used) {
        Tell("the preference " + std::string(key) + "=" + value + in + " is not " + what +
             "; using " + std::string(used));
    };
    if (const auto voice = read(kVoiceKey)) {
        if (const auto choice = ParseVoiceChoice(*voice)) {
            voice_ = *choice;
        } else {
            refuse(kVoiceKey, *voice, "a voice", voice_);
        }
    }
    if (const auto style = read(kStyleKey)) {
        if (const auto chosen = ParseStyle(*style)) {
            style_ = *chosen;
        } else {
            refuse(kStyleKey, *style, "clear or everyday", StyleName(style_));
        }
    }
    if (const auto voice = read(kDrillVoiceKey)) {
        if (const auto choice = ParseVoiceChoice(*voice)) {
            drills_.voice = *choice;
        } else {
            refuse(kDrillVoiceKey, *voice, "a voice", drills_.voice);
        }
    }
    if (const auto style = read(kDrillStyleKey)) {
        if (const auto chosen = ParseStyleChoice(*style)) {
            drills_.style = *chosen;
        } else {
            refuse(kDrillStyleKey, *style, "clear, everyday or both",
                   StyleChoiceName(drills_.style));
        }
    }
    if (const auto keep = read(kKeepHistoryKey)) {
        if (*keep == "true" || *keep == "false") {
            drills_.keep_history = *keep == "true";
        } else {
            refuse(kKeepHistoryKey, *keep, "true or false", "true");
        }
    }
    if (const auto pairs = read(kDrillPairsKey)) {
        if (FindPairSet(*pairs).key == *pairs) {
            drills_.pair_set = *pairs;
        } else {
            refuse(kDrillPairsKey, *pairs, "a set of pairs", drills_.pair_set);
        }
    }
}

void Preferences::SetVoice(const std::string& voice) {
    if (voice == voice_) {
        return;
    }
    voice_ = voice;
    Write(kVoiceKey, voice);
}

void Preferences::SetStyle(SpeechStyle style) {
    if (style == style_) {
        return;
    }
    style_ = style;
    Write(kStyleKey, std::string(StyleName(style)));
}

void Preferences::SetDrills(const DrillChoices& drills) {
    const DrillChoices was = std::exchange(drills_, drills);
    if (drills.voice != was.voice) {
        Write(kDrillVoiceKey, drills.voice);
    }
    if (drills.style != was.style) {
        Write(kDrillStyleKey, std::string(StyleChoiceName(drills.style)));
    }
    if (drills.pair_set != was.pair_set) {
        Write(kDrillPairsKey, drills.pair_set);
    }
    if (drills.keep_history != was.keep_history) {
        Write(kKeepHistoryKey, drills.keep_history ? "true" : "false");
    }
}

void Preferences::Write(const char* key, const std::string& value) {
    if (path_.isEmpty()) {
        return;  // said once, at the start
    }
    if (!readable_) {
        Tell("the preferences in " + Quoted(path_) +
             " could not be read, so they are not saved over");
        return;
    }
    saved_ = Save(path_, key, value);
    if (!saved_) {
        Tell("cannot save the preferences to " + Quoted(path_));
    }
}

void Preferences::Tell(const std::string& line) {
    err_ << "talmo: " << Printable(line) << "\n";
}

}  // namespace talmo
