// The classroom activities' scripts, run as a teacher would, and the answers docs/activities.md
// and docs/activites.md give, measured again from the scripts' own output and from a trace of the
// same run. An answer given as a steady value is checked to be one.
#include "script/quoted_numbers.h"
#include "script/run_script.h"
#include "model/caracteristique.h"
#include "model/constantes.h"
#include "tools/instruments/plot_scales.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

// One 'state' line of a script's output and the 'pixel' lines after it.
struct Moment {
    std::string state;
    std::vector<std::string> pixels; // "X Y RRGGBB"
    double tick() const { return kvtest::Field(state, "tick"); }
    double speed() const { return -kvtest::Field(state, "omega"); }
    double torque() const { return kvtest::Field(state, "last_torque"); }
    double brake() const { return kvtest::Field(state, "couple"); }
};

struct ExampleRun {
    std::vector<Moment> moments;
    std::vector<kvtest::TraceRow> trace; // every Tick of the run
    // The trace's row of a moment.
    std::size_t row(const Moment& m) const {
        return static_cast<std::size_t>(m.tick() - trace.front().tick);
    }
};

// The script as it stands, with a trace of every Tick written on the side; `before` comes before
// the trace starts (a later setting changed then gives the trace its later columns).
ExampleRun RunExample(const std::string& name, const std::string& before = {}) {
    std::ifstream in(KORVELINE_SOURCE_DIR "/examples/" + name);
    std::ostringstream script;
    const std::string trace = kvtest::scratch_dir("trace") + "/trace.csv";
    script << before << "trace " << trace << "\n" << in.rdbuf();
    const auto run = kvtest::run_script(script.str());
    EXPECT_EQ(run.exit_code, 0) << run.err;
    ExampleRun r;
    for (const std::string& line : run.out_lines()) {
        if (line.starts_with("{"))
            r.moments.push_back({line, {}});
        else if (line.starts_with("pixel ") && !r.moments.empty())
            r.moments.back().pixels.push_back(line.substr(6));
    }
    r.trace = kvtest::ReadTrace(trace);
    return r;
}

constexpr double kSync = 2 * std::numbers::pi / 100; // rad per Tick
constexpr double kSecondsPerTick = 0.05;

// Prints the measurements, for whoever writes the answers, and checks both languages' answers.
void CheckAnswers(const std::map<std::string, double>& measured, const std::string& prefix) {
    for (const auto& [name, value] : measured)
        std::printf("%-26s %.17g\n", name.c_str(), value);
    kvtest::CheckQuoted("docs/activities.md", measured, prefix);
    kvtest::CheckQuoted("docs/activites.md", measured, prefix);
}

double SlipPercent(const Moment& m) {
    return 100 * (1 - m.speed() / kSync);
}

TEST(Activities, RotatingFieldFromThreePulsatingFields) {
    const std::vector<Moment> m = RunExample("activity1-rotating-field.kvs").moments;
    ASSERT_EQ(m.size(), 11u);
    const std::string blue = "0000FF", red = "FF0000", green = "006400", black = "000000",
                      background = "00C8C8";
    // The left coil's field: pointing right, gone, pointing left.
    EXPECT_EQ(m[0].pixels, (std::vector<std::string>{"360 290 " + blue, "315 290 " + background}));
    EXPECT_EQ(m[1].pixels,
              (std::vector<std::string>{"360 290 " + background, "315 290 " + background}));
    EXPECT_EQ(m[2].pixels, (std::vector<std::string>{"360 290 " + background, "315 290 " + blue}));
    // The resultant: right, up, left, down, right again: anticlockwise on the screen.
    const char* points[4] = {"300 290 ", "260 250 ", "220 290 ", "260 330 "};
    const int pointing[5] = {0, 1, 2, 3, 0};
    for (int k = 0; k < 5; k++) {
        std::vector<std::string> expected;
        for (int p = 0; p < 4; p++)
            expected.push_back(points[p] + (p == pointing[k] ? black : background));
        EXPECT_EQ(m[3 + k].pixels, expected) << "at tick " << m[3 + k].tick();
    }
    // The coils' fields peak in the order of the phases: left (1), lower right (2), upper right
    // (3), the way the resultant turns.
    const char* coils[3] = {"360 290 ", "210 204 ", "210 376 "};
    const std::string colours[3] = {blue, red, green};
    for (int k = 0; k < 3; k++) {
        std::vector<std::string> expected;
        for (int c = 0; c < 3; c++)
            expected.push_back(coils[c] + (c == k ? colours[c] : background));
        EXPECT_EQ(m[8 + k].pixels, expected) << "at tick " << m[8 + k].tick();
    }

    std::map<std::string, double> measured;
    measured["a1_zero_s"] = (m[1].tick() - m[0].tick()) * kSecondsPerTick;
    measured["a1_reverse_s"] = (m[2].tick() - m[0].tick()) * kSecondsPerTick;
    measured["a1_quarter_turn_s"] = (m[4].tick() - m[3].tick()) * kSecondsPerTick;
    measured["a1_turn_s"] = (m[7].tick() - m[3].tick()) * kSecondsPerTick;
    CheckAnswers(measured, "a1_");
}

