// Activities 11 and 12, the real motor against its load and in each coupling: their scripts run as
// a teacher would, traced, and every answer docs/activities.md and docs/activites.md give measured
// again from the trace's period averages. A value given as steady is checked to be one.
#include "model/caracteristique.h"
#include "model/unites.h"
#include "script/quoted_numbers.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using kvtest::TraceRow;
using Columns = std::map<std::string, double>;

// The script's run: every Tick's row, and at each `state` line all the trace's columns by name.
struct ActivityRun {
    std::vector<TraceRow> trace;
    std::vector<std::size_t> rows; // the trace's row of each `state` line
    std::vector<Columns> states;
    std::vector<std::map<std::string, std::string>> settings; // the same rows' cells as written
};

ActivityRun RunActivity(const std::string& script_name) {
    std::ifstream in(std::string(KORVELINE_SOURCE_DIR "/examples/") + script_name);
    std::string first;
    std::getline(in, first);
    std::ostringstream script;
    // The trace starts after the first `lab` line, which sets the real motor: it has its columns.
    std::string line;
    bool traced = false;
    const std::string csv = kvtest::scratch_dir(script_name) + "/trace.csv";
    script << first << "\n";
    while (std::getline(in, line)) {
        script << line << "\n";
        if (!traced && line.starts_with("lab ")) {
            script << "trace " << csv << "\n";
            traced = true;
        }
    }
    EXPECT_TRUE(traced);
    const auto run = kvtest::run_script(script.str());
    EXPECT_EQ(run.exit_code, 0) << run.err;
    std::set<long> ticks;
    std::vector<long> order;
    for (const std::string& out : run.out_lines()) {
        if (out.starts_with("{")) {
            order.push_back(std::lround(kvtest::Field(out, "tick")));
            ticks.insert(order.back());
        }
    }
    ActivityRun r;
    r.trace = kvtest::ReadTrace(csv);
    // The `state` rows' columns, by name.
    std::ifstream rows(csv);
    std::getline(rows, line);
    std::vector<std::string> names;
    {
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            names.push_back(cell);
    }
    std::map<long, Columns> at;
    std::map<long, std::map<std::string, std::string>> written;
    while (std::getline(rows, line)) {
        const long tick = std::strtol(line.c_str(), nullptr, 10);
        if (!ticks.contains(tick)) continue;
        std::istringstream cells(line);
        Columns& c = at[tick];
        std::size_t k = 0;
        for (std::string cell; std::getline(cells, cell, ',') && k < names.size(); ++k) {
            c[names[k]] = std::strtod(cell.c_str(), nullptr);
            written[tick][names[k]] = cell;
        }
    }
    for (const long tick : order) {
        EXPECT_TRUE(at.contains(tick)) << "a traced row at Tick " << tick;
        r.states.push_back(at[tick]);
        r.settings.push_back(written[tick]);
        r.rows.push_back(static_cast<std::size_t>(tick - std::lround(r.trace.front().tick)));
    }
    return r;
}

// The balance of a period closes: P_a = P_js + P_fer + P_jr + P_m.
void ExpectBalance(const Columns& c, const std::string& what) {
    EXPECT_NEAR(c.at("period_stator_copper_losses_w") + c.at("period_iron_losses_w") +
                    c.at("period_rotor_copper_losses_w") + c.at("period_mechanical_power_w"),
                c.at("period_absorbed_power_w"), 1e-6 * c.at("period_absorbed_power_w"))
        << what;
}

// A point's readout figures, under `prefix`.
void Readout(std::map<std::string, double>& m, const std::string& prefix, const Columns& c) {
    m[prefix + "_nm"] = c.at("period_useful_torque_nm");
    m[prefix + "_rpm"] = c.at("speed_rpm");
    m[prefix + "_slip_percent"] = 100 * c.at("slip");
    m[prefix + "_current"] = c.at("period_line_current_a");
    m[prefix + "_cos_phi"] = c.at("period_cos_phi");
    m[prefix + "_pa"] = c.at("period_absorbed_power_w");
    m[prefix + "_pjs"] = c.at("period_stator_copper_losses_w");
    m[prefix + "_pfer"] = c.at("period_iron_losses_w");
    m[prefix + "_pjr"] = c.at("period_rotor_copper_losses_w");
    m[prefix + "_pm"] = c.at("period_mechanical_power_w");
    m[prefix + "_pu"] = c.at("period_useful_power_w");
    m[prefix + "_eff_percent"] = 100 * c.at("period_efficiency");
}

