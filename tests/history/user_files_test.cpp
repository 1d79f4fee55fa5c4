// SPDX-License-Identifier: MIT
#include "history/user_files.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace talmo {
namespace {

TEST(Printable, KeepsALineOneLineAndTheTerminalUndriven) {
    const std::pair<std::string, std::string> rows[] = {
        {"\x1b]0;TITLE\a5\n", "\\x1b]0;TITLE\\x075\\n"},
        {"a\tb\rc\x7f", "a\\tb\\rc\\x7f"},
        {"fyrtio åtta ÷ ½", "fyrtio åtta ÷ ½"},
        {"\xc2\x9b[2J", "\\u009b[2J"},                   // CSI in UTF-8
        {"\xff\xc3 \xe2\x82", "\\xff\\xc3 \\xe2\\x82"},  // not UTF-8, or cut short
    };
    for (const auto& [text, shown] : rows) {
        EXPECT_EQ(Printable(text), shown);
    }
}

// A relative or empty XDG variable is ignored, and so is a relative HOME.
TEST(UserFolder, FollowsTheXdgRules) {
    const std::string own_home = getpwuid(getuid())->pw_dir;
    const auto set = [](const char* name, const char* value) {
        value ? setenv(name, value, 1) : unsetenv(name);
    };
    // Put back as they were, for the tests after.
    std::optional<std::string> was[2];
    for (int i = 0; i < 2; ++i) {
        if (const char* value = std::getenv(i == 0 ? "HOME" : "XDG_CONFIG_HOME")) {
            was[i] = value;
        }
    }
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"/x/config", "/h", "/x/config"},
        {"x/config", "/h", "/h/.config"},
        {"", "/h", "/h/.config"},
        {nullptr, "/h", "/h/.config"},
        {nullptr, nullptr, own_home + "/.config"},
        {"rel", "rel", own_home + "/.config"},
    };
    for (const auto& [xdg, home, folder] : rows) {
        set("XDG_CONFIG_HOME", xdg), set("HOME", home);
        EXPECT_EQ(ConfigFolder(), folder) << (xdg ? xdg : "unset");
    }
    set("HOME", was[0] ? was[0]->c_str() : nullptr);
    set("XDG_CONFIG_HOME", was[1] ? was[1]->c_str() : nullptr);
}

}  // namespace
}  // namespace talmo
