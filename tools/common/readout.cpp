#include "tools/common/readout.h"

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

} // namespace

std::vector<kv::viewer::BoxRow> ReadoutRows() {
    const double speed = Mas.omega / kv::tools::SynchronousOmega();
    return {
        {"Speed", formatted("%.1f %% of sync.", 100.0 * speed), {}},
        {"Slip", formatted("%.3f", 1.0 - speed), {}},
        {"Motor torque", formatted("%.4f", courbe.last_torque), {}},
        {"Brake torque", formatted("%.4f", frein.couple), {}},
        {"Phase 1", "left coil", kv::rgb(0, 0, 255)},
        {"Phase 2", "top right coil", kv::rgb(0, 100, 0)},
        {"Phase 3", "bottom right coil", kv::rgb(255, 0, 0)},
        {"Resultant", "rotating field", kv::rgb(0, 0, 0)},
        {"Forces", "on the rotor", kv::rgb(255, 255, 0)},
    };
}
