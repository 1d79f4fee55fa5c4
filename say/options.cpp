// SPDX-License-Identifier: MIT
#include "say/options.h"

namespace talmo {

std::optional<std::string> TakeOption(std::span<const std::string> args, std::size_t& i,
                                      std::string_view option) {
    const std::string& arg = args[i];
    if (arg.starts_with(option) && arg.size() > option.size() && arg[option.size()] == '=') {
        return arg.substr(option.size() + 1);
    }
    if (arg != option) {
        return std::nullopt;
    }
    return i + 1 < args.size() ? args[++i] : std::string();
}

}  // namespace talmo
