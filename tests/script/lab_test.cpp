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
          Case{"open", "lab open=2 voltage=200\n" + shown + "tick 300\n"}}) {
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

TEST(Lab, TheRecordingNamesItsSettingsInItsComment) {
    const std::string dir = kvtest::scratch_dir("gif");
    const auto run =
        kvtest::run_script("lab open=2 resistance=0.5 load=quadratic\nrecord " + dir +
                           "/lab.gif 3\nlab open=none\nrecord " + dir + "/plain.gif 2\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(kvtest::play_gif(dir + "/lab.gif").comment,
              "KORVELINE, laboratory settings: order=direct open=2 frequency=100 "
              "voltage=100 "
              "resistance=0.5 load=quadratic poles=1");
    EXPECT_EQ(kvtest::play_gif(dir + "/plain.gif").comment,
              "KORVELINE, laboratory settings: order=direct open=none "
              "frequency=100 voltage=100 "
              "resistance=0.5 load=quadratic poles=1");
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
