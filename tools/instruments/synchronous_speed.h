// The speed a readout or a trace compares the rotor's with, as both programs show it.
#pragma once

#include "shell/scene.h"

namespace kv::tools {

// The rotating field's speed in radians per Tick: the supply's phase moves by its step each Tick,
// and the field turns with it, the other way when two phases are swapped. A rotor at this speed
// (signs alike) has no slip. With a line open the field pulsates; the speed is still the one
// that order would give.
inline double SynchronousOmega(const tagLabo& settings) {
    const double step = settings.PasPhase(alim.phase_step);
    return settings.ordre_inverse ? -step : step;
}

inline double SynchronousOmega() {
    return SynchronousOmega(labo);
}

// The nominal supply's frequency, which `frequency` is a percentage of.
inline constexpr double kNominalHz = 50;

} // namespace kv::tools
