// Scripted runs of the whole program compared, Tick by Tick and to the last bit, with the motor's
// equations worked independently here: supply phase first, then the rotor angle, each turn's flux,
// current and force, the useful torque and the two speed tests.
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Reference {
    double amplitude = 0, phase = 0, couple = 0;
    double phi[3] = {0, 0, 0}, i[3] = {0, 0, 0};
    double theta = 0, omega = 0, torque = 0;

    void tick() {
        const double delta[3] = {0.0, 1.0471975511965976, 2.0943951023931953};
        phase = phase + -0.06283185307179587;
        theta = theta + omega;
        double force[3];
        for (int k = 0; k < 3; ++k) {
            const double phi_old = phi[k], i_old = i[k];
            const double u = phase - (theta - 1.5707963267948966 - delta[k]);
            phi[k] = amplitude * std::cos(u);
            i[k] = (i_old * 0.0002 / 0.0002 - (phi[k] - phi_old) / 0.0002) / 1.01;
            force[k] = std::sin(u) * (-amplitude) * i[k];
        }
        torque = (force[0] + force[1] + force[2]) + omega * 10;
        if (omega >= 0) omega = omega - (torque + couple) / 200000;
        if (omega < 0) omega = omega - (torque - couple) / 200000;
    }
};

std::string g17(double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%.17g", v);
    return b;
}

// The value of "key" in a state line, as printed.
std::string field(const std::string& line, const std::string& object, const std::string& key) {
    const std::size_t o = line.find("\"" + object + "\":{");
    if (o == std::string::npos) return "<no " + object + ">";
    const std::size_t k = line.find("\"" + key + "\":", o);
    if (k == std::string::npos) return "<no " + key + ">";
    const std::size_t start = k + key.size() + 3;
    return line.substr(start, line.find_first_of(",}", start) - start);
}

double number(const std::string& line, const std::string& object, const std::string& key) {
    return std::stod(field(line, object, key));
}

std::string repeat(const std::string& text, int n) {
    std::string s;
    for (int k = 0; k < n; ++k)
        s += text;
    return s;
}

void expect_matches(const Reference& r, const std::string& line, int tick) {
    ASSERT_EQ(line.substr(0, 8 + std::to_string(tick).size()), "{\"tick\":" + std::to_string(tick));
    EXPECT_EQ(field(line, "alim", "phase"), g17(r.phase)) << "tick " << tick;
    EXPECT_EQ(field(line, "alim", "amplitude"), g17(r.amplitude)) << "tick " << tick;
    const char* phis[3] = {"phi1", "phi2", "phi3"};
    const char* currents[3] = {"i1", "i2", "i3"};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(field(line, "mas", phis[k]), g17(r.phi[k])) << "tick " << tick;
        EXPECT_EQ(field(line, "mas", currents[k]), g17(r.i[k])) << "tick " << tick;
    }
    EXPECT_EQ(field(line, "mas", "theta"), g17(r.theta)) << "tick " << tick;
    EXPECT_EQ(field(line, "mas", "omega"), g17(r.omega)) << "tick " << tick;
    EXPECT_EQ(field(line, "courbe", "last_torque"), g17(r.torque)) << "tick " << tick;
    EXPECT_EQ(field(line, "courbe", "last_omega"), g17(r.omega)) << "tick " << tick;
    EXPECT_EQ(field(line, "frein", "couple"), g17(r.couple)) << "tick " << tick;
}

