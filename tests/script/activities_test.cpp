// The classroom activities' scripts, run as a teacher would, and the answers docs/activities.md
// and docs/activites.md give, measured again from the scripts' own output and from a trace of the
// same run. An answer given as a steady value is checked to be one.
#include "script/quoted_numbers.h"
#include "script/run_script.h"

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

// The script as it stands, with a trace of every Tick written on the side.
ExampleRun RunExample(const std::string& name) {
    std::ifstream in(KORVELINE_SOURCE_DIR "/examples/" + name);
    std::ostringstream script;
    const std::string trace = kvtest::scratch_dir("trace") + "/trace.csv";
    script << "trace " << trace << "\n" << in.rdbuf();
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

} // namespace
