// `lab` in a script, as a teacher uses it: a setting counts from the next Tick, the trace and the
// recording say what they were made with, the French CSV holds the very numbers of the plain one,
// and the power balance holds from the traced quantities.
#include "image/png_reader.h"
#include "platform/headless/gif_player.h"
#include "script/run_script.h"
#include "support/lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using kvtest::cells_of;
using kvtest::lines_of;

// A trace: its header's names and each row's cells.
struct Trace {
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> rows;

    std::size_t column(const std::string& name) const {
        for (std::size_t c = 0; c < names.size(); ++c) {
            if (names[c] == name) return c;
        }
        ADD_FAILURE() << "no column " << name;
        return 0;
    }
    double number(std::size_t row, const std::string& name) const {
        return std::strtod(rows[row][column(name)].c_str(), nullptr);
    }
    const std::string& text(std::size_t row, const std::string& name) const {
        return rows[row][column(name)];
    }
};

Trace read_trace(const std::string& path, char separator = ',') {
    const std::vector<std::string> lines = lines_of(path);
    Trace t;
    if (lines.empty()) {
        ADD_FAILURE() << path << " is empty";
        return t;
    }
    t.names = cells_of(lines[0], separator);
    for (std::size_t k = 1; k < lines.size(); ++k) {
        t.rows.push_back(cells_of(lines[k], separator));
        EXPECT_EQ(t.rows.back().size(), t.names.size()) << lines[k];
    }
    return t;
}

std::string repeat(const std::string& text, int n) {
    std::string s;
    for (int k = 0; k < n; ++k)
        s += text;
    return s;
}

const std::string kSupplyOn = "click left 25 25\n";
const std::string kBrakeUp = "click left 250 465\n"; // half a unit of brake torque
const std::string kBrakeDown = "click right 250 465\n";

