// What the desktop window and the page add to the viewer: the run's data (korveline-script's
// trace rows, the last hour of them), the readout's rows, and the captures' names.
#pragma once

#include "tools/instruments/run_data.h"
#include "viewer/viewer.h"

kv::viewer::Tools WindowTools(RunData& data);