// The rows in [from, to] turning faster than 1 rpm: a rotor at rest only trembles.
int TurningRows(const std::vector<TraceRow>& trace, std::size_t from, std::size_t to) {
    int turning = 0;
    for (std::size_t r = from; r <= to; ++r)
        turning += std::abs(trace[r].rpm) >= 1 ? 1 : 0;
    return turning;
}

void Print(const std::map<std::string, double>& m) {
    for (const auto& [name, value] : m)
        std::printf("%-28s %.17g\n", name.c_str(), value);
}

TEST(Activities, PowerFactorAndEfficiencyAgainstLoad) {
    const ActivityRun run = RunActivity("activity11-power-factor.kvs");
    ASSERT_EQ(run.states.size(), 6u);
    std::map<std::string, double> m;
    const int pairs = 2;
    m["a11_nm_per_brake"] = NewtonMetres(1, pairs);
    m["a11_rated_brake"] = CoupleDuModele(26.3, pairs);
    EXPECT_GT(m["a11_rated_brake"], 2);
    EXPECT_LT(m["a11_rated_brake"], 2.5) << "brake 2 is the nearest click";

    // No load, a quarter, half, rated, one and a half times: brakes 0 to 3, each steady.
    const char* names[5] = {"a11_noload", "a11_quarter", "a11_half", "a11_rated", "a11_over"};
    const double brakes[5] = {0, 0.5, 1, 2, 3};
    for (std::size_t k = 0; k < 5; ++k) {
        const Columns& c = run.states[k];
        kvtest::ExpectSteady(run.trace, run.rows[k], names[k]);
        EXPECT_EQ(c.at("brake_torque"), brakes[k]) << names[k];
        EXPECT_EQ(run.settings[k].at("motor"), "real");
        ExpectBalance(c, names[k]);
        Readout(m, names[k], c);
        if (k > 0) {
            // The current and cos phi grow with the load.
            const Columns& before = run.states[k - 1];
            EXPECT_GT(c.at("period_line_current_a"), before.at("period_line_current_a"));
            EXPECT_GT(c.at("period_cos_phi"), before.at("period_cos_phi"));
        }
    }
    // The efficiency is best of the five at the rated load.
    for (const char* p : names)
        EXPECT_LE(m[std::string(p) + "_eff_percent"], m["a11_rated_eff_percent"]) << p;
    m["a11_noload_current_percent"] = 100 * m["a11_noload_current"] / m["a11_rated_current"];
    m["a11_quarter_current_percent"] = 100 * m["a11_quarter_current"] / m["a11_rated_current"];
    m["a11_rated_losses"] = m["a11_rated_pa"] - m["a11_rated_pu"];

    // The no-load test: nothing on the shaft, P_a is the losses; the rotor's are next to nothing,
    // the mechanical power is friction's.
    EXPECT_LT(std::abs(m["a11_noload_pu"]), 1e-3);
    EXPECT_LT(m["a11_noload_pjr"], 1e-3 * m["a11_noload_pa"]);
    m["a11_noload_constant"] = m["a11_noload_pa"] - m["a11_noload_pjs"];
    m["a11_noload_pjs_percent"] = 100 * m["a11_noload_pjs"] / m["a11_noload_pa"];
    // The losses that hardly change with the load: P_fer and friction, no load against rated.
    m["a11_rated_friction"] = m["a11_rated_pm"] - m["a11_rated_pu"];
    EXPECT_NEAR(m["a11_rated_pfer"] / m["a11_noload_pfer"], 1, 0.02);
    EXPECT_NEAR(m["a11_rated_friction"] / m["a11_noload_pm"], 1, 0.1);

    // The locked-rotor test at 15 % of the voltage: held at rest by brake 3, about the rated
    // current; P_a is the copper losses, P_fer and P_m next to nothing.
    const Columns& locked = run.states[5];
    ExpectBalance(locked, "locked");
    EXPECT_EQ(locked.at("voltage"), 15);
    EXPECT_EQ(TurningRows(run.trace, run.rows[5] - 2000, run.rows[5]), 0) << "at rest";
    Readout(m, "a11_locked", locked);
    m.erase("a11_locked_rpm");
    m.erase("a11_locked_slip_percent");
    m.erase("a11_locked_eff_percent");
    m.erase("a11_locked_pu");
    m.erase("a11_locked_nm");
    EXPECT_LT(std::abs(m["a11_locked_pm"]), 1e-3 * m["a11_locked_pa"]);
    EXPECT_LT(m["a11_locked_pfer"], 3e-3 * m["a11_locked_pa"]);
    m.erase("a11_locked_pm");
    m["a11_locked_copper"] = m["a11_locked_pjs"] + m["a11_locked_pjr"];
    m["a11_rated_copper"] = m["a11_rated_pjs"] + m["a11_rated_pjr"];
    EXPECT_NEAR(m["a11_locked_current"] / m["a11_rated_current"], 1, 0.01);
    EXPECT_NEAR(m["a11_locked_pjs"] / m["a11_rated_pjs"], 1, 0.01);
    // The rotor's copper losses there are larger than at the rated load: at rest the current
    // through the magnetising inductance is small, nearly all of it goes through the rotor.
    EXPECT_GT(m["a11_locked_pjr"], m["a11_rated_pjr"]);

    for (const char* p : names) {
        m.erase(std::string(p) + "_slip_percent");
        if (std::string(p) != "a11_noload") m.erase(std::string(p) + "_pm");
    }

    Print(m);
    kvtest::CheckQuoted("docs/activities.md", m, "a11_");
    kvtest::CheckQuoted("docs/activites.md", m, "a11_");
}

