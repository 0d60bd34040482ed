// The application's state as one JSON line, for the `state` command of scripted runs.
#pragma once

#include <cstdint>
#include <string>

// `tick` is the number of Ticks run so far.
std::string StateJson(std::uint64_t tick);
