// Under every load law the motor, run through korveline-script, comes to rest only where its
// steady curve says a rotor stays: on a stable branch, never on a part drawn dashed. The brake is
// set once the motor has run up without one; each run must settle, its torque the load's.
#include "model/caracteristique.h"
#include "script/quoted_numbers.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A number of the `state` line: the first "key": after "object".
double StateNumber(const std::string& line, const std::string& object, const std::string& key) {
    const std::size_t o = line.find("\"" + object + "\":{");
    const std::size_t k = line.find("\"" + key + "\":", o);
    if (o == std::string::npos || k == std::string::npos) {
        ADD_FAILURE() << "no " << object << "." << key << " in " << line;
        return 0;
    }
    return std::stod(line.substr(k + key.size() + 3));
}

// The load's torque on the plot at this speed (in synchronous speeds) for the brake `c`.
double LoadTorque(const tagLabo& settings, double c, double speed) {
    switch (settings.loi_charge) {
    case CHARGE_LINEAIRE:
        return c * speed;
    case CHARGE_QUADRATIQUE:
        return c * speed * speed;
    case CHARGE_ENTRAINANTE:
        return settings.ordre_inverse ? -c : c;
    default:
        return c;
    }
}

TEST(SteadyBranches, EveryLoadLawSettlesOnlyWhereTheCurveIsStable) {
    struct Case {
        std::string settings;
        std::vector<double> brakes;
    };
    const Case cases[] = {
        {"load=constant", {2, 10, 18, 20}},
        {"load=linear", {5, 15, 25, 30, 40, 60}},
        {"order=reversed load=quadratic", {10, 30, 60, 100, 150}},
        {"resistance=0.25 load=linear", {10, 20, 30}},
        {"load=driving", {-8, -3, 4, 12}},
        // Past standstill: a driving load heavier than the starting torque, held back by a rotor
        // of high resistance; and past synchronism.
        {"load=driving plot=four-quadrants resistance=8", {20, -12, 5}},
    };
    int unstable_parts = 0;
    for (const Case& c : cases) {
        const tagLabo settings = kvtest::LabFor(c.settings);
        const tagCaracteristique curve = MesureCaracteristique(settings);
        for (std::size_t k = 1; k < curve.points.size(); ++k)
            unstable_parts += curve.points[k - 1].stable && !curve.points[k].stable;
        for (const double brake : c.brakes) {
            const std::string what = "lab " + c.settings + ", brake " + std::to_string(brake);
            std::string script = "lab " + c.settings + "\nclick left 25 25\ntick 3000\n";
            for (int n = 0; n < std::lround(std::abs(2 * brake)); ++n)
                script += brake > 0 ? "click left 250 465\n" : "click right 250 465\n";
            script += "tick 30000\nstate\ntick 4000\nstate\n";
            const kvtest::ScriptRun run = kvtest::run_script(script);
            const std::vector<std::string> lines = run.out_lines();
            ASSERT_EQ(run.exit_code, 0) << what << ": " << run.err;
            ASSERT_EQ(lines.size(), 2u) << what;

            const double sync = settings.OmegaSynchrone();
            const double before = 1 - StateNumber(lines[0], "mas", "omega") / sync;
            const double slip = 1 - StateNumber(lines[1], "mas", "omega") / sync;
            EXPECT_LT(std::abs(slip - before), 1e-4) << what << ": still moving";
            EXPECT_NEAR(StateNumber(lines[1], "courbe", "last_torque"),
                        LoadTorque(settings, brake, 1 - slip), 1e-3)
                << what << ": not at the load's torque";
            // Between two points of the curve, both on a stable branch.
            bool found = false;
            for (std::size_t k = 1; k < curve.points.size(); ++k) {
                const tagPointPermanent &a = curve.points[k - 1], &b = curve.points[k];
                if (a.glissement > slip || b.glissement < slip) continue;
                found = true;
                EXPECT_TRUE(a.stable && b.stable)
                    << what << ": settled at slip " << slip << ", between points called "
                    << (a.stable ? "stable" : "unstable") << " and "
                    << (b.stable ? "stable" : "unstable");
            }
            EXPECT_TRUE(found) << what << ": slip " << slip << " is off the curve";
        }
    }
    EXPECT_GE(unstable_parts, 5) << "each curve's unstable parts, which no run reached";
}

} // namespace
