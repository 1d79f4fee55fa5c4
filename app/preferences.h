// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <ostream>
#include <string>
#include <vector>

#include "drills/drill_settings.h"
#include "history/keep_choice.h"
#include "speech/speech_style.h"

namespace talmo {

// The learner's preferences: an INI file in the XDG config folder
// (~/.config/talmo/talmo.conf), read once when made and written when a
// setting changes. A write changes only its setting's line, so comments and
// keys the learner added stay as they are. Each setting is one row of a table
// (its key, default, reader and what it takes) and has an accessor; the
// defaults keep the program as it is without the file. A value that cannot
// be read (a damaged file, one over 1 MiB, an unknown voice, a wrong type)
// gives its default and one line on `err`, and is never written back
// unread; a file that cannot be written costs one line on `err`, and the
// program goes on. A new file and its folders are private to the learner.
class Preferences final : public KeepChoice {
  public:
    explicit Preferences(std::ostream& err, const QString& path = DefaultPath());

    // $XDG_CONFIG_HOME/talmo/talmo.conf, ~/.config/talmo/talmo.conf by default;
    // empty when there is no home folder, and then nothing is read or saved.
    static QString DefaultPath();

    // Who speaks: a voice's name, or "all"; the first voice by default.
    const std::string& Voice() const;

    // How whole numbers are said; clear by default.
    SpeechStyle Style() const;

    // The drills' own voice, style and pair set; the most variety by default.
    DrillChoices Drills() const;
    void SetDrills(const DrillChoices& drills);

    // Whether the history keeps the learner's answers; yes by default.
    bool Keeps() const override;
    void SetKeeps(bool keeps) override;

    // Whether a change is saved for the next start: not when the file could
    // not be read, nor while the last write failed.
    bool Saves() const { return readable_ && saved_; }

  private:
    // A setting's text, one its row takes; written when it changes.
    const std::string& Text(std::size_t setting) const { return texts_[setting]; }
    void Set(std::size_t setting, const std::string& text);
    void Write(const char* key, const std::string& value);
    // One line on err, whatever the path or a value holds.
    void Tell(const std::string& line);

    std::ostream& err_;
    QString path_;
    bool readable_ = true;
    bool saved_ = true;
    std::vector<std::string> texts_;  // each setting's, by its place in the table
};

// The drills' choices, kept in the preferences.
class PreferredDrills final : public ChoiceStore {
  public:
    explicit PreferredDrills(Preferences& preferences) : preferences_(preferences) {}
    DrillChoices Load() override { return preferences_.Drills(); }
    void Save(const DrillChoices& choices) override { preferences_.SetDrills(choices); }
    bool Keeps() const override { return preferences_.Saves(); }

  private:
    Preferences& preferences_;
};

}  // namespace talmo
