// The numbers docs/model.md and docs/modele.md quote, measured again from the program's own runs
// (see script/quoted_numbers.h): a change of the model makes this fail.
#include "script/quoted_numbers.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace {

struct Point {
    double brake;
    double speed;  // rad per Tick, positive in the driving direction
    double torque; // the useful torque of the last step
};

std::string BrakeClicks(double brake) {
    std::string s;
    for (int i = 0; i < static_cast<int>(std::lround(brake * 2)); i++)
        s += "click left 250 465\n";
    return s;
}

std::vector<Point> Run(const std::string& script) {
    const auto run = kvtest::run_script(script);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    std::vector<Point> points;
    for (const std::string& line : run.out_lines())
        points.push_back({kvtest::Field(line, "couple"), -kvtest::Field(line, "omega"),
                          kvtest::Field(line, "last_torque")});
    return points;
}

// The brake set first, the supply switched on, then the state after every Tick.
std::vector<Point> RunUp(double brake, int ticks) {
    std::string script = BrakeClicks(brake) + "click left 25 25\n";
    for (int i = 0; i < ticks; i++)
        script += "tick\nstate\n";
    return Run(script);
}

std::map<std::string, double> Measure() {
    std::map<std::string, double> m;
    const std::string first = kvtest::run_script("state\n").out;
    const double sync = -kvtest::Field(first, "phase_step"); // the field's turn per Tick
    m["sync_rad_per_tick"] = sync;
    m["sync_rad_per_s"] = sync / 0.05;
    m["sync_rev_per_min"] = sync / 0.05 * 60 / (2 * std::numbers::pi);
    m["supply_period_s"] = 2 * std::numbers::pi / sync * 0.05;

    const std::vector<Point> b0 = RunUp(0, 6000);
    const auto cross =
        std::find_if(b0.begin(), b0.end(), [&](const Point& p) { return p.speed > sync; });
    const auto peak = std::max_element(
        b0.begin(), b0.end(), [](const Point& a, const Point& b) { return a.speed < b.speed; });
    m["runup_cross_s"] = static_cast<double>(cross - b0.begin() + 1) * 0.05;
    m["runup_peak_s"] = static_cast<double>(peak - b0.begin() + 1) * 0.05;
    m["runup_peak_speed"] = peak->speed;
    m["runup_peak_percent"] = 100 * peak->speed / sync;
    m["b0_speed"] = b0.back().speed;
    m["b0_percent"] = 100 * b0.back().speed / sync;
    m["b0_slip_percent"] = 100 * (1 - b0.back().speed / sync);

    const std::vector<Point> b2 = RunUp(2, 6000);
    m["b2_slip_percent"] = 100 * (1 - b2.back().speed / sync);
    const std::vector<Point> b5 = RunUp(5, 6000);
    m["b5_speed"] = b5.back().speed;
    m["b5_percent"] = 100 * b5.back().speed / sync;
    m["b5_slip_percent"] = 100 * (1 - b5.back().speed / sync);
    m["b5_torque"] = b5.back().torque;

    // Too much brake before the start: the rotor only trembles, under the starting torque.
    const std::vector<Point> b7 = RunUp(7, 6000);
    double tremble = 0;
    for (const Point& p : b7)
        tremble = std::max(tremble, std::abs(p.speed));
    m["b7_max_speed"] = tremble;
    m["start_torque"] = b7.back().torque;

    // The brake raised by half a unit every 100 s of a running motor, until it stalls.
    std::string sweep = "click left 25 25\ntick 4000\nstate\n";
    for (int i = 0; i < 50; i++)
        sweep += "click left 250 465\ntick 2000\nstate\n";
    const std::vector<Point> steps = Run(sweep);
    const auto stall = std::find_if(steps.begin(), steps.end(),
                                    [&](const Point& p) { return p.speed < 0.5 * sync; });
    EXPECT_NE(stall, steps.begin());
    EXPECT_NE(stall, steps.end());
    if (stall == steps.begin() || stall == steps.end()) return m;
    const Point& last_running = *(stall - 1);
    m["pullout_brake"] = last_running.brake;
    m["stall_brake"] = stall->brake;
    return m;
}

TEST(DocsNumbers, TheModelDocsQuoteWhatTheRunsGive) {
    const std::map<std::string, double> measured = Measure();
    for (const auto& [name, value] : measured)
        std::printf("%-22s %.17g\n", name.c_str(), value);
    kvtest::CheckQuoted("docs/model.md", measured);
    kvtest::CheckQuoted("docs/modele.md", measured);
}

} // namespace