TEST(Lab, ASettingCountsFromTheNextTickAndEveryRowSaysWhichHeld) {
    const std::string dir = kvtest::scratch_dir("lab");
    const auto run = kvtest::run_script(kSupplyOn + "trace " + dir + "/t.csv\ntick 3\n" +
                                        "lab order=reversed frequency=50 poles=2\ntick 3\n" +
                                        "lab order=direct frequency=100 poles=1\ntick 2\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const Trace t = read_trace(dir + "/t.csv");
    ASSERT_EQ(t.rows.size(), 8u);
    const double step = -0.06283185307179587;
    for (std::size_t r = 0; r < 8; ++r) {
        SCOPED_TRACE("row " + std::to_string(r));
        const bool changed = r >= 3 && r < 6;
        EXPECT_EQ(t.text(r, "order"), changed ? "reversed" : "direct");
        EXPECT_EQ(t.text(r, "frequency"), changed ? "50" : "100");
        EXPECT_EQ(t.text(r, "poles"), changed ? "2" : "1");
        EXPECT_EQ(t.text(r, "voltage"), "100");
        // Half the frequency: the phase advances half as far, and the field turns the other way.
        if (r > 0) {
            EXPECT_NEAR(t.number(r, "phase_rad") - t.number(r - 1, "phase_rad"),
                        changed ? step / 2 : step, 1e-12);
        }
        EXPECT_DOUBLE_EQ(t.number(r, "sync_omega_rad_per_tick"), changed ? -step / 2 : step);
    }
}

TEST(Lab, WhateverTheSettingsNothingIsDrawnBeyondTheDiscAndThePlot) {
    // Everything shown: the supply, the resultant and forces, the three coils' fields. Twenty
    // times the flux makes forces four hundred times as large; a reversed rotor turns the other
    // way, and runs backwards for a while when reversed while running. The picture outside the
    // central disc, left of the plot, must stay the original motor's.
    const std::string dir = kvtest::scratch_dir("bounds");
    const std::string shown = kSupplyOn + "click left 260 290\nclick left 80 290\n" +
                              "click left 330 420\nclick left 330 160\n";
    const auto picture = [&](const std::string& name, const std::string& script) {
        const auto run = kvtest::run_script(script + "snapshot " + dir + "/" + name + ".png\n");
        EXPECT_EQ(run.exit_code, 0) << run.err;
        return kv::image::read_png(dir + "/" + name + ".png");
    };
    const kv::Framebuffer original = picture("original", shown + "tick 1500\n");
    struct Case {
        const char* name;
        std::string script;
    };
    for (const Case& c :
         {Case{"flux", "lab voltage=200 frequency=10\n" + shown + "tick 1500\n"},
          Case{"reversed", "lab order=reversed voltage=140\n" + shown + "tick 1500\n"},
          Case{"plugged", shown + "tick 1500\nlab order=reversed\ntick 700\n"},
          Case{"open", "lab open=2 voltage=200\n" + shown + "tick 300\n"},
          // A driving load the motor cannot hold runs the rotor backwards ever faster, far past
          // the four-quadrant plot's -n_s; one that drives it forward, past synchronism.
          Case{"runaway", "lab plot=four-quadrants load=driving\n" + repeat(kBrakeUp, 50) + shown +
                              "tick 3000\n"},
          Case{"generator", "lab plot=four-quadrants load=driving\n" + repeat(kBrakeDown, 16) +
                                shown + "tick 3000\n"},
          Case{"fast", "lab frequency=200 voltage=200\n" + shown + "tick 3000\n"}}) {
        const kv::Framebuffer fb = picture(c.name, c.script);
        int differ = 0;
        for (int y = 0; y < fb.height(); ++y) {
            for (int x = 0; x < 455; ++x) {
                if (std::hypot(x - 260, y - 290) < 111) continue;
                if (fb.get(x, y) != original.get(x, y)) ++differ;
            }
        }
        EXPECT_EQ(differ, 0) << c.name;
        // The operating point's trail lies on the plot, in its motoring half, whichever way the
        // rotor turns.
        int trail = 0;
        for (int y = 5; y < 180; ++y) {
            for (int x = 462; x < 780; ++x)
                trail += fb.get(x, y) == kv::rgb(155, 155, 0) ? 1 : 0;
        }
        if (std::string(c.name) != "open") {
            EXPECT_GT(trail, 100) << c.name;
        }
    }
}

// The `state` line's number for "key".
double StateNumber(const std::string& line, const std::string& key) {
    const std::size_t k = line.find("\"" + key + "\":");
    EXPECT_NE(k, std::string::npos) << key;
    return k == std::string::npos ? 0 : std::stod(line.substr(k + key.size() + 3));
}

TEST(Lab, ThePlotFollowsTheSynchronousSpeedAndShowsFourQuadrants) {
    // Whatever the frequency, the synchronous speed on the original's column (774): the
    // operating point of a motor running free is drawn, in black, just left of it. On the
    // four-quadrant plot a synchronous speed takes 100 columns from speed zero, in column 570,
    // where the torque axis stands; a driving load of -5 holds the rotor past synchronism, the
    // load's line across the plot at its torque.
    struct Case {
        std::string script;
        double frequency;
        double zero, per_sync; // columns
        int least, most;       // where the operating point must be
    };
    constexpr double kOriginal = 5000 * 0.06283185307179587;
    for (const Case& c : {Case{"lab frequency=150\n", 150, 460, kOriginal, 770, 773},
                          Case{"lab frequency=30 voltage=30\n", 30, 460, kOriginal, 770, 773},
                          Case{"lab plot=four-quadrants load=driving\n" + repeat(kBrakeDown, 10),
                               100, 570, 100, 670, 673}}) {
        const std::string run_up = c.script + kSupplyOn + "tick 12000\n";
        const auto run = kvtest::run_script(run_up + "state\n");
        ASSERT_EQ(run.exit_code, 0) << run.err;
        const std::string state = run.out_lines().at(0);
        const double share = StateNumber(state, "last_omega") /
                             (StateNumber(state, "phase_step") * c.frequency / 100);
        const int column = static_cast<int>(c.zero + c.per_sync * share);
        const int row = static_cast<int>(180 - 8 * StateNumber(state, "last_torque"));
        EXPECT_GE(column, c.least) << c.script;
        EXPECT_LE(column, c.most) << c.script;
        const std::string point = "pixel " + std::to_string(column) + " " + std::to_string(row);
        std::string probes = point + "\n";
        if (c.zero == 570) probes += "pixel 570 300\npixel 460 300\npixel 500 220\n";
        const std::vector<std::string> pixels = kvtest::run_script(run_up + probes).out_lines();
        ASSERT_FALSE(pixels.empty()) << c.script;
        EXPECT_EQ(pixels[0], point + " 000000") << c.script;
        if (c.zero == 570) {
            EXPECT_NEAR(StateNumber(state, "last_torque"), -5, 1e-6) << "at the load's torque";
            EXPECT_EQ(pixels.at(1), "pixel 570 300 000000") << "the torque axis";
            EXPECT_EQ(pixels.at(2), "pixel 460 300 FFFFFF") << "none on the frame's side";
            EXPECT_EQ(pixels.at(3), "pixel 500 220 000000") << "the load's line";
        }
    }
}

TEST(Lab, OnlyADrivingLoadTakesTheBrakeBelowZero) {
    // Three right clicks from zero: -1.5 under a driving load, and back to zero as soon as
    // another law holds, the line with it; under any other law the brake stops at zero.
    const auto run =
        kvtest::run_script("lab load=driving\n" + repeat(kBrakeDown, 3) +
                           "tick 1\nstate\npixel 600 192\nlab load=linear\ntick 1\n" +
                           "state\npixel 600 192\n" + repeat(kBrakeDown, 2) + "state\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const std::vector<std::string> out = run.out_lines();
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(StateNumber(out[0], "couple"), -1.5);
    EXPECT_EQ(out[1], "pixel 600 192 000000") << "the line at -1.5";
    EXPECT_EQ(StateNumber(out[2], "couple"), 0);
    EXPECT_EQ(out[3], "pixel 600 192 FFFFFF") << "the plot given back";
    EXPECT_EQ(StateNumber(out[4], "couple"), 0);
}

TEST(Lab, TheRecordingNamesItsSettingsInItsComment) {
    const std::string dir = kvtest::scratch_dir("gif");
    const auto run =
        kvtest::run_script("lab open=2 resistance=0.5 load=quadratic\nrecord " + dir +
                           "/lab.gif 3\nlab open=none\nrecord " + dir + "/plain.gif 2\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(kvtest::play_gif(dir + "/lab.gif").comment,
              "KORVELINE, laboratory settings: order=direct open=2 frequency=100 "
              "voltage=100 "
              "resistance=0.5 load=quadratic poles=1 plot=motor");
    EXPECT_EQ(kvtest::play_gif(dir + "/plain.gif").comment,
              "KORVELINE, laboratory settings: order=direct open=none "
              "frequency=100 voltage=100 "
              "resistance=0.5 load=quadratic poles=1 plot=motor");
}

TEST(Lab, TheFrenchTraceHoldsThePlainTracesNumbersInTheFrenchWay) {
    const std::string dir = kvtest::scratch_dir("fr");
    // The same run twice, traced each way.
    for (const std::string trace : {"plain.csv", "fr.csv fr"}) {
        const auto run =
            kvtest::run_script("lab resistance=0.75 voltage=90\n" + kSupplyOn + "tick 400\ntrace " +
                               dir + "/" + trace + "\ntick 400\n");
        ASSERT_EQ(run.exit_code, 0) << run.err;
    }
    const std::vector<std::string> plain = lines_of(dir + "/plain.csv");
    const std::vector<std::string> french = lines_of(dir + "/fr.csv");
    ASSERT_EQ(plain.size(), 401u);
    ASSERT_EQ(french.size(), plain.size());

    EXPECT_EQ(cells_of(french[0], ';'), cells_of(plain[0], ','));
    bool negative = false;
    for (std::size_t r = 1; r < plain.size(); ++r) {
        const auto p = cells_of(plain[r], ',');
        const auto f = cells_of(french[r], ';');
        ASSERT_EQ(f.size(), p.size()) << french[r];
        EXPECT_EQ(french[r].find('.'), std::string::npos) << french[r];
        for (std::size_t c = 0; c < p.size(); ++c) {
            ASSERT_NE(f[c], "-0") << "a spreadsheet reads -0 as text: " << french[r];
            const double v = std::strtod(p[c].c_str(), nullptr);
            std::string as_read = f[c];
            for (char& ch : as_read) {
                if (ch == ',') ch = '.';
            }
            char* end = nullptr;
            const double w = std::strtod(as_read.c_str(), &end);
            if (*end != '\0') {
                EXPECT_EQ(f[c], p[c]) << "a word stays a word";
                continue;
            }
            // 15 significant digits, what a spreadsheet keeps.
            EXPECT_NEAR(w, v, 1e-14 * std::fabs(v)) << p[c] << " vs " << f[c];
            negative = negative || w < 0;
        }
    }
    EXPECT_TRUE(negative);
    EXPECT_NE(french[1].find(";0,75;"), std::string::npos) << french[1];
}

TEST(Lab, ThePowerBalanceHoldsFromTheTracedQuantities) {
    // Rotor copper losses = slip x air-gap power at steady state, from the
    // currents, forces and speeds the trace gives (the step's own error grows as
    // the resistance squared: 1.5e-7 at the nominal one, 2.4e-6 at four times it);
    // the mechanical power is the rest.
    const std::string dir = kvtest::scratch_dir("power");
    const auto run =
        kvtest::run_script("lab resistance=1.5 frequency=80 voltage=80\n" + kSupplyOn +
                           repeat(kBrakeUp, 10) + "tick 8000\ntrace " + dir + "/p.csv\ntick 300\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const Trace t = read_trace(dir + "/p.csv");
    ASSERT_EQ(t.rows.size(), 300u);
    constexpr double h = 0.0002; // seconds of the motor's time a Tick
    double worst = 0;
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const double g = t.number(r, "slip");
        const double sync = t.number(r, "sync_omega_rad_per_tick");
        const double omega = t.number(r, "omega_rad_per_tick");
        const double em = t.number(r, "force1") + t.number(r, "force2") + t.number(r, "force3");
        double squares = 0;
        for (const char* i : {"current1", "current2", "current3"})
            squares += t.number(r, i) * t.number(r, i);
        const double copper = 0.01 * 1.5 * squares;
        const double air_gap = em * -sync / h;
        worst = std::fmax(worst, std::fabs(copper - g * air_gap) / copper);
        EXPECT_NEAR(t.number(r, "rotor_copper_losses"), copper, 1e-9 * copper);
        EXPECT_NEAR(t.number(r, "air_gap_power"), air_gap, 1e-9 * air_gap);
        EXPECT_NEAR(t.number(r, "mechanical_power"), (1 - g) * air_gap, 1e-9 * air_gap);
        EXPECT_NEAR(t.number(r, "friction_power"), 10 * omega * omega / h, 1e-9 * air_gap);
        EXPECT_NEAR(t.number(r, "motor_torque"), 5.0, 1e-3) << "at steady state";
        EXPECT_GT(g, 0.03);
    }
    EXPECT_LT(worst, 1e-6);
    EXPECT_GT(worst, 0.0) << "the backward Euler step leaves a trace of itself";
    std::ostringstream shown;
    shown << worst;
    RecordProperty("power_balance_residual", shown.str());
}

} // namespace
