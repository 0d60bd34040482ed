// The readout key I shows: the motor's figures the picture does not print, and what the arrow
// colours mean. Read from the application's state after each Tick.
#pragma once

#include "backends/sdl/badge.h"

#include <vector>

extern const char* const kReadoutTitle;

std::vector<kv::sdl::BoxRow> ReadoutRows();