// The mean length of the six force arrows, in pixels: 2 pixels per unit of a turn's force, and
// the three turns' forces add up to the electromagnetic torque.
double MeanArrowPixels(const kvtest::TraceRow& row) {
    return 2 * row.electromagnetic / 3;
}

TEST(Activities, LoadSlipAndTheOperatingPoint) {
    const ExampleRun run = RunExample("activity2-load-slip.kvs");
    const std::vector<Moment>& m = run.moments;
    ASSERT_EQ(m.size(), 4u);
    std::map<std::string, double> measured;
    for (const Moment& moment : m) {
        const std::string b = std::to_string(std::lround(moment.brake()));
        kvtest::ExpectSteady(run.trace, run.row(moment), "brake " + b);
        measured["a2_slip" + b + "_percent"] = SlipPercent(moment);
        measured["a2_torque" + b] = moment.torque();
    }
    EXPECT_EQ(measured.size(), 8u) << "brakes 0, 2, 4 and 6";
    measured["a2_speed0_percent"] = 100 * m[0].speed() / kSync;
    // With no brake the motor still drives its own friction, 10 times its speed.
    const kvtest::TraceRow& idle = run.trace[run.row(m[0])];
    EXPECT_NEAR(idle.electromagnetic, 10 * idle.speed, 1e-4);
    measured["a2_friction0"] = idle.electromagnetic;
    measured["a2_arrow0_px"] = MeanArrowPixels(idle);
    measured["a2_arrow6_px"] = MeanArrowPixels(run.trace[run.row(m[3])]);
    // The field sweeps over the rotor at the slip times the supply's 50 Hz.
    measured["a2_rotor_hz6"] = SlipPercent(m[3]) / 100 * 50;
    CheckAnswers(measured, "a2_");
}

TEST(Activities, OverloadAndStall) {
    const ExampleRun run = RunExample("activity3-overload-stall.kvs");
    const std::vector<Moment>& m = run.moments;
    const std::vector<kvtest::TraceRow>& t = run.trace;
    ASSERT_EQ(m.size(), 7u);
    std::map<std::string, double> measured;
    // Part A, brake 8 from the start: the rotor only trembles; its largest speed comes in the
    // switch-on transient.
    measured["a3_blocked_brake"] = m[0].brake();
    std::size_t fastest = 0;
    for (std::size_t i = 0; i <= run.row(m[1]); i++)
        if (std::abs(t[i].speed) > std::abs(t[fastest].speed)) fastest = i;
    measured["a3_blocked_speed"] = std::abs(t[fastest].speed);
    measured["a3_blocked_speed_s"] = (t[fastest].tick - 1) * kSecondsPerTick;
    measured["a3_start_torque"] = m[1].torque();
    measured["a3_start_over_rated"] = m[1].torque() / kv::tools::kRatedTorque;
    // Part B, brake 5: it runs up, its trail below the steady curve.
    measured["a3_restart_brake"] = m[2].brake();
    kvtest::ExpectSteady(t, run.row(m[2]), "brake 5");
    measured["a3_restart_slip_percent"] = SlipPercent(m[2]);
    double climb = 0;
    for (std::size_t i = run.row(m[1]); i <= run.row(m[2]); i++)
        climb = std::max(climb, t[i].torque);
    measured["a3_restart_trail_peak"] = climb;
    // Part C: settled at 10, 15 and 20; stalled at 25, its trail above the steady curve.
    for (int k = 3; k < 6; k++) {
        const std::string b = std::to_string(std::lround(m[k].brake()));
        kvtest::ExpectSteady(t, run.row(m[k]), "brake " + b);
        measured["a3_slip" + b + "_percent"] = SlipPercent(m[k]);
    }
    measured["a3_stall_brake"] = m[6].brake();
    double fall = 0;
    std::size_t rest = 0;
    for (std::size_t i = run.row(m[5]) + 1; i <= run.row(m[6]); i++) {
        fall = std::max(fall, t[i].torque);
        if (rest == 0 && t[i].speed <= 0) rest = i;
    }
    ASSERT_NE(rest, 0u) << "the motor stops";
    measured["a3_stall_trail_peak"] = fall;
    measured["a3_stall_rest_s"] = (t[rest].tick - m[5].tick()) * kSecondsPerTick;
    measured["a3_stall_torque"] = m[6].torque();
    CheckAnswers(measured, "a3_");
}

