// `trace`: the CSV file of a run, read back and compared, column by column and to the last bit,
// with what `state` prints at the same Tick.
#include "script/run_script.h"
#include "support/lines.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using kvtest::cells_of;
using kvtest::lines_of;

// The state line's numbers, as "object.key" -> value read back.
std::map<std::string, double> state_values(const std::string& line) {
    std::map<std::string, double> values;
    std::string object;
    std::size_t at = 0;
    while ((at = line.find('"', at)) != std::string::npos) {
        const std::size_t end = line.find('"', at + 1);
        const std::string key = line.substr(at + 1, end - at - 1);
        at = end + 2; // past the quote and the colon
        if (line[at] == '{') {
            object = key;
            continue;
        }
        const char* start = line.c_str() + at;
        char* stop = nullptr;
        const double v = std::strtod(start, &stop);
        if (stop != start) values[object.empty() ? key : object + "." + key] = v;
        if (key == "tick") object.clear();
    }
    return values;
}

bool same_bits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

using State = std::map<std::string, double>;

// Each column: its name (with its unit) and its value from the state at the same Tick.
struct Column {
    const char* name;
    std::function<double(const State&)> expected; // empty: checked below from the model
};

const double kSync = -2.0 * 3.14159265358979323846 / 100.0;

const std::vector<Column> kColumns = {
    {"tick", [](const State& s) { return s.at("tick"); }},
    {"time_s", [](const State& s) { return s.at("tick") * 0.05; }},
    {"phase_rad", [](const State& s) { return s.at("alim.phase"); }},
    {"theta_rad", [](const State& s) { return s.at("mas.theta"); }},
    {"omega_rad_per_tick", [](const State& s) { return s.at("mas.omega"); }},
    {"speed_over_sync", [](const State& s) { return s.at("mas.omega") / kSync; }},
    {"slip", [](const State& s) { return 1.0 - s.at("mas.omega") / kSync; }},
    {"motor_torque", [](const State& s) { return s.at("courbe.last_torque"); }},
    {"brake_torque", [](const State& s) { return s.at("frein.couple"); }},
    {"force1", {}},
    {"force2", {}},
    {"force3", {}},
    {"current1", [](const State& s) { return s.at("mas.i1"); }},
    {"current2", [](const State& s) { return s.at("mas.i2"); }},
    {"current3", [](const State& s) { return s.at("mas.i3"); }},
    {"flux1", [](const State& s) { return s.at("mas.phi1"); }},
    {"flux2", [](const State& s) { return s.at("mas.phi2"); }},
    {"flux3", [](const State& s) { return s.at("mas.phi3"); }},
    {"sync_omega_rad_per_tick", [](const State&) { return kSync; }},
    {"load_torque", [](const State& s) { return s.at("frein.couple"); }},
    // Real values and the power balance: checked below from the columns before them.
    {"speed_rpm", {}},
    {"rotor_frequency_hz", {}},
    {"air_gap_power", {}},
    {"rotor_copper_losses", {}},
    {"mechanical_power", {}},
    {"friction_power", {}},
};

// The laboratory's settings close every row, named as `lab` takes them: here the defaults.
const std::string kSettingsColumns = "order,open,frequency,voltage,resistance,load,poles,plot";
const std::string kDefaultSettings = "direct,none,100,100,1,constant,1,motor";

std::string repeat(const std::string& text, int n) {
    std::string s;
    for (int k = 0; k < n; ++k)
        s += text;
    return s;
}

