// The readout key I shows: the motor's figures the picture does not print, in real values where
// a real motor has them, the power balance, and what the arrow colours mean; in the picture's
// language. Read from the application's state after each Tick.
#pragma once

#include "model/bilan.h"
#include "viewer/boxes.h"

#include <string>
#include <vector>

// The title, in the picture's language.
std::string ReadoutTitle();

// The rows with the clock at `clock_speed` times the program's own pace (1: a Tick every 50 ms),
// which sets how much the motor's time is slowed down on screen. The motor's figures are the
// averages over the last supply period that `balance` holds.
std::vector<kv::viewer::BoxRow> ReadoutRows(const tagBilanPeriode& balance, double clock_speed = 1);
