// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace talmo {

// The one reader of an option with a value (--voice, --style), for both
// programs. When args[i] is "OPTION VALUE" or "OPTION=VALUE", returns the
// value (empty when it is missing) and leaves i on the last argument it
// took; otherwise nothing.
std::optional<std::string> TakeOption(std::span<const std::string> args, std::size_t& i,
                                      std::string_view option);

}  // namespace talmo
