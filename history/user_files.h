// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace talmo {

// Where the learner's own files live and how they are written: as the XDG
// base directory rules ask, private to the learner, and never half written.

// $XDG_CONFIG_HOME or $XDG_DATA_HOME when it is an absolute path (anything
// else is ignored); otherwise `under_home` in the home folder, which is $HOME
// when absolute, else the password database's. Nothing when there is no home.
std::optional<std::filesystem::path> UserFolder(const char* variable, std::string_view under_home);
inline std::optional<std::filesystem::path> ConfigFolder() {
    return UserFolder("XDG_CONFIG_HOME", ".config");
}
inline std::optional<std::filesystem::path> DataFolder() {
    return UserFolder("XDG_DATA_HOME", ".local/share");
}
// Said when a folder above is nothing: why there is nowhere to keep a file.
inline constexpr const char* kNoHome =
    "there is no home folder: HOME is not set and the password database has none";

// Makes `folder` and each missing folder above it, 0700 (the umask may take
// more away); one that exists keeps its mode. An empty code when it is there.
std::error_code MakePrivateFolders(const std::filesystem::path& folder);

// Writes `bytes` to `path` as a careful command does. A regular file, or one
// a symbolic link leads to, is replaced whole (a new file beside it, renamed
// over it), keeping its mode and owner; one with other hard links is
// rewritten in place once a full copy has shown the bytes fit. A path that
// does not exist is made with `new_mode` (less the umask). Anything else that
// exists (a FIFO, a device, /dev/stdout) is written into. Nothing partial is
// left beside it. Returns why it could not be written, or nothing.
std::optional<std::string> WriteFileWhole(const std::string& path,
                                          std::span<const std::uint8_t> bytes, mode_t new_mode);

// `text` fit for one line of a terminal: control characters, and bytes that
// are not UTF-8, written as escapes (`\n`, `\x1b`), so that a name or a
// value cannot break the line or drive the terminal.
std::string Printable(std::string_view text);

}  // namespace talmo
