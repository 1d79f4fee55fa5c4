// SPDX-License-Identifier: MIT
#include "history/user_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace talmo {
namespace fs = std::filesystem;
namespace {

std::string Why(int error) {
    return std::strerror(error);
}

// Writes all of `bytes` to `fd`; 0 or the errno of the write that failed.
int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno != EINTR) {
            return errno;
        }
        done += wrote > 0 ? static_cast<std::size_t>(wrote) : 0;
    }
    return 0;
}

// 0, or the errno of what failed: all of `bytes` from the start of the file,
// its end cut after them, and on the disk.
int WriteDurably(int fd, std::span<const std::uint8_t> bytes) {
    if (const int error = WriteAll(fd, bytes)) {
        return error;
    }
    const bool done = ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
    return done ? 0 : errno;
}

// Into something that is not a plain file (a FIFO, a terminal, /dev/null),
// or a file the shell opened for us (/dev/stdout): opened and written, as
// `>` would.
std::optional<std::string> WriteInto(const std::string& path, std::span<const std::uint8_t> bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return Why(errno);
    }
    const int error = WriteAll(fd, bytes);
    const int closed = close(fd) == 0 || errno == EINTR ? 0 : errno;
    if (error != 0 || closed != 0) {
        return Why(error != 0 ? error : closed);
    }
    return std::nullopt;
}

// Where a chain of symbolic links ends, the last name perhaps not there yet:
// a new file is made through a dangling link, not in its place.
std::optional<fs::path> LinkEnd(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) {
            return path;
        }
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            return std::nullopt;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
}

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// The file descriptors /dev/fd, /dev/std* and /proc/self/fd name: the shell's
// redirection, which the caller meant to write into.
bool IsOpenedFile(const std::string& path) {
    return path.starts_with("/dev/fd/") || path.starts_with("/dev/std") ||
           path.starts_with("/proc/");
}

}  // namespace

std::optional<fs::path> UserFolder(const char* variable, std::string_view under_home) {
    const char* set = std::getenv(variable);
    if (set != nullptr && set[0] == '/') {
        return fs::path(set);
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') {
        return std::nullopt;
    }
    return fs::path(home) / under_home;
}

std::error_code MakePrivateFolders(const fs::path& folder) {
    std::error_code ec;
    if (folder.empty() || fs::is_directory(folder, ec)) {
        return {};
    }
    if (folder.has_parent_path() && folder.parent_path() != folder) {
        if (const std::error_code above = MakePrivateFolders(folder.parent_path())) {
            return above;
        }
    }
    if (mkdir(folder.c_str(), 0700) != 0) {
        const int error = errno;
        if (error != EEXIST || !fs::is_directory(folder, ec)) {
            return {error == EEXIST ? ENOTDIR : error, std::generic_category()};
        }
    }
    return {};
}

std::optional<std::string> WriteFileWhole(const std::string& path,
                                          std::span<const std::uint8_t> bytes, mode_t new_mode) {
    struct stat was {};
    const bool exists = stat(path.c_str(), &was) == 0;
    if (path.empty() || fs::path(path).filename().empty() || (exists && S_ISDIR(was.st_mode))) {
        return "not a file name";
    }
    if (exists && (!S_ISREG(was.st_mode) || IsOpenedFile(path))) {
        return WriteInto(path, bytes);
    }
    // Renaming would replace a file the user may not write; it stays as it is.
    if (exists && access(path.c_str(), W_OK) != 0) {
        return Why(errno);
    }
    const std::optional<fs::path> target = LinkEnd(path);
    if (!target) {
        return Why(ELOOP);
    }
    std::string temp =
        (target->parent_path() / ("." + target->filename().string() + ".XXXXXX")).string();
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return Why(errno);
    }
    // The new file takes the old one's owner where allowed (only root may give
    // a file away), then its mode, which a change of owner could clear.
    if (exists && fchown(fd, was.st_uid, was.st_gid) != 0) {
        // the learner's own file is theirs anyway
    }
    int error = fchmod(fd, exists ? was.st_mode & 07777 : new_mode & ~CurrentUmask()) != 0
                    ? errno
                    : WriteDurably(fd, bytes);
    error = close(fd) == 0 || error != 0 ? error : errno;
    if (error == 0 && exists && was.st_nlink > 1) {
        // A rename would break the other names; the copy has shown the bytes fit.
        const int same = open(target->c_str(), O_WRONLY | O_CLOEXEC);
        error = same < 0 ? errno : WriteDurably(same, bytes);
        if (same >= 0) {
            close(same);
        }
        unlink(temp.c_str());
        return error == 0 ? std::nullopt : std::optional(Why(error));
    }
    if (error == 0 && std::rename(temp.c_str(), target->c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(temp.c_str());
        return Why(error);
    }
    return std::nullopt;
}

std::string Printable(std::string_view text) {
    std::string shown;
    const auto escape = [&shown](const char* format, unsigned value) {
        char code[8];
        std::snprintf(code, sizeof code, format, value);
        shown += code;
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // The length of the UTF-8 sequence this byte starts, 0 when none.
        const std::size_t length = byte < 0x80                   ? 1
                                   : byte >= 0xc2 && byte < 0xe0 ? 2
                                   : byte >= 0xe0 && byte < 0xf0 ? 3
                                   : byte >= 0xf0 && byte < 0xf5 ? 4
                                                                 : 0;
        bool whole = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; whole && k < length; ++k) {
            whole = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
        }
        if (!whole) {
            escape("\\x%02x", byte);
            ++i;
        } else if (byte == '\n' || byte == '\t' || byte == '\r') {
            shown += byte == '\n' ? "\\n" : byte == '\t' ? "\\t" : "\\r";
            ++i;
        } else if (byte < 0x20 || byte == 0x7f) {
            escape("\\x%02x", byte);
            ++i;
        } else if (byte == 0xc2 && static_cast<unsigned char>(text[i + 1]) < 0xa0) {
            // U+0080 to U+009F: the 8-bit controls some terminals obey.
            escape("\\u%04x", static_cast<unsigned char>(text[i + 1]));
            i += 2;
        } else {
            shown.append(text.substr(i, length));
            i += length;
        }
    }
    return shown;
}

}  // namespace talmo
