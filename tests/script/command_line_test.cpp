// korveline-script as a user meets it: options, bad scripts refused before anything runs, output
// of pixel and state, and files that cannot be written.
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(CommandLine, HelpVersionAndBadOptions) {
    const auto help = kvtest::run_program("--help");
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("Usage: korveline-script [SCRIPT]"), std::string::npos);
    for (const char* command :
         {"snapshot PATH.png", "record PATH.gif N [every K]", "trace PATH.csv [fr]", "trace off",
          "lab NAME=VALUE", "  frequency=10 to 200 (% of nominal), default 100"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;

    const auto version = kvtest::run_program("--version");
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out.rfind("korveline-script ", 0), 0u);

    const auto bad = kvtest::run_program("--frobnicate");
    EXPECT_EQ(bad.exit_code, 2);
    EXPECT_NE(bad.err.find("unknown option '--frobnicate'"), std::string::npos);

    EXPECT_EQ(kvtest::run_program("a b").exit_code, 2);

    const auto missing = kvtest::run_program("/nonexistent/script.kvs");
    EXPECT_EQ(missing.exit_code, 2);
    EXPECT_NE(missing.err.find("korveline-script: /nonexistent/script.kvs: cannot open"),
              std::string::npos);
}

// The last row of --steady-curve's CSV: the pull-out point.
std::string PullOutRow(const std::string& csv) {
    const auto end = csv.find_last_not_of('\n');
    return csv.substr(csv.rfind('\n', end) + 1, end - csv.rfind('\n', end));
}

// Field `k` (from 0) of a CSV row, as a number.
double Column(const std::string& row, int k) {
    std::size_t at = 0;
    for (int i = 0; i < k; i++)
        at = row.find(',', at) + 1;
    return std::stod(row.substr(at));
}

TEST(CommandLine, PrintsTheSteadyCurveForTheSettingsGiven) {
    const auto nominal = kvtest::run_program("--steady-curve");
    ASSERT_EQ(nominal.exit_code, 0) << nominal.err;
    EXPECT_EQ(
        nominal.out.rfind("slip,speed_over_sync,useful_torque,em_torque,rotor_current,branch\n", 0),
        0u);
    for (const char* branch : {",stable\n", ",unstable\n"})
        EXPECT_NE(nominal.out.find(branch), std::string::npos) << branch;
    // Twice the rotor resistance: the pull-out point at twice the slip (0.159 -> 0.315).
    const std::string row = PullOutRow(kvtest::run_program("--steady-curve resistance=2").out);
    EXPECT_NEAR(std::stod(row), 2 * std::stod(PullOutRow(nominal.out)), 0.01) << row;
    EXPECT_NE(row.find(",pull_out"), std::string::npos) << row;
    // Reversed, the same pull-out point in the field's direction (to rounding: the coils' sum
    // is computed in another order).
    const std::string reversed =
        PullOutRow(kvtest::run_program("--steady-curve order=reversed").out);
    for (int k : {0, 2, 3})
        EXPECT_NEAR(Column(reversed, k), Column(PullOutRow(nominal.out), k), 1e-9) << reversed;

    // Where the torque still rises at standstill there is no pull-out; past standstill, on the
    // four-quadrant plot's curve from slip -1 to 2, the same rotor has one.
    for (const char* settings : {"resistance=8", "frequency=10 voltage=10"}) {
        const auto curve = kvtest::run_program(std::string("--steady-curve ") + settings);
        ASSERT_EQ(curve.exit_code, 0) << curve.err;
        EXPECT_EQ(curve.out.find("pull_out"), std::string::npos) << settings;
    }
    const std::string wide =
        kvtest::run_program("--steady-curve resistance=8 plot=four-quadrants").out;
    EXPECT_EQ(Column(wide.substr(wide.find('\n') + 1), 0), -1) << "from slip -1";
    const std::string past = PullOutRow(wide);
    EXPECT_NE(past.find(",pull_out"), std::string::npos) << past;
    EXPECT_NEAR(Column(past, 0), 1.27, 0.02) << "at R / (omega_s L)";
    EXPECT_NE(wide.find("\n2,-1,"), std::string::npos) << "to slip 2, a speed of -n_s";

    const auto bad = kvtest::run_program("--steady-curve order=sideways");
    EXPECT_EQ(bad.exit_code, 2);
    EXPECT_NE(bad.err.find("korveline-script: --steady-curve: order: 'sideways'"),
              std::string::npos)
        << bad.err;
    EXPECT_TRUE(bad.out.empty());
}

TEST(CommandLine, ReadsStandardInputWithoutArgumentOrWithDash) {
    const auto plain = kvtest::run_script("pixel 100 100\n", true);
    EXPECT_EQ(plain.exit_code, 0) << plain.err;
    EXPECT_EQ(plain.out, "pixel 100 100 00C8C8\n") << "the window background";
    const auto dash = kvtest::run_program("-", "pixel 100 100\n");
    EXPECT_EQ(dash.out, plain.out);
}

struct BadScript {
    const char* script;
    const char* error; // after "korveline-script: FILE:"
};