// Steady values of a trace, as the answers give them.
double SpeedPercent(const kvtest::TraceRow& row) {
    return 100 * (1 - row.slip);
}

// The mean over the supply period (100 Ticks) up to a moment, for a torque that pulsates.
constexpr std::size_t kPeriod = 100;

using kvtest::CurveFor;
using kvtest::LabFor;

TEST(Activities, ReversingBySwappingTwoPhases) {
    const ExampleRun run = RunExample("activity4-reversing.kvs");
    const std::vector<Moment>& m = run.moments;
    const std::vector<kvtest::TraceRow>& t = run.trace;
    ASSERT_EQ(m.size(), 2u);
    kvtest::ExpectSteady(t, run.row(m[0]), "direct order");
    kvtest::ExpectSteady(t, run.row(m[1]), "reversed order");
    const kvtest::TraceRow &direct = t[run.row(m[0])], &reversed = t[run.row(m[1])];
    std::map<std::string, double> measured;
    // The model's speed changes sign; the slip, the speed and the torque stay.
    measured["a4_omega_direct"] = -m[0].speed();
    measured["a4_omega_reversed"] = -m[1].speed();
    EXPECT_LT(measured["a4_omega_direct"], -0.06) << "negative in the model's direction";
    EXPECT_GT(measured["a4_omega_reversed"], 0.06) << "the other way";
    EXPECT_NEAR(reversed.slip, direct.slip, 1e-6);
    EXPECT_NEAR(reversed.torque, direct.torque, 1e-4);
    measured["a4_speed_percent"] = SpeedPercent(direct);
    measured["a4_slip_percent"] = 100 * direct.slip;
    measured["a4_rpm"] = direct.rpm;
    measured["a4_reversed_slip_percent"] = 100 * reversed.slip;
    // Just after the swap the field turns against the rotor: a slip of nearly 2. The rotor brakes,
    // stops and runs up the other way.
    const std::size_t swap = run.row(m[0]) + 1;
    measured["a4_swap_slip"] = t[swap].slip;
    std::size_t stop = swap;
    while (stop < t.size() && t[stop].speed < 0)
        stop++;
    ASSERT_LT(stop, t.size()) << "it turns round";
    // The largest current a turn carries while the rotor brakes, against the peak of a turn's
    // current held at standstill; and the rotor's heat until it stops, against the whole start's.
    double plugging = 0, plug_heat = 0, start_heat = 0;
    for (std::size_t i = swap; i < stop; i++) {
        plugging = std::max(plugging, t[i].largest_current);
        plug_heat += t[i].copper;
    }
    for (std::size_t i = 0; i < swap; i++)
        start_heat += t[i].copper;
    measured["a4_plug_current"] = plugging;
    measured["a4_start_current"] = PointAVitesseTenue(tagLabo(), 1).courant;
    measured["a4_plug_heat_ratio"] = plug_heat / start_heat;
    measured["a4_stop_s"] = (t[stop].tick - m[0].tick()) * kSecondsPerTick;
    measured["a4_stop_ms"] = (t[stop].tick - m[0].tick()) * 0.2;
    CheckAnswers(measured, "a4_");
}