TEST(ModelRun, StartUpHasRunExactlyOneTickWithTheSupplyOff) {
    const auto run = kvtest::run_script("state\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    ASSERT_EQ(run.out_lines().size(), 1u);
    const std::string expected =
        "{\"tick\":1,\"alim\":{\"amplitude\":0,\"phase\":-0.062831853071795868,"
        "\"phase_step\":-0.062831853071795868},\"mas\":{\"phi1\":0,\"i1\":0,\"phi2\":-0,"
        "\"i2\":0,\"phi3\":-0,\"i3\":0,\"theta\":0,\"omega\":0},\"courbe\":{\"last_torque\":0,"
        "\"last_omega\":0},\"frein\":{\"couple\":0,\"couple_step\":0.5},\"masdessin\":{"
        "\"show_field1\":false,\"show_field2\":false,\"show_field3\":false,"
        "\"show_resultant\":false}}";
    EXPECT_EQ(run.out_lines()[0], expected);
}

TEST(ModelRun, RunUpMatchesTheEquationsAtEveryTickToTheLastBit) {
    const auto run =
        kvtest::run_script("click left 25 25\nstate\n" + repeat("tick\nstate\n", 3999));
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto lines = run.out_lines();
    ASSERT_EQ(lines.size(), 4000u);

    Reference r;
    r.tick(); // the Tick inside window creation, supply off
    r.amplitude = 0.075;
    expect_matches(r, lines[0], 1);
    double lowest = 0;
    for (int t = 2; t <= 4000; ++t) {
        r.tick();
        expect_matches(r, lines[static_cast<std::size_t>(t - 1)], t);
        if (::testing::Test::HasFailure()) return; // one diverging Tick says it all
        lowest = std::min(lowest, number(lines[static_cast<std::size_t>(t - 1)], "mas", "omega"));
    }
    // Runs past the synchronous speed (-2pi/100), overshoots, settles just short of it.
    EXPECT_NEAR(lowest, -0.0649, 0.0002);
    EXPECT_NEAR(number(lines.back(), "mas", "omega"), -0.06268, 0.00005);
    EXPECT_NEAR(number(lines.back(), "courbe", "last_torque"), 0.0, 0.1);
}

TEST(ModelRun, WithBrakeFiveTheSpeedSettlesWhereTheTorqueIsFive) {
    const auto run = kvtest::run_script("click left 25 25\n" + repeat("click left 250 465\n", 10) +
                                        "tick 3999\nstate\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto lines = run.out_lines();
    ASSERT_EQ(lines.size(), 1u);
    Reference r;
    r.tick();
    r.amplitude = 0.075;
    r.couple = 5.0;
    for (int t = 2; t <= 4000; ++t)
        r.tick();
    expect_matches(r, lines[0], 4000);
    EXPECT_NEAR(number(lines[0], "mas", "omega"), -0.0615, 0.0002);
    EXPECT_NEAR(number(lines[0], "courbe", "last_torque"), 5.0, 0.05);
}

TEST(ModelRun, ClicksSetTheFlagsAndTheBrakeNeverGoesBelowZero) {
    const auto run = kvtest::run_script("click left 100 300\n" // left coil
                                        "click left 300 100\n" // upper-right coil
                                        "click left 300 375\n" // lower-right coil and rotor
                                        "click left 250 465\n" // brake
                                        "click right 250 465\n"
                                        "click right 250 465\n"
                                        "state\n"
                                        "click right 120 300\n" // hides the left coil's field
                                        "click right 260 290\n" // rotor
                                        "state\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto lines = run.out_lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(field(lines[0], "masdessin", "show_field1"), "true");
    EXPECT_EQ(field(lines[0], "masdessin", "show_field2"), "true");
    EXPECT_EQ(field(lines[0], "masdessin", "show_field3"), "true");
    EXPECT_EQ(field(lines[0], "masdessin", "show_resultant"), "true");
    EXPECT_EQ(field(lines[0], "frein", "couple"), "0");
    EXPECT_EQ(field(lines[1], "masdessin", "show_field1"), "false");
    EXPECT_EQ(field(lines[1], "masdessin", "show_field2"), "true");
    EXPECT_EQ(field(lines[1], "masdessin", "show_resultant"), "false");
    EXPECT_EQ(field(lines[1], "alim", "amplitude"), "0") << "no click reached the switch";
}

} // namespace
