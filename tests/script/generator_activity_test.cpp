// Activity 14, the machine as a generator above synchronism and plugging: its script run as a
// teacher would, with a trace of every Tick, and the answers docs/activities.md and
// docs/activites.md give measured again. A value given as steady is checked to be one.
#include "model/caracteristique.h"
#include "model/constantes.h"
#include "script/quoted_numbers.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace {

using kvtest::TraceRow;

constexpr double kSync = 2 * std::numbers::pi / 100; // rad per Tick
constexpr double kSecondsPerTick = 0.05;

// The Ticks of the script's `state` lines, and every Tick's row.
struct ActivityRun {
    std::vector<double> ticks;
    std::vector<TraceRow> trace;
    const TraceRow& at(std::size_t k) const { return trace[row(k)]; }
    std::size_t row(std::size_t k) const {
        return static_cast<std::size_t>(ticks[k] - trace.front().tick);
    }
};

ActivityRun RunActivity() {
    std::ifstream in(KORVELINE_SOURCE_DIR "/examples/activity14-generator.kvs");
    std::ostringstream script;
    const std::string trace = kvtest::scratch_dir("generator") + "/trace.csv";
    script << "trace " << trace << "\n" << in.rdbuf();
    const auto run = kvtest::run_script(script.str());
    EXPECT_EQ(run.exit_code, 0) << run.err;
    ActivityRun r;
    for (const std::string& line : run.out_lines())
        if (line.starts_with("{")) r.ticks.push_back(kvtest::Field(line, "tick"));
    r.trace = kvtest::ReadTrace(trace);
    return r;
}

// The slip in [from, to] where f is smallest, f having one minimum there (golden section).
double Minimum(const std::function<double(double)>& f, double from, double to) {
    const double r = (std::sqrt(5.0) - 1) / 2;
    double a = from, b = to;
    while (b - a > 1e-5) {
        const double c = b - r * (b - a), d = a + r * (b - a);
        if (f(c) < f(d))
            b = d;
        else
            a = c;
    }
    return (a + b) / 2;
}