TEST(Activities, SinglePhasing) {
    const ExampleRun run = RunExample("activity5-single-phasing.kvs");
    const std::vector<Moment>& m = run.moments;
    const std::vector<kvtest::TraceRow>& t = run.trace;
    ASSERT_EQ(m.size(), 7u);
    std::map<std::string, double> measured;
    // From rest with a line open: the pulsating field gives no torque, nothing moves.
    double fastest = 0;
    for (std::size_t i = 0; i <= run.row(m[0]); i++)
        fastest = std::max(fastest, std::abs(t[i].speed));
    EXPECT_LT(fastest, 1e-4) << "it does not start";
    EXPECT_GE(run.row(m[0]), 1999u) << "2000 Ticks at rest";
    const std::size_t rest = run.row(m[0]);
    measured["a5_rest_copper"] = kvtest::MeanOver(t, rest, kPeriod, &kvtest::TraceRow::copper);
    // A rotor at rest on the three lines: R times the three currents' squares, 3/2 I^2.
    const double held = PointAVitesseTenue(tagLabo(), 1).courant;
    measured["a5_rest_copper_percent"] = 100 * measured["a5_rest_copper"] / (0.015 * held * held);
    // All three lines: it runs at brake 1.
    kvtest::ExpectSteady(t, run.row(m[1]), "three lines, brake 1");
    const kvtest::TraceRow& three = t[run.row(m[1])];
    measured["a5_speed_percent"] = SpeedPercent(three);
    measured["a5_slip_percent"] = 100 * three.slip;
    measured["a5_copper"] = three.copper;
    // A line opened while it runs: it keeps running, slower, its torque pulsating about the load.
    const std::size_t open = run.row(m[2]);
    kvtest::ExpectSteady(t, open, "one line open, brake 1", kPeriod);
    const double slip = kvtest::MeanOver(t, open, kPeriod, &kvtest::TraceRow::slip);
    measured["a5_open_speed_percent"] = 100 * (1 - slip);
    measured["a5_open_slip_percent"] = 100 * slip;
    double low = 100, high = 0;
    for (std::size_t i = open + 1 - kPeriod; i <= open; i++) {
        low = std::min(low, SpeedPercent(t[i]));
        high = std::max(high, SpeedPercent(t[i]));
    }
    measured["a5_open_low_percent"] = low;
    measured["a5_open_high_percent"] = high;
    measured["a5_open_copper"] = kvtest::MeanOver(t, open, kPeriod, &kvtest::TraceRow::copper);
    measured["a5_copper_ratio"] = measured["a5_open_copper"] / three.copper;
    // On two lines it still carries brake 3.5; at brake 4 it stops, and so it does when the line
    // opens at the rated torque. The steady curve with a line open peaks between the two.
    const std::size_t hold = run.row(m[3]);
    kvtest::ExpectSteady(t, hold, "one line open, brake 3.5", kPeriod);
    measured["a5_hold_brake"] = m[3].brake();
    measured["a5_hold_speed_percent"] =
        100 * (1 - kvtest::MeanOver(t, hold, kPeriod, &kvtest::TraceRow::slip));
    const auto stops = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i <= to; i++)
            if (t[i].speed <= 0) return (t[i].tick - t[from - 1].tick) * kSecondsPerTick;
        ADD_FAILURE() << "it does not stop after Tick " << t[from - 1].tick;
        return 0.0;
    };
    measured["a5_drop_brake"] = m[4].brake();
    measured["a5_drop_rest_s"] = stops(hold + 1, run.row(m[4]));
    kvtest::ExpectSteady(t, run.row(m[5]), "three lines, rated torque");
    measured["a5_rated_brake"] = m[5].brake();
    EXPECT_EQ(m[5].brake(), kv::tools::kRatedTorque);
    measured["a5_rated_rest_s"] = stops(run.row(m[5]) + 1, run.row(m[6]));
    for (int k : {4, 6})
        EXPECT_LT(std::abs(t[run.row(m[k])].speed), 2e-4) << "at rest, brake " << m[k].brake();
    const double open_pull_out = CurveFor("open=1").decrochage.couple;
    EXPECT_GT(open_pull_out, m[3].brake());
    EXPECT_LT(open_pull_out, m[4].brake());
    measured["a5_open_pull_out"] = open_pull_out;
    measured["a5_open_pull_out_rated"] = open_pull_out / kv::tools::kRatedTorque;
    measured["a5_pull_out"] = CurveFor("").decrochage.couple;
    CheckAnswers(measured, "a5_");
}

