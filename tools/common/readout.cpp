#include "tools/common/readout.h"

#include "shell/aspects.h"
#include "shell/scene.h"
#include "tools/common/synchronous_speed.h"

#include <cstdio>
#include <string>

const char* const kReadoutTitle = "Torques in plot units";

namespace {

std::string formatted(const char* format, double value) {
    char buffer[48];
    // + 0.0 turns a -0 (a rotor at rest: 0 / a negative speed) into 0, so it never shows "-0.0".
    std::snprintf(buffer, sizeof buffer, format, value + 0.0);
    return buffer;
}

kv::Color Couleur(const tagTrait& trait) {
    return kv::rgb(GetRValue(trait.couleur), GetGValue(trait.couleur), GetBValue(trait.couleur));
}

} // namespace

std::vector<kv::viewer::BoxRow> ReadoutRows() {
    const double speed = Mas.omega / kv::tools::SynchronousOmega();
    // The phases in the order of the phase sequence, in the colours of the look shown.
    const tagAspect& look = aspects[aspect_courant];
    return {
        {"Speed", formatted("%.1f %% of sync.", 100.0 * speed), {}},
        {"Slip", formatted("%.3f", 1.0 - speed), {}},
        {"Motor torque", formatted("%.4f", courbe.last_torque), {}},
        {"Brake torque", formatted("%.4f", frein.couple), {}},
        {"Phase 1", "left coil", Couleur(look.blue_pen_3)},
        {"Phase 2", "bottom right coil", Couleur(look.red_pen_3)},
        {"Phase 3", "top right coil", Couleur(look.green_pen_3)},
        {"Resultant", "rotating field", Couleur(look.black_pen_3)},
        {"Forces", "on the rotor", Couleur(look.yellow_pen_3)},
    };
}