TEST(Activities, StarAndDeltaCoupling) {
    const ActivityRun run = RunActivity("activity12-coupling.kvs");
    ASSERT_EQ(run.states.size(), 8u);
    std::map<std::string, double> m;
    const double r3 = std::sqrt(3.0);
    const struct {
        std::size_t state;
        const char* name;
        const char* coupling;
        const char* mains;
        double brake;
    } points[5] = {{0, "a12_s400", "star", "400", 2},
                   {1, "a12_d230", "delta", "230", 2},
                   {2, "a12_d400", "delta", "400", 2},
                   {3, "a12_d400_noload", "delta", "400", 0},
                   {5, "a12_s230", "star", "230", 2}};
    for (const auto& p : points) {
        const Columns& c = run.states[p.state];
        kvtest::ExpectSteady(run.trace, run.rows[p.state], p.name);
        EXPECT_EQ(run.settings[p.state].at("coupling"), p.coupling) << p.name;
        EXPECT_EQ(run.settings[p.state].at("mains"), p.mains) << p.name;
        EXPECT_EQ(c.at("brake_torque"), p.brake) << p.name;
        ExpectBalance(c, p.name);
        Readout(m, p.name, c);
        // In delta a coil carries the line's current over sqrt(3).
        if (std::string(p.coupling) == "delta")
            m[std::string(p.name) + "_coil"] = c.at("period_line_current_a") / r3;
    }
    for (const char* unused :
         {"a12_d400_noload_nm", "a12_d400_noload_pu", "a12_d400_noload_eff_percent",
          "a12_d400_noload_pjr", "a12_d400_noload_pm", "a12_d400_noload_slip_percent",
          "a12_d400_noload_rpm"})
        m.erase(unused);
    for (const char* p : {"a12_s400", "a12_d230", "a12_d400", "a12_s230"})
        for (const char* f : {"_nm", "_pm", "_pu", "_pa"})
            m.erase(std::string(p) + f);

    // Star on 400 V and delta on 230 V: the coils' 230 V (delta's 0.4 % short of it), the same
    // point within a percent.
    EXPECT_NEAR(m["a12_d230_coil"] / m["a12_s400_current"], 1, 0.01);
    EXPECT_NEAR(m["a12_d230_rpm"] / m["a12_s400_rpm"], 1, 0.001);
    EXPECT_NEAR(m["a12_d230_cos_phi"] / m["a12_s400_cos_phi"], 1, 0.01);
    EXPECT_NEAR(m["a12_d230_eff_percent"] / m["a12_s400_eff_percent"], 1, 0.01);

    // Delta on 400 V: sqrt(3) times the coils' voltage. With no load, the line current three
    // times star on 400 V's; a coil's, nearly its rated current.
    const Columns& star_noload = run.states[4];
    kvtest::ExpectSteady(run.trace, run.rows[4], "star on 400 V, no load");
    EXPECT_EQ(run.settings[4].at("coupling"), "star");
    EXPECT_EQ(run.settings[4].at("mains"), "400");
    EXPECT_EQ(star_noload.at("brake_torque"), 0);
    m["a12_s400_noload_current"] = star_noload.at("period_line_current_a");
    m["a12_noload_ratio"] = m["a12_d400_noload_current"] / m["a12_s400_noload_current"];
    EXPECT_NEAR(m["a12_noload_ratio"], 3, 0.01);
    EXPECT_NEAR(m["a12_d400_noload_coil"] / m["a12_s400_current"], 1, 0.1) << "nearly rated";
    EXPECT_LT(m["a12_d400_cos_phi"], m["a12_s400_cos_phi"]);
    EXPECT_GT(m["a12_d400_coil"], m["a12_s400_current"]) << "a coil above its rated current";
    EXPECT_GT(m["a12_d400_pfer"], 2.5 * m["a12_s400_pfer"]);

    // Star on 230 V: a third of the torque at each speed. Running, it still carries brake 2,
    // below its largest torque, at a large slip and current; from rest it cannot start.
    const tagLabo star_230 = kvtest::LabFor("motor=real poles=2 coupling=star mains=230");
    const tagCaracteristique curve = MesureCaracteristique(star_230);
    m["a12_s230_pull_out_nm"] = NewtonMetres(curve.decrochage.couple, 2);
    m["a12_brake_nm"] = NewtonMetres(2, 2);
    EXPECT_GT(curve.decrochage.couple, 2);
    m["a12_s230_current_ratio"] = m["a12_s230_current"] / m["a12_s400_current"];
    m["a12_s230_pjr_ratio"] = m["a12_s230_pjr"] / m["a12_s400_pjr"];
    const Columns& on = run.states[7];
    EXPECT_EQ(TurningRows(run.trace, run.rows[6] - 1000, run.rows[6]), 0) << "stopped";
    // Switched on, it jerks and trembles, then stays at rest: its torque there is the steady
    // curve's at standstill, the switching-on's flux offset not quite gone yet.
    EXPECT_EQ(TurningRows(run.trace, run.rows[7] - 4000, run.rows[7]), 0) << "at rest";
    const double held = PointAVitesseTenue(star_230, 1).couple;
    m["a12_s230_start_nm"] = NewtonMetres(held, 2);
    EXPECT_NEAR(on.at("period_useful_torque_nm") / m["a12_s230_start_nm"], 1, 0.02);
    m["a12_s230_start_current"] = on.at("period_line_current_a");
    EXPECT_LT(held, 2);
    m["a12_s230_start_percent"] =
        100 * held / PointAVitesseTenue(kvtest::LabFor("motor=real poles=2"), 1).couple;

    Print(m);
    kvtest::CheckQuoted("docs/activities.md", m, "a12_");
    kvtest::CheckQuoted("docs/activites.md", m, "a12_");
}

} // namespace
