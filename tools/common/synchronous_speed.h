// The speed a readout or a trace compares the rotor's with, as both programs show it.
#pragma once

#include "shell/scene.h"

namespace kv::tools {

// The rotating field's speed in radians per Tick: the supply's phase moves by its step each Tick,
// and the field turns with it. A rotor at this speed (signs alike) has no slip.
inline double SynchronousOmega() {
    return alim.phase_step;
}

} // namespace kv::tools