TEST(Activities, FrequencyPolePairsAndVoverF) {
    const ExampleRun run = RunExample("activity6-frequency-vf.kvs");
    const std::vector<Moment>& m = run.moments;
    ASSERT_EQ(m.size(), 2u);
    std::map<std::string, double> measured;
    const char* names[2] = {"50", "25"};
    for (int k = 0; k < 2; k++) {
        kvtest::ExpectSteady(run.trace, run.row(m[k]), std::string(names[k]) + " Hz");
        const kvtest::TraceRow& row = run.trace[run.row(m[k])];
        const std::string hz = names[k];
        // n_s = 60 f / p with p = 2 pole pairs.
        const double sync_rpm = row.rpm / (1 - row.slip);
        measured["a6_sync_rpm" + hz] = sync_rpm;
        measured["a6_rpm" + hz] = row.rpm;
        measured["a6_slip_percent" + hz] = 100 * row.slip;
        measured["a6_slip_rpm" + hz] = sync_rpm - row.rpm;
        measured["a6_rotor_hz" + hz] = row.rotor_hz;
    }
    // The steady curves' pull-out torques (friction apart): V/f keeps it, voltage alone scales it
    // as its square.
    const tagCaracteristique nominal = CurveFor(""), vf = CurveFor("frequency=50 voltage=50"),
                             low = CurveFor("voltage=70");
    measured["a6_pullout"] = nominal.decrochage_em.couple_em;
    measured["a6_pullout_vf"] = vf.decrochage_em.couple_em;
    measured["a6_pullout_v70"] = low.decrochage_em.couple_em;
    measured["a6_pullout_v70_percent"] =
        100 * low.decrochage_em.couple_em / nominal.decrochage_em.couple_em;
    EXPECT_NEAR(vf.decrochage_em.couple_em / nominal.decrochage_em.couple_em, 1, 0.03);
    EXPECT_NEAR(low.decrochage_em.couple_em / nominal.decrochage_em.couple_em, 0.49, 0.03 * 0.49);
    // At constant V/f the pull-out slip grows as the frequency falls: at 20 % it is still short of
    // standstill and the pull-out torque stays; at 10 % it would lie past standstill, and the
    // largest torque left is the one at rest.
    const tagCaracteristique vf20 = CurveFor("frequency=20 voltage=20"),
                             vf10 = CurveFor("frequency=10 voltage=10");
    measured["a6_pullout_vf20"] = vf20.decrochage_em.couple_em;
    measured["a6_pullout_slip_percent_vf20"] = 100 * vf20.decrochage_em.glissement;
    EXPECT_NEAR(vf20.decrochage_em.couple_em / nominal.decrochage_em.couple_em, 1, 0.01);
    measured["a6_pullout_vf10"] = vf10.decrochage_em.couple_em;
    measured["a6_pullout_vf10_percent"] =
        100 * vf10.decrochage_em.couple_em / nominal.decrochage_em.couple_em;
    EXPECT_EQ(vf10.decrochage_em.glissement, 1) << "at standstill";
    CheckAnswers(measured, "a6_");
}

TEST(Activities, PowerBalanceAndEfficiency) {
    const ExampleRun run = RunExample("activity7-power-balance.kvs");
    const std::vector<Moment>& m = run.moments;
    ASSERT_EQ(m.size(), 2u);
    std::map<std::string, double> measured;
    for (const Moment& moment : m) {
        const std::string b = std::to_string(std::lround(moment.brake()));
        kvtest::ExpectSteady(run.trace, run.row(moment), "brake " + b);
        const kvtest::TraceRow& p = run.trace[run.row(moment)];
        // Rotor copper losses are the slip's share of the air-gap power, to the backward Euler
        // step's own error, which grows as the square of the rotor frequency: 1e-6 at brake 5.
        const double residual = p.copper / (p.slip * p.air_gap) - 1;
        EXPECT_LT(std::abs(residual), b == "5" ? 1e-6 : 1e-5) << "brake " << b;
        measured["a7_residual_ppm" + b] = 1e6 * residual;
        EXPECT_NEAR(p.mechanical / ((1 - p.slip) * p.air_gap), 1, 1e-6) << "brake " << b;
        const double useful = p.mechanical - p.friction;
        measured["a7_air_gap" + b] = p.air_gap;
        measured["a7_copper" + b] = p.copper;
        measured["a7_mechanical" + b] = p.mechanical;
        measured["a7_friction" + b] = p.friction;
        measured["a7_useful" + b] = useful;
        measured["a7_slip_percent" + b] = 100 * p.slip;
        measured["a7_copper_percent" + b] = 100 * p.copper / p.air_gap;
        measured["a7_efficiency_percent" + b] = 100 * useful / p.air_gap;
        measured["a7_rotor_efficiency_percent" + b] = 100 * p.mechanical / p.air_gap;
    }
    CheckAnswers(measured, "a7_");
}

