// KORVELINE's WinMain on the scripted backend, as korveline-script, its fuzzer and the tests run
// it: `state` lines and trace rows count Ticks from 1, since window creation runs the first Tick.
#pragma once

#include "backends/headless/script.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

struct ScriptedRun {
    int exit_code = 0;
    bool window_open = false; // still open after WinMain returned
};

// Throws kv::RunError when a command cannot be carried out (a file that cannot be
// written); `progress`, when set, hears of long runs of Ticks.
ScriptedRun RunScripted(std::vector<kv::headless::Command> commands, std::ostream& out,
                        std::ostream& err,
                        std::function<void(std::int64_t done, std::int64_t total)> progress = {});

// The first `lab` command with a setting the program does not take, as an error on its line: a
// script is checked whole before anything runs.
std::optional<kv::headless::ParseError>
CheckLabCommands(const std::vector<kv::headless::Command>& commands);
