#include "tools/korveline_script/steady_curve_csv.h"

#include <cstdio>

namespace {

void append_point(std::string& csv, const tagPointPermanent& p, double way, const char* kind) {
    char row[160];
    std::snprintf(row, sizeof row, "%.17g,%.17g,%.17g,%.17g,%.17g,%s\n", p.glissement,
                  1 - p.glissement, way * p.couple + 0.0, way * p.couple_em + 0.0, p.courant, kind);
    csv += row;
}

} // namespace

std::string SteadyCurveCsv(const tagCaracteristique& curve) {
    // The model's torques drive towards negative speeds in the direct order.
    const double way = curve.omega_synchrone < 0 ? 1 : -1;
    std::string csv = "slip,speed_over_sync,useful_torque,em_torque,rotor_current,branch\n";
    for (const tagPointPermanent& p : curve.points)
        append_point(csv, p, way, p.stable ? "stable" : "unstable");
    if (curve.decrochage_trouve) append_point(csv, curve.decrochage, way, "pull_out");
    return csv;
}
