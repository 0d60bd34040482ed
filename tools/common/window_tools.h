// What the desktop window and the page add to the viewer: the run's data (korveline-script's
// trace rows, the last hour of them), the readout's rows, and the captures' names.
#pragma once

#include "tools/common/run_data.h"
#include "user/session.h"
#include "viewer/viewer.h"

// `session` is the program's, set once it exists: the Ticks are numbered from its timer messages.
kv::viewer::Tools WindowTools(RunData& data, const kv::Session* const& session);