TEST(Trace, EveryColumnEqualsStateAtTheSameTickToTheLastBit) {
    const std::string dir = kvtest::scratch_dir("trace");
    const std::string csv = dir + "/run up, brake 5.csv";
    // Supply on, brake 5, the trace over the run-up; then off, and Ticks that it must not see.
    constexpr int kTicks = 600;
    const auto run = kvtest::run_script("click left 25 25\n" + repeat("click left 250 465\n", 10) +
                                        "trace " + csv + "\n" + repeat("tick\nstate\n", kTicks) +
                                        "trace off\ntick 5\nstate\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto states = run.out_lines();
    ASSERT_EQ(states.size(), kTicks + 1u);
    const auto rows = lines_of(csv);
    ASSERT_EQ(rows.size(), kTicks + 1u) << "a header and one row per traced Tick";

    std::string header;
    for (const Column& c : kColumns) {
        if (!header.empty()) header += ',';
        header += c.name;
    }
    EXPECT_EQ(rows[0], header + "," + kSettingsColumns);

    double omega_before = 0;
    for (int t = 0; t < kTicks; ++t) {
        const State state = state_values(states[static_cast<std::size_t>(t)]);
        const std::string& row = rows[static_cast<std::size_t>(t) + 1];
        ASSERT_TRUE(row.ends_with("," + kDefaultSettings)) << row;
        const auto cells = cells_of(row.substr(0, row.size() - kDefaultSettings.size() - 1), ',');
        ASSERT_EQ(cells.size(), kColumns.size()) << row;
        std::vector<double> v;
        for (const std::string& cell : cells)
            v.push_back(std::strtod(cell.c_str(), nullptr));
        for (std::size_t c = 0; c < kColumns.size(); ++c) {
            if (!kColumns[c].expected) continue;
            EXPECT_TRUE(same_bits(v[c], kColumns[c].expected(state)))
                << kColumns[c].name << " at Tick " << state.at("tick") << ": " << cells[c];
        }
        // The forces the step returned: each turn's current across the field it sees, and with
        // the friction of the speed before the step, they make the useful torque.
        const double amplitude = state.at("alim.amplitude");
        const double delta[3] = {0.0, 1.0471975511965976, 2.0943951023931953};
        for (int k = 0; k < 3; ++k) {
            const double u = v[2] - (v[3] - 1.5707963267948966 - delta[k]);
            EXPECT_TRUE(same_bits(v[9 + static_cast<std::size_t>(k)],
                                  std::sin(u) * (-amplitude) * v[12 + static_cast<std::size_t>(k)]))
                << "force" << k + 1 << " at Tick " << v[0];
        }
        EXPECT_TRUE(same_bits(v[7], (v[9] + v[10] + v[11]) + omega_before * 10))
            << "at Tick " << v[0];
        // 3000 rpm and 50 Hz at synchronism; powers per second of the motor's time (a Tick is
        // 0.2 ms of it), the torque driving towards negative speeds.
        const double em = v[9] + v[10] + v[11];
        const double real[6] = {
            3000 * v[5],          50 * v[6],
            em * -kSync / 0.0002, 0.01 * (v[12] * v[12] + v[13] * v[13] + v[14] * v[14]),
            em * -v[4] / 0.0002,  10 * v[4] * v[4] / 0.0002};
        for (std::size_t c = 0; c < 6; ++c) {
            EXPECT_NEAR(v[20 + c], real[c], 1e-12 * (1 + std::fabs(real[c])))
                << kColumns[20 + c].name << " at Tick " << v[0];
        }
        omega_before = v[4];
        if (::testing::Test::HasFailure()) return; // one diverging Tick says it all
    }
    EXPECT_EQ(cells_of(rows.back(), ',')[0], std::to_string(kTicks + 1)) << "the last traced Tick";
    EXPECT_EQ(state_values(states.back()).at("tick"), kTicks + 6) << "and five more ran untraced";
}

TEST(Trace, TheRealMotorsColumnsFollowTheOriginalOnesAndCloseItsBalance) {
    // Started with motor=real: the original columns, the real motor's, then the later settings.
    // After the run-up under a brake near the rated torque, the last row's period averages.
    const std::string dir = kvtest::scratch_dir("trace-real");
    const std::string csv = dir + "/real.csv";
    const auto run = kvtest::run_script("lab motor=real poles=2\nclick left 25 25\n" +
                                        repeat("click left 250 465\n", 4) + "trace " + csv +
                                        "\ntick 30000\ntrace off\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto rows = lines_of(csv);
    ASSERT_EQ(rows.size(), 30001u);
    const auto header = cells_of(rows[0], ',');
    const auto last = cells_of(rows.back(), ',');
    ASSERT_EQ(last.size(), header.size());
    const std::string later = ",motor,coupling,mains,stator_resistance,leakage_inductance,"
                              "magnetising_inductance,curve,start,switch_speed,switch_time,"
                              "initial_voltage,ramp,boost,start_resistance,steps,start_stage,"
                              "applied_voltage_percent,applied_frequency_percent";
    EXPECT_NE(rows[0].find(",friction_power," + kSettingsColumns + ",line_current1_a,"),
              std::string::npos)
        << rows[0];
    EXPECT_TRUE(rows[0].ends_with(",period_useful_torque_nm" + later)) << rows[0];
    EXPECT_TRUE(
        rows.back().ends_with(",real,star,400,1,1,1,torque,direct,90,0,40,1,0,4,3,0,100,100"))
        << rows.back();
    std::map<std::string, double> v;
    for (std::size_t c = 0; c < header.size(); ++c)
        v[header[c]] = std::strtod(last[c].c_str(), nullptr);
    const double absorbed = v["period_absorbed_power_w"];
    EXPECT_NEAR(v["period_stator_copper_losses_w"] + v["period_iron_losses_w"] +
                    v["period_air_gap_power_w"],
                absorbed, 1e-6 * absorbed);
    EXPECT_NEAR(v["period_rotor_copper_losses_w"] + v["period_mechanical_power_w"],
                v["period_air_gap_power_w"], 1e-6 * absorbed);
    EXPECT_NEAR(v["period_efficiency"], v["period_useful_power_w"] / absorbed, 1e-12);
    EXPECT_NEAR(v["period_cos_phi"], absorbed / (std::sqrt(3.0) * 400 * v["period_line_current_a"]),
                1e-12);
    // Near the nameplate's rated point: 8.19 A, cos phi 0.82, 86 %.
    EXPECT_NEAR(v["period_line_current_a"], 8.1, 0.3);
    EXPECT_NEAR(v["period_cos_phi"], 0.82, 0.02);
    EXPECT_NEAR(v["period_efficiency"], 0.86, 0.02);
    // The line currents of the Tick add up to zero (star, no neutral).
    EXPECT_NEAR(v["line_current1_a"] + v["line_current2_a"] + v["line_current3_a"], 0, 1e-9);
}

TEST(Trace, AFileThatCannotTakeTheRowsStopsTheRun) {
    // /dev/full opens but takes no byte: the failure shows when buffered rows reach it.
    const std::string dir = kvtest::scratch_dir("full");
    std::filesystem::create_symlink("/dev/full", dir + "/full.csv");
    const auto run = kvtest::run_script("tick\ntrace " + dir + "/full.csv\ntick 300\nstate\n");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find(":2: cannot write CSV '" + dir + "/full.csv': No space left on device"),
              std::string::npos)
        << run.err;
}

} // namespace
