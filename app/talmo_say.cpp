// SPDX-License-Identifier: MIT
// talmo-say: speaks a number, lists its clips or writes it as a WAVE file.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "say/say_command.h"
#include "speech/pulse_clip_player.h"

int main(int argc, char** argv) {
    // Over a file size limit a write fails and is said, rather than the
    // signal killing the program with a partial file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    talmo::PulseClipPlayer player;
    return talmo::RunSay(args, talmo::VoicePicker::ForChoice, player, std::cout, std::cerr);
}