TEST(Activities, StartingCurrentStallAndRestart) {
    const ExampleRun run = RunExample("activity8-starting-restart.kvs");
    const std::vector<Moment>& m = run.moments;
    const std::vector<kvtest::TraceRow>& t = run.trace;
    ASSERT_EQ(m.size(), 6u);
    using Row = kvtest::TraceRow;
    std::map<std::string, double> measured;
    // Held at rest (brake 8 before the start, stalled at 25, still at rest at 7): the rotor only
    // trembles, and it takes the starting current and gives the starting torque.
    for (int k : {0, 2, 3})
        EXPECT_LT(std::abs(t[run.row(m[k])].speed), 2e-4) << "at rest, brake " << m[k].brake();
    const std::size_t held = run.row(m[0]);
    measured["a8_start_torque"] = kvtest::MeanOver(t, held, kPeriod, &Row::torque);
    measured["a8_start_current"] = kvtest::MeanOver(t, held, kPeriod, &Row::rotor_current);
    measured["a8_start_over_rated"] = measured["a8_start_torque"] / kv::tools::kRatedTorque;
    kvtest::ExpectSteady(t, run.row(m[1]), "brake 5");
    const Row& running = t[run.row(m[1])];
    measured["a8_run_current"] = running.rotor_current;
    measured["a8_current_ratio"] = measured["a8_start_current"] / running.rotor_current;
    measured["a8_run_current_percent"] = 100 * running.rotor_current / measured["a8_start_current"];
    measured["a8_run_slip_percent"] = 100 * running.slip;
    // Stalled: the same current and torque as at the start.
    const std::size_t stalled = run.row(m[2]);
    measured["a8_stall_current"] = kvtest::MeanOver(t, stalled, kPeriod, &Row::rotor_current);
    std::size_t rest = run.row(m[1]) + 1;
    while (rest < stalled && t[rest].speed > 0)
        rest++;
    ASSERT_LT(rest, stalled) << "it stalls";
    measured["a8_stall_rest_s"] = (t[rest].tick - m[1].tick()) * kSecondsPerTick;
    measured["a8_held_brake"] = m[3].brake();
    // Restarted at brake 5: the same operating point as before.
    kvtest::ExpectSteady(t, run.row(m[4]), "brake 5 again");
    EXPECT_NEAR(t[run.row(m[4])].slip, running.slip, 1e-6);
    measured["a8_restart_slip_percent"] = 100 * t[run.row(m[4])].slip;
    // At the rated torque: the starting current against the rated current.
    kvtest::ExpectSteady(t, run.row(m[5]), "rated torque");
    EXPECT_EQ(m[5].brake(), kv::tools::kRatedTorque);
    const Row& rated = t[run.row(m[5])];
    measured["a8_rated_current"] = rated.rotor_current;
    measured["a8_rated_slip_percent"] = 100 * rated.slip;
    measured["a8_rated_current_ratio"] = measured["a8_start_current"] / rated.rotor_current;
    measured["a8_pull_out_slip_percent"] = 100 * CurveFor("").decrochage.glissement;
    CheckAnswers(measured, "a8_");
}

