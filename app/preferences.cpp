// SPDX-License-Identifier: MIT
#include "app/preferences.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "drills/pair_sets.h"
#include "history/user_files.h"
#include "speech/voice.h"

namespace talmo {
namespace {

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

// The settings, by their places in the table.
enum Setting : std::size_t {
    kVoice,
    kStyle,
    kDrillVoice,
    kDrillStyle,
    kKeepHistory,
    kDrillPairs,
    kSettingCount
};

// Reads a value as its kind, and names it back as the file has it; nothing
// when it is not one of that kind.
using Reader = std::optional<std::string> (*)(std::string_view text);

template <auto parse, auto name>
std::optional<std::string> Through(std::string_view text) {
    const auto value = parse(text);
    return value ? std::optional<std::string>(name(*value)) : std::nullopt;
}

std::optional<std::string> Boolean(std::string_view text) {
    return text == "true" || text == "false" ? std::optional<std::string>(text) : std::nullopt;
}

std::optional<std::string> PairSetKey(std::string_view text) {
    return FindPairSet(text).key == text ? std::optional<std::string>(text) : std::nullopt;
}

// One setting of the file: its key, its text while the file has none, how
// it is read, and what it takes, for the line that refuses anything else.
struct Row {
    Setting setting;
    const char* key;
    std::string fallback;
    Reader read;
    std::string takes;
};

// Every setting, in the order they are read: the one place one is added.
const std::vector<Row>& Rows() {
    static const std::vector<Row> rows{
        {kVoice, "voice", std::string(EmbeddedVoices().front().name), &ParseVoiceChoice, "a voice"},
        {kStyle, "style", std::string(StyleName(SpeechStyle::kClear)),
         &Through<ParseStyle, StyleName>, StyleList()},
        {kDrillVoice, "drills/voice", DrillChoices{}.voice, &ParseVoiceChoice, "a voice"},
        {kDrillStyle, "drills/style", std::string(StyleChoiceName(DrillChoices{}.style)),
         &Through<ParseStyleChoice, StyleChoiceName>,
         StyleList(StyleChoiceName(StyleChoice::kBoth))},
        {kKeepHistory, "history/keep", "true", &Boolean, "true or false"},
        {kDrillPairs, "drills/pairs", DrillChoices{}.pair_set, &PairSetKey, "a set of pairs"},
    };
    return rows;
}

const Row& RowOf(std::size_t setting) {
    return *std::ranges::find(Rows(), setting, &Row::setting);
}

}  // namespace

QString Preferences::DefaultPath() {
    const auto folder = ConfigFolder();
    return folder ? QFile::decodeName((*folder / "talmo" / "talmo.conf").c_str()) : QString();
}

Preferences::Preferences(std::ostream& err, const QString& path)
    : err_(err), path_(path), texts_(kSettingCount) {
    for (const Row& row : Rows()) {
        texts_[row.setting] = row.fallback;
    }
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
    for (const Row& row : Rows()) {
        const Line* line = Find(*lines, row.key);
        if (line == nullptr) {
            continue;
        }
        const std::string head = "the preference " + std::string(row.key);
        const std::optional<std::string> word = Word(*line);
        if (!word) {
            Tell(head + in + " is not a single word; using the default");
        } else if (const std::optional<std::string> text = row.read(*word)) {
            texts_[row.setting] = *text;
        } else {
            Tell(head + "=" + *word + in + " is not " + row.takes + "; using " +
                 texts_[row.setting]);
        }
    }
}

const std::string& Preferences::Voice() const {
    return Text(kVoice);
}

SpeechStyle Preferences::Style() const {
    return *ParseStyle(Text(kStyle));
}

DrillChoices Preferences::Drills() const {
    return {.voice = Text(kDrillVoice),
            .style = *ParseStyleChoice(Text(kDrillStyle)),
            .pair_set = Text(kDrillPairs)};
}

void Preferences::SetDrills(const DrillChoices& drills) {
    Set(kDrillVoice, drills.voice);
    Set(kDrillStyle, std::string(StyleChoiceName(drills.style)));
    Set(kDrillPairs, drills.pair_set);
}

bool Preferences::Keeps() const {
    return Text(kKeepHistory) == "true";
}

void Preferences::SetKeeps(bool keeps) {
    Set(kKeepHistory, keeps ? "true" : "false");
}

void Preferences::Set(std::size_t setting, const std::string& text) {
    if (text != texts_[setting]) {
        texts_[setting] = text;
        Write(RowOf(setting).key, text);
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
