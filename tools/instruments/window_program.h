// KORVELINE as the desktop window's and the page's viewer takes it: its table of actions, the run's
// data (korveline-script's trace rows, the last hour of them), the readout's rows, the layer over
// the plot, the laboratory's panel, the sound, and the captures' names.
#pragma once

#include "tools/instruments/run_data.h"
#include "viewer/program.h"

kv::viewer::Program WindowProgram(RunData& data);