TEST(Activities, RotorResistanceAndTheCurvesShape) {
    const ExampleRun run = RunExample("activity9-rotor-resistance.kvs");
    const std::vector<Moment>& m = run.moments;
    const std::vector<kvtest::TraceRow>& t = run.trace;
    ASSERT_EQ(m.size(), 8u);
    std::map<std::string, double> measured;
    // Part A at rest, Part B at brake 2, each for 0.5, 1, 2 and 4 times the nominal resistance.
    const char* names[4] = {"05", "1", "2", "4"};
    const char* values[4] = {"0.5", "1", "2", "4"};
    const int light[4] = {7, 6, 5, 4};
    for (int k = 0; k < 4; k++) {
        const std::string n = names[k];
        const std::size_t held = run.row(m[k]);
        EXPECT_LT(std::abs(t[held].speed), 2e-4) << "at rest, resistance " << values[k];
        const double start = kvtest::MeanOver(t, held, kPeriod, &kvtest::TraceRow::torque);
        measured["a9_start_torque" + n] = start;
        kvtest::ExpectSteady(t, run.row(m[light[k]]), std::string("resistance ") + values[k]);
        measured["a9_slip_percent" + n] = 100 * t[run.row(m[light[k]])].slip;
        // The steady curve: the same pull-out torque, at a slip in proportion.
        const tagLabo settings = LabFor(std::string("resistance=") + values[k]);
        const tagCaracteristique c = MesureCaracteristique(settings);
        measured["a9_pullout" + n] = c.decrochage_em.couple_em;
        measured["a9_pullout_slip_percent" + n] = 100 * c.decrochage_em.glissement;
        // The starting torque the runs give is the curve's at standstill.
        EXPECT_NEAR(start, PointAVitesseTenue(settings, 1).couple, 0.01 * start);
    }
    // Light-load slip and pull-out slip in proportion to the resistance, the pull-out torque the
    // same.
    const double k[4] = {0.5, 1, 2, 4};
    for (int i = 0; i < 4; i++) {
        const std::string n = names[i];
        EXPECT_NEAR(measured["a9_slip_percent" + n] / (k[i] * measured["a9_slip_percent1"]), 1,
                    0.02)
            << values[i];
        EXPECT_NEAR(measured["a9_pullout_slip_percent" + n] /
                        (k[i] * measured["a9_pullout_slip_percent1"]),
                    1, 0.02)
            << values[i];
        EXPECT_NEAR(measured["a9_pullout" + n] / measured["a9_pullout1"], 1, 0.03) << values[i];
    }
    EXPECT_GT(measured["a9_start_torque4"], measured["a9_start_torque2"]);
    EXPECT_GT(measured["a9_start_torque2"], measured["a9_start_torque1"]);
    EXPECT_GT(measured["a9_start_torque1"], measured["a9_start_torque05"]);
    CheckAnswers(measured, "a9_");
}

TEST(Activities, TheLoadsLaw) {
    const ExampleRun run = RunExample("activity10-load-laws.kvs");
    const std::vector<Moment>& m = run.moments;
    ASSERT_EQ(m.size(), 4u);
    std::map<std::string, double> measured;
    // Quadratic (a fan), linear, constant: the brake times (n / n_s) to the power 2, 1, 0.
    const char* laws[3] = {"quadratic", "linear", "constant"};
    for (int k = 0; k < 3; k++) {
        const std::string law = laws[k];
        kvtest::ExpectSteady(run.trace, run.row(m[k]), law);
        const kvtest::TraceRow& row = run.trace[run.row(m[k])];
        EXPECT_NEAR(row.load, row.brake * std::pow(1 - row.slip, 2 - k), 1e-9) << law;
        measured["a10_load_" + law] = row.load;
        measured["a10_speed_percent_" + law] = SpeedPercent(row);
        measured["a10_slip_percent_" + law] = 100 * row.slip;
    }
    measured["a10_brake"] = m[0].brake();
    // A fan's torque rises with the speed faster than the motor's past its pull-out slip: the
    // motor settles there, on the branch a constant load cannot hold.
    kvtest::ExpectSteady(run.trace, run.row(m[3]), "fan, brake 40");
    const kvtest::TraceRow& fan = run.trace[run.row(m[3])];
    const double pull_out_slip = CurveFor("").decrochage.glissement;
    EXPECT_GT(fan.slip, 2 * pull_out_slip);
    measured["a10_fan_brake"] = m[3].brake();
    measured["a10_fan_slip_percent"] = 100 * fan.slip;
    measured["a10_fan_load"] = fan.load;
    measured["a10_pull_out_slip_percent"] = 100 * pull_out_slip;
    CheckAnswers(measured, "a10_");
}

