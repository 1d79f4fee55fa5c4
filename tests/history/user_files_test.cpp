// SPDX-License-Identifier: MIT
#include "user_files.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <pwd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace talmo {
namespace {

TEST(Printable, KeepsALineOneLineAndTheTerminalUndriven) {
    const std::pair<std::string, std::string> rows[] = {
        {"fe\nmale", "fe\\nmale"},
        {"\x1b]0;TITLE\a5", "\\x1b]0;TITLE\\x075"},
        {"a\tb\rc\x7f", "a\\tb\\rc\\x7f"},
        {"fyrtio åtta ÷ ½", "fyrtio åtta ÷ ½"},
        {"\xc2\x9b"
         "2J",
         "\\u009b2J"},               // CSI in UTF-8
        {"\xff\xc3", "\\xff\\xc3"},  // not UTF-8, or cut short
        {"\xe2\x82", "\\xe2\\x82"},
    };
    for (const auto& [text, shown] : rows) {
        EXPECT_EQ(Printable(text), shown);
    }
}

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* was = std::getenv(name)) {
            was_ = was;
        }
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { was_ ? setenv(name_, was_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> was_;
};

// A relative or empty XDG variable is ignored, and so is a relative HOME.
TEST(UserFolder, FollowsTheXdgRules) {
    const std::string own_home = getpwuid(getuid())->pw_dir;
    struct Row {
        const char* xdg;
        const char* home;
        std::string folder;
    };
    const Row rows[] = {
        {"/x/config", "/h", "/x/config"},
        {"x/config", "/h", "/h/.config"},
        {"", "/h", "/h/.config"},
        {nullptr, "/h", "/h/.config"},
        {nullptr, nullptr, own_home + "/.config"},
        {"rel", "rel", own_home + "/.config"},
    };
    for (const Row& row : rows) {
        const ScopedEnv xdg("XDG_CONFIG_HOME", row.xdg), home("HOME", row.home);
        EXPECT_EQ(ConfigFolder(), row.folder) << (row.xdg ? row.xdg : "unset");
    }
}

// A user the password database does not know, with no HOME: nowhere at all.
TEST(UserFolder, IsNothingWithoutAHome) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root can become a user with no entry";
    }
    const pid_t child = fork();
    if (child == 0) {
        unsetenv("HOME");
        unsetenv("XDG_DATA_HOME");
        _exit(setuid(54321) == 0 && !DataFolder() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace talmo
