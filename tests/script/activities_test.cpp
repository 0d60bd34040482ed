// The classroom activities' scripts, run as a teacher would, and the answers docs/activities.md
// and docs/activites.md give, measured again from the scripts' own output.
#include "script/quoted_numbers.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
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

std::vector<Moment> RunExample(const std::string& name) {
    const auto run = kvtest::run_program(kvtest::quoted(KORVELINE_SOURCE_DIR "/examples/" + name));
    EXPECT_EQ(run.exit_code, 0) << run.err;
    std::vector<Moment> moments;
    for (const std::string& line : run.out_lines()) {
        if (line.starts_with("{"))
            moments.push_back({line, {}});
        else if (line.starts_with("pixel ") && !moments.empty())
            moments.back().pixels.push_back(line.substr(6));
    }
    return moments;
}

constexpr double kSync = 2 * std::numbers::pi / 100; // rad per Tick
constexpr double kSecondsPerTick = 0.05;

double SlipPercent(const Moment& m) {
    return 100 * (1 - m.speed() / kSync);
}

TEST(Activities, RotatingFieldFromThreePulsatingFields) {
    const std::vector<Moment> m = RunExample("activity1-rotating-field.kvs");
    ASSERT_EQ(m.size(), 8u);
    const std::string blue = "0000FF", black = "000000", background = "00C8C8";
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

    std::map<std::string, double> measured;
    measured["a1_zero_s"] = (m[1].tick() - m[0].tick()) * kSecondsPerTick;
    measured["a1_reverse_s"] = (m[2].tick() - m[0].tick()) * kSecondsPerTick;
    measured["a1_quarter_turn_s"] = (m[4].tick() - m[3].tick()) * kSecondsPerTick;
    measured["a1_turn_s"] = (m[7].tick() - m[3].tick()) * kSecondsPerTick;
    kvtest::CheckQuoted("docs/activities.md", measured, "a1_");
    kvtest::CheckQuoted("docs/activites.md", measured, "a1_");
}

TEST(Activities, LoadSlipAndTheOperatingPoint) {
    const std::vector<Moment> m = RunExample("activity2-load-slip.kvs");
    ASSERT_EQ(m.size(), 4u);
    std::map<std::string, double> measured;
    for (const Moment& moment : m) {
        const std::string b = std::to_string(std::lround(moment.brake()));
        measured["a2_slip" + b + "_percent"] = SlipPercent(moment);
        measured["a2_torque" + b] = moment.torque();
    }
    EXPECT_EQ(measured.size(), 8u) << "brakes 0, 2, 4 and 6";
    kvtest::CheckQuoted("docs/activities.md", measured, "a2_");
    kvtest::CheckQuoted("docs/activites.md", measured, "a2_");
}

TEST(Activities, OverloadAndStall) {
    const std::vector<Moment> m = RunExample("activity3-overload-stall.kvs");
    ASSERT_EQ(m.size(), 7u);
    std::map<std::string, double> measured;
    measured["a3_blocked_brake"] = m[0].brake();
    measured["a3_blocked_speed"] = std::max(std::abs(m[0].speed()), std::abs(m[1].speed()));
    measured["a3_start_torque"] = m[1].torque();
    measured["a3_restart_brake"] = m[2].brake();
    measured["a3_restart_slip_percent"] = SlipPercent(m[2]);
    for (int k = 3; k < 6; k++)
        measured["a3_slip" + std::to_string(std::lround(m[k].brake())) + "_percent"] =
            SlipPercent(m[k]);
    measured["a3_stall_brake"] = m[6].brake();
    measured["a3_stall_speed"] = std::abs(m[6].speed());
    measured["a3_stall_torque"] = m[6].torque();
    kvtest::CheckQuoted("docs/activities.md", measured, "a3_");
    kvtest::CheckQuoted("docs/activites.md", measured, "a3_");
}

} // namespace