// The rated point: the rotor held at the slip where the useful torque is T_N, its turn's current
// and its speed in synchronous speeds.
tagPointPermanent RatedPoint() {
    double low = 0.01, high = 0.1;
    for (int k = 0; k < 30; k++) {
        const double g = (low + high) / 2;
        (PointAVitesseTenue(tagLabo(), g).couple < kv::tools::kRatedTorque ? low : high) = g;
    }
    return PointAVitesseTenue(tagLabo(), low);
}

TEST(Activities, StartingMethods) {
    // The start's columns, which give its step: the trace begins with a start's setting changed.
    const ExampleRun run = RunExample("activity13-starting-methods.kvs", "lab switch_time=1\n");
    const std::vector<Moment>& m = run.moments;
    const std::vector<kvtest::TraceRow>& t = run.trace;
    ASSERT_EQ(m.size(), 9u);
    const tagPointPermanent rated = RatedPoint();
    std::map<std::string, double> measured;
    measured["a13_rated_current"] = rated.courant;
    measured["a13_rated_speed_percent"] = 100 * (1 - rated.glissement);
    measured["a13_brake"] = m[0].brake();
    const double reached = 0.95 * (1 - rated.glissement) * kSync;
    const char* names[5] = {"direct", "star_delta", "soft", "vf", "rotor"};
    for (int k = 0; k < 5; k++) {
        const std::string name = names[k];
        // From the switching on, the rotor at rest, to the state 2 s later.
        const std::size_t on = k == 0 ? 0 : run.row(m[2 * k - 1]) + 1;
        const std::size_t end = run.row(m[2 * k]);
        if (k > 0) {
            // At rest the brake's step, 5 / 200000 rad per Tick, is all that moves it.
            EXPECT_LT(std::abs(t[on - 1].speed), 3e-5) << name << " starts from rest";
        }
        // The line current, as a clamp meter shows it: its RMS over a 50 Hz cycle, 100 Ticks; in
        // star a line carries a coil's current, 1/sqrt(3) of what it carries in delta.
        double sum = 0, peak = 0, heat = 0, star_peak = 0, turns_heat = 0;
        std::size_t above = 0, up = 0;
        std::vector<double> squares(kPeriod, 0);
        for (std::size_t i = on; i <= end; i++) {
            const bool star = k == 1 && t[i].start_stage == 1;
            const double square = t[i].rotor_current * t[i].rotor_current / (star ? 3 : 1);
            sum += square - squares[i % kPeriod];
            squares[i % kPeriod] = square;
            const double current = std::sqrt(std::max(sum, 0.0) / kPeriod) / rated.courant;
            peak = std::max(peak, current);
            if (star) star_peak = std::max(star_peak, current);
            if (current > 2) above++;
            if (up == 0) {
                heat += t[i].copper * PAS_TEMPS;
                // The wound rotor's resistors, 4, 3 and 2 times its own resistance at steps 1 to
                // 3, take their share outside the motor.
                const double stage = t[i].start_stage;
                const double resistors = k == 4 && stage > 0 ? 5 - stage : 1;
                turns_heat += t[i].copper * PAS_TEMPS / resistors;
                if (t[i].speed >= reached) up = i - on + 1;
            }
        }
        ASSERT_NE(up, 0u) << name << " reaches speed";
        kvtest::ExpectSteady(t, end, name);
        EXPECT_EQ(t[end].start_stage, 0) << name << ": the start is over";
        measured["a13_peak_" + name] = peak;
        measured["a13_above2_ms_" + name] = static_cast<double>(above) * 0.2;
        measured["a13_up_ms_" + name] = static_cast<double>(up) * 0.2;
        measured["a13_heat_" + name] = heat;
        measured["a13_speed_percent_" + name] = SpeedPercent(t[end]);
        if (k > 0) {
            measured["a13_heat_ratio_" + name] = heat / measured["a13_heat_direct"];
            EXPECT_NEAR(t[end].slip, t[run.row(m[0])].slip, 1e-5)
                << name << " ends where direct on line does";
        }
        if (k == 1) {
            measured["a13_star_peak"] = star_peak;
            measured["a13_star_ratio"] = star_peak / measured["a13_peak_direct"];
        }
        if (k == 4) measured["a13_turns_heat_ratio"] = turns_heat / measured["a13_heat_direct"];
    }
    CheckAnswers(measured, "a13_");
}

} // namespace
