// SPDX-License-Identifier: MIT
// talmo-say: speaks a number, lists its clips or writes it as a WAVE file.
#include <iostream>
#include <string>
#include <vector>

#include "pulse_clip_player.h"
#include "say_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    talmo::PulseClipPlayer player;
    return talmo::RunSay(args, talmo::VoicePicker::ForChoice, player, std::cout, std::cerr);
}
