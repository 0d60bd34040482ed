// The readout key I shows: the motor's figures the picture does not print, and what the arrow
// colours mean. Read from the application's state after each Tick.
#pragma once

#include "viewer/boxes.h"

#include <vector>

extern const char* const kReadoutTitle;

std::vector<kv::viewer::BoxRow> ReadoutRows();