TEST(Activities, GeneratorAboveSynchronism) {
    const ActivityRun run = RunActivity();
    ASSERT_EQ(run.ticks.size(), 8u);
    const char* names[6] = {"motor", "half", "one", "five", "ten", "held"};
    for (std::size_t k = 0; k < 6; k++)
        kvtest::ExpectSteady(run.trace, run.row(k), names[k]);
    kvtest::ExpectSteady(run.trace, run.row(7), "plugging");
    std::map<std::string, double> m;

    // The operating points lie on the steady curve, measured at held speeds, on both sides of
    // synchronism and past standstill.
    const tagLabo nominal = kvtest::LabFor("load=driving plot=four-quadrants");
    const tagLabo slip_ring = kvtest::LabFor("load=driving plot=four-quadrants resistance=8");
    for (std::size_t k : {0, 1, 2, 3, 4, 5, 7}) {
        const TraceRow& p = run.at(k);
        const double held = PointAVitesseTenue(k == 7 ? slip_ring : nominal, p.slip).couple;
        EXPECT_NEAR(p.torque, held, 0.002 * std::abs(p.torque) + 1e-3) << "at brake " << p.brake;
    }

    // +5 lifted: a motor. Its slip and electromagnetic torque, to compare with the generator's.
    const TraceRow& motor = run.at(0);
    EXPECT_EQ(motor.brake, 5);
    m["a14_motor_slip_percent"] = 100 * motor.slip;
    m["a14_motor_em"] = motor.electromagnetic;
    EXPECT_GT(motor.air_gap, 0);

    // -0.5 drives the rotor forward, but less than friction takes at synchronous speed: the
    // machine still gives the rest. From -1 on, it is a generator.
    const TraceRow &half = run.at(1), &one = run.at(2);
    EXPECT_EQ(half.brake, -0.5);
    EXPECT_EQ(one.brake, -1);
    m["a14_sync_friction"] = FROTTEMENT * kSync;
    m["a14_half_slip_percent"] = 100 * half.slip;
    m["a14_half_air_gap"] = half.air_gap;
    m["a14_one_slip_percent"] = 100 * one.slip;
    m["a14_one_air_gap"] = one.air_gap;
    EXPECT_GT(half.slip, 0);
    EXPECT_GT(half.air_gap, 0);
    EXPECT_LT(one.slip, 0);
    EXPECT_LT(one.air_gap, 0);

    // -5: past synchronism, the torque against the rotation, the power back across the air gap.
    const TraceRow& g = run.at(3);
    EXPECT_EQ(g.brake, -5);
    m["a14_speed_percent"] = 100 * (1 - g.slip);
    m["a14_slip_percent"] = 100 * g.slip;
    m["a14_rotor_hz"] = g.rotor_hz;
    m["a14_torque"] = g.torque;
    m["a14_em"] = g.electromagnetic;
    m["a14_air_gap"] = g.air_gap;
    m["a14_copper"] = g.copper;
    m["a14_copper_percent"] = 100 * g.copper / std::abs(g.air_gap);
    m["a14_mechanical"] = g.mechanical;
    m["a14_friction"] = g.friction;
    m["a14_useful"] = g.mechanical - g.friction;
    m["a14_efficiency_percent"] = 100 * g.air_gap / (g.mechanical - g.friction);
    EXPECT_LT(g.air_gap, 0);
    EXPECT_GT(g.copper, 0);
    EXPECT_LT(g.mechanical, 0);
    // The textbook's balance holds with the signs: P_jr = g P_tr, P_m = (1 - g) P_tr.
    EXPECT_NEAR(g.copper / (g.slip * g.air_gap), 1, 1e-5);
    EXPECT_NEAR(g.mechanical / ((1 - g.slip) * g.air_gap), 1, 1e-6);
    // Friction apart, the slip follows the electromagnetic torque alike on both sides.
    m["a14_em_per_percent"] = g.electromagnetic / (100 * g.slip);
    m["a14_motor_em_per_percent"] = motor.electromagnetic / (100 * motor.slip);
    EXPECT_NEAR(m["a14_em_per_percent"] / m["a14_motor_em_per_percent"], 1, 0.02);

    // -10: twice the slip, about four times the rotor's losses.
    const TraceRow& ten = run.at(4);
    EXPECT_EQ(ten.brake, -10);
    m["a14_ten_slip_percent"] = 100 * ten.slip;
    m["a14_ten_air_gap"] = ten.air_gap;
    m["a14_ten_copper"] = ten.copper;
    m["a14_ten_copper_ratio"] = ten.copper / g.copper;

    // The generator's largest torque, on the steady curve: -21 holds, -22 runs the rotor away.
    const auto useful = [&](double s) { return PointAVitesseTenue(nominal, s).couple; };
    const auto em = [&](double s) { return PointAVitesseTenue(nominal, s).couple_em; };
    const double peak_slip = Minimum(useful, -0.5, -0.02);
    m["a14_gen_peak"] = useful(peak_slip);
    m["a14_gen_peak_slip_percent"] = 100 * peak_slip;
    m["a14_gen_peak_em"] = em(Minimum(em, -0.5, -0.02));
    const tagCaracteristique curve = kvtest::CurveFor("");
    m["a14_pull_out"] = curve.decrochage.couple;
    m["a14_pull_out_em"] = curve.decrochage_em.couple_em;
    EXPECT_NEAR(-m["a14_gen_peak_em"] / m["a14_pull_out_em"], 1, 0.002);
    const TraceRow& held = run.at(5);
    EXPECT_EQ(held.brake, -21);
    m["a14_held_brake"] = held.brake;
    m["a14_held_slip_percent"] = 100 * held.slip;
    EXPECT_GT(held.slip, peak_slip) << "short of the largest torque";
    const std::size_t change = run.row(5) + 1;
    EXPECT_EQ(run.trace[change].brake, -22);
    EXPECT_LT(m["a14_gen_peak"], -21);
    EXPECT_GT(m["a14_gen_peak"], -22);
    m["a14_runaway_brake"] = run.trace[change].brake;
    std::size_t twice = change;
    while (twice < run.row(6) && run.trace[twice].slip > -1)
        twice++;
    ASSERT_LT(twice, run.row(6)) << "it runs away past twice the synchronous speed";
    m["a14_runaway_twice_s"] =
        (run.trace[twice].tick - run.trace[change - 1].tick) * kSecondsPerTick;

    // Plugging: a load of 20 pulls the rotor backwards; the rotor of 8 times the resistance holds
    // it, the power from the supply and from the load both heating the rotor.
    const TraceRow& b = run.at(7);
    EXPECT_EQ(b.brake, 20);
    m["a14_plug_brake"] = b.brake;
    m["a14_plug_speed_percent"] = 100 * (1 - b.slip);
    m["a14_plug_slip_percent"] = 100 * b.slip;
    m["a14_plug_rotor_hz"] = b.rotor_hz;
    m["a14_plug_air_gap"] = b.air_gap;
    m["a14_plug_mechanical"] = b.mechanical;
    m["a14_plug_copper"] = b.copper;
    m["a14_plug_supply_and_load"] = b.air_gap - b.mechanical;
    m["a14_plug_balance_percent"] = 100 * (b.copper / (b.air_gap - b.mechanical) - 1);
    EXPECT_GT(b.slip, 1);
    EXPECT_GT(b.air_gap, 0);
    EXPECT_LT(b.mechanical, 0);
    const tagCaracteristique slip_ring_curve = MesureCaracteristique(slip_ring);
    m["a14_plug_start"] = PointAVitesseTenue(slip_ring, 1).couple;
    m["a14_plug_pull_out"] = slip_ring_curve.decrochage.couple;
    m["a14_plug_pull_out_slip_percent"] = 100 * slip_ring_curve.decrochage.glissement;
    EXPECT_LT(m["a14_plug_start"], b.brake) << "the load pulls it backwards";
    EXPECT_GT(m["a14_plug_pull_out"], b.brake) << "and the rotor holds it";
    // The original rotor could not: past standstill its torque only falls from the starting one.
    const tagCaracteristique wide = MesureCaracteristique(nominal);
    const double start = PointAVitesseTenue(nominal, 1).couple;
    m["a14_start_torque"] = start;
    for (const tagPointPermanent& p : wide.points) {
        if (p.glissement > 1) {
            EXPECT_LT(p.couple, start) << "at slip " << p.glissement;
        }
    }

    for (const auto& [name, value] : m)
        std::printf("%-32s %.17g\n", name.c_str(), value);
    kvtest::CheckQuoted("docs/activities.md", m, "a14_");
    kvtest::CheckQuoted("docs/activites.md", m, "a14_");
}

} // namespace
