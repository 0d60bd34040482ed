// The numbers docs/model.md and docs/modele.md quote, measured again from the runs that
// scripts/make-docs.sh draws its figures from (see script/quoted_numbers.h): a change of the model
// or of those runs makes this fail.
#include "script/quoted_numbers.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace {

// One row of a trace CSV: what the figures and the numbers use.
struct Point {
    double tick;
    double phase;
    double speed; // rad per Tick, positive in the driving direction
    double torque;
    double brake;
};

std::vector<Point> ReadTrace(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::vector<Point> rows;
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        // The model's own columns come first; real values and settings follow.
        std::vector<double> v;
        std::istringstream cells(line);
        for (std::string cell; v.size() < 18 && std::getline(cells, cell, ',');)
            v.push_back(std::stod(cell));
        EXPECT_EQ(v.size(), 18u) << path;
        if (v.size() == 18) rows.push_back({v[0], v[2], -v[4], v[7], v[8]});
    }
    EXPECT_FALSE(rows.empty()) << path;
    return rows;
}

// The runs of scripts/make-docs.sh, in its data-only form: the same CSVs the figures are drawn
// from.
std::string MakeDocsData() {
    const std::string dir = kvtest::scratch_dir("data");
    const std::string command = "KORVELINE_SCRIPT='" + std::string(KORVELINE_SCRIPT_PROGRAM) +
                                "' bash '" + KORVELINE_SOURCE_DIR +
                                "/scripts/make-docs.sh' --data-only '" + dir + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir;
}

std::map<std::string, double> Measure() {
    const std::string data = MakeDocsData();
    std::map<std::string, double> m;
    const std::vector<Point> b0 = ReadTrace(data + "/runup-brake0.csv");
    if (b0.size() < 2) return m;
    const double sync = b0[0].phase - b0[1].phase; // the field's turn per Tick
    m["sync_rad_per_tick"] = sync;
    m["sync_rad_per_s"] = sync / 0.05;
    m["sync_rev_per_min"] = sync / 0.05 * 60 / (2 * std::numbers::pi);
    m["supply_period_s"] = 2 * std::numbers::pi / sync * 0.05;

    // The supply is switched on at Tick 1, before the first row.
    const auto seconds = [](const Point& p) { return (p.tick - 1) * 0.05; };
    const auto cross =
        std::find_if(b0.begin(), b0.end(), [&](const Point& p) { return p.speed > sync; });
    const auto peak = std::max_element(
        b0.begin(), b0.end(), [](const Point& a, const Point& b) { return a.speed < b.speed; });
    if (cross == b0.end()) return m;
    m["runup_cross_s"] = seconds(*cross);
    m["runup_peak_s"] = seconds(*peak);
    m["runup_peak_speed"] = peak->speed;
    m["runup_peak_percent"] = 100 * peak->speed / sync;
    m["b0_speed"] = b0.back().speed;
    m["b0_percent"] = 100 * b0.back().speed / sync;
    m["b0_slip_percent"] = 100 * (1 - b0.back().speed / sync);

    const std::vector<Point> b2 = ReadTrace(data + "/runup-brake2.csv");
    m["b2_slip_percent"] = 100 * (1 - b2.back().speed / sync);
    const std::vector<Point> b5 = ReadTrace(data + "/runup-brake5.csv");
    m["b5_speed"] = b5.back().speed;
    m["b5_percent"] = 100 * b5.back().speed / sync;
    m["b5_slip_percent"] = 100 * (1 - b5.back().speed / sync);
    m["b5_torque"] = b5.back().torque;

    // Too much brake before the start: the rotor only trembles, under the starting torque.
    const std::vector<Point> b7 = ReadTrace(data + "/runup-brake7.csv");
    double tremble = 0;
    for (const Point& p : b7)
        tremble = std::max(tremble, std::abs(p.speed));
    m["b7_max_speed"] = tremble;
    m["start_torque"] = b7.back().torque;

    // The brake raised by half a unit every 100 s of a running motor: the last Tick of each step.
    std::vector<Point> steps;
    for (int k = 0; k <= 50; k++) {
        char name[32];
        std::snprintf(name, sizeof name, "/sweep-%02d.csv", k);
        const std::vector<Point> step = ReadTrace(data + name);
        if (!step.empty()) steps.push_back(step.back());
    }
    const auto stall = std::find_if(steps.begin(), steps.end(),
                                    [&](const Point& p) { return p.speed < 0.5 * sync; });
    EXPECT_NE(stall, steps.begin());
    EXPECT_NE(stall, steps.end());
    if (stall == steps.begin() || stall == steps.end()) return m;
    m["pullout_brake"] = (stall - 1)->brake;
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