void PrintTo(const BadScript& bad, std::ostream* os) {
    *os << '"' << bad.error << '"';
}

class BadScripts : public ::testing::TestWithParam<BadScript> {};

TEST_P(BadScripts, AreRefusedWithTheLineAndNothingRuns) {
    const std::string dir = kvtest::scratch_dir("bad");
    const std::string png = dir + "/never.png";
    const std::string script = "snapshot " + png + "\nstate\n" + GetParam().script;
    const auto run = kvtest::run_script(script, true);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out, "") << "nothing may run before the whole script is checked";
    EXPECT_EQ(run.err, std::string("korveline-script: <stdin>:") + GetParam().error + "\n");
    EXPECT_FALSE(fs::exists(png));
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadScripts,
    ::testing::Values(
        BadScript{"tock\n", "3: unknown command 'tock'"},
        BadScript{"\n# fine\ntick 1 2\n", "5: 'tick' takes at most one argument"},
        BadScript{"tick 10000001\n", "3: count 10000001 is outside 0..10000000"},
        BadScript{"tick -1\n", "3: count -1 is outside 0..10000000"},
        BadScript{"click middle 1 2\n", "3: unknown button 'middle' (left or right)"},
        BadScript{"click left 70000 2\n", "3: coordinate 70000 is outside -32768..65535"},
        BadScript{"click left 1\n", "3: 'click' takes a button, X and Y"},
        BadScript{"resize 9000 10\n", "3: size 9000 is outside 0..8192"},
        BadScript{"pixel 1e3 4\n", "3: malformed number '1e3'"},
        BadScript{"snapshot\n", "3: 'snapshot' needs a path"},
        BadScript{"snapshot x.jpg\n", "3: 'snapshot' needs a path ending in .png, not 'x.jpg'"},
        BadScript{"record x.gif\n", "3: 'record' takes PATH N [every K]"},
        BadScript{"record x.png 20\n", "3: 'record' needs a path ending in .gif, not 'x.png'"},
        BadScript{"trace\n", "3: 'trace' needs a path or 'off'"},
        BadScript{"trace x.txt\n", "3: 'trace' needs a path ending in .csv, not 'x.txt'"},
        BadScript{"close\ntick\n", "4: nothing may follow 'close'"},
        BadScript{"trace x.csv en\n", "3: 'trace' needs a path ending in .csv, not 'x.csv en'"},
        BadScript{"lab order\n", "3: 'lab' takes settings NAME=VALUE, not 'order'"},
        BadScript{"lab order=sideways\n",
                  "3: lab: order: 'sideways' is not one of direct, reversed"},
        BadScript{"lab open=4\n", "3: lab: open: '4' is not one of none, 1, 2, 3"},
        BadScript{"lab voltage=50 frequency=300\n",
                  "3: lab: frequency: '300' is outside 10 to 200 (% of nominal)"},
        BadScript{"lab voltage=-5\n", "3: lab: voltage: '-5' is outside 0 to 200 (% of nominal)"},
        BadScript{"lab resistance=0.1x\n",
                  "3: lab: resistance: '0.1x' is not a number 0.25 to 8 (times nominal)"},
        BadScript{"lab poles=2.5\n", "3: lab: poles: '2.5' is not one of 1, 2, 3, 4"},
        BadScript{"tick 100\nlab load=fan\n",
                  "4: lab: load: 'fan' is not one of constant, linear, quadratic, driving"},
        BadScript{"lab colour=red\n",
                  "3: lab: unknown setting 'colour' (settings: order, open, frequency, voltage, "
                  "resistance, load, poles, plot, motor, coupling, mains, stator_resistance, "
                  "leakage_inductance, magnetising_inductance, curve, start, switch_speed, "
                  "switch_time, initial_voltage, ramp, boost, start_resistance, steps)"}));

TEST(CommandLine, PixelReadsAsGetPixelAndStateIsOneJsonLine) {
    const auto run = kvtest::run_script("pixel 0 0\npixel 779 556\npixel 780 0\npixel -1 5\n"
                                        "click left 25 25\nstate\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto lines = run.out_lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "pixel 0 0 000000") << "the switch box's black outline";
    EXPECT_EQ(lines[1], "pixel 779 556 00C8C8");
    EXPECT_EQ(lines[2], "pixel 780 0 invalid");
    EXPECT_EQ(lines[3], "pixel -1 5 invalid");
    EXPECT_EQ(lines[4].front(), '{');
    EXPECT_EQ(lines[4].back(), '}');
    EXPECT_NE(lines[4].find("\"amplitude\":0.074999999999999997"), std::string::npos);
}

TEST(CommandLine, ASnapshotThatCannotBeWrittenStopsTheRun) {
    const auto run = kvtest::run_script("state\nsnapshot /nonexistent-dir/x.png\nstate\n");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out_lines().size(), 1u) << "the run stops at the failing line";
    EXPECT_NE(run.err.find("/nonexistent-dir/x.png"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.rfind("korveline-script: ", 0), 0u) << run.err;
}

TEST(CommandLine, CloseEndsTheRunWithTheProgramsExitCode) {
    const auto run = kvtest::run_script("tick 3\nclose\n");
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

} // namespace
