#include "tools/korveline_script/steady_curve_csv.h"

#include <cstdio>

namespace {

void append_point(std::string& csv, const SteadyPoint& p, double way, const char* kind) {
    char row[160];
    std::snprintf(row, sizeof row, "%.17g,%.17g,%.17g,%.17g,%.17g,%s\n", p.slip, 1 - p.slip,
                  way * p.torque + 0.0, way * p.em_torque + 0.0, p.rotor_current, kind);
    csv += row;
}

} // namespace

std::string SteadyCurveCsv(const SteadyCurve& curve) {
    // The model's torques drive towards negative speeds in the direct order.
    const double way = curve.sync_omega < 0 ? 1 : -1;
    std::string csv = "slip,speed_over_sync,useful_torque,em_torque,rotor_current,branch\n";
    for (const SteadyPoint& p : curve.points)
        append_point(csv, p, way, p.stable ? "stable" : "unstable");
    append_point(csv, curve.pull_out, way, "pull_out");
    return csv;
}
