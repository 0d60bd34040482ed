// The laboratory's settings as every front end takes them: one table of names, values and
// defaults, and a validator that refuses what it does not take with a message saying what it
// takes, leaving the settings as they were.
#include "tools/instruments/options.h"
#include "tools/instruments/lab_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kv::tools::SetLabPair;

TEST(LabSettings, TheTablesDefaultsAreTheOriginalMotor) {
    const tagLabo original;
    EXPECT_TRUE(original.ParDefaut());
    for (const kv::tools::LabSetting& s : kv::tools::kLabSettings)
        EXPECT_EQ(kv::tools::LabValue(s, original), s.fallback) << s.name;
    EXPECT_EQ(kv::tools::LabSettingsText(original),
              "order=direct open=none frequency=100 voltage=100 resistance=1 load=constant "
              "poles=1 plot=motor");
}

TEST(LabSettings, EachValueItTakesReadsBackAsTyped) {
    struct Good {
        const char* pair;
        const char* text; // the setting as LabSettingsText gives it back
        bool model;       // the model leaves its original path
    };
    for (const Good& g :
         {Good{"order=reversed", "order=reversed", true}, Good{"open=1", "open=1", true},
          Good{"open=3", "open=3", true}, Good{"frequency=10", "frequency=10", true},
          Good{"frequency=200", "frequency=200", true},
          Good{"frequency=37.5", "frequency=37.5", true}, Good{"voltage=0", "voltage=0", true},
          Good{"voltage=070", "voltage=70", true}, Good{"resistance=0,25", "resistance=0.25", true},
          Good{"resistance=8", "resistance=8", true},
          Good{"load=quadratic", "load=quadratic", true}, Good{"poles=4", "poles=4", false},
          Good{"load=driving", "load=driving", true},
          Good{"plot=four-quadrants", "plot=four-quadrants", false},
          Good{"frequency=100.0", "frequency=100", false},
          Good{"start=star-delta", "start=star-delta", true}, Good{"start=vf", "start=vf", true},
          Good{"start=rotor", "start=rotor", true},
          // A start's parameters do nothing on direct on line.
          Good{"switch_speed=75", "switch_speed=75", false},
          Good{"switch_time=2,5", "switch_time=2.5", false}, Good{"ramp=0.05", "ramp=0.05", false},
          Good{"boost=50", "boost=50", false}, Good{"steps=5", "steps=5", false},
          Good{"start_resistance=32", "start_resistance=32", false},
          // To the nanounit, so that every value reads back from its own writing (the fuzzer's).
          Good{"voltage=00.250000000200002000000000000", "voltage=0.25", true},
          Good{"voltage=0.0000000000000000001", "voltage=0", true},
          Good{"frequency=199.99999999999999999999", "frequency=200", true},
          Good{"resistance=1.000000001", "resistance=1.000000001", true}}) {
        tagLabo labo;
        ASSERT_EQ(SetLabPair(g.pair, labo), "") << g.pair;
        const std::string text = kv::tools::LabSettingsText(labo);
        EXPECT_NE(text.find(g.text), std::string::npos) << g.pair << ": " << text;
        EXPECT_EQ(labo.ParDefaut(), !g.model) << g.pair;
        // What the text says sets the same settings again.
        tagLabo again;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t end = std::min(text.find(' ', at), text.size());
            ASSERT_EQ(SetLabPair(text.substr(at, end - at), again), "") << text;
            at = end + 1;
        }
        EXPECT_EQ(kv::tools::LabSettingsText(again), text);
    }
}

TEST(LabSettings, WhatItDoesNotTakeIsToldAndChangesNothing) {
    struct Bad {
        std::string pair;
        std::string error;
    };
    const std::string ranges = " (% of nominal)";
    for (const Bad& b :
         {Bad{"frequency=9.99", "frequency: '9.99' is outside 10 to 200" + ranges},
          Bad{"frequency=200.01", "frequency: '200.01' is outside 10 to 200" + ranges},
          Bad{"resistance=8.001", "resistance: '8.001' is outside 0.25 to 8 (times nominal)"},
          Bad{"voltage=1e2", "voltage: '1e2' is not a number 0 to 200" + ranges},
          Bad{"voltage=nan", "voltage: 'nan' is not a number 0 to 200" + ranges},
          Bad{"voltage=1.2.3", "voltage: '1.2.3' is not a number 0 to 200" + ranges},
          Bad{"voltage=.", "voltage: '.' is not a number 0 to 200" + ranges},
          Bad{"voltage=", "voltage: '' is not a number 0 to 200" + ranges},
          Bad{"voltage=" + std::string(100000, '9'),
              "voltage: '" + std::string(40, '9') + "...' is outside 0 to 200" + ranges},
          Bad{"order=Reversed", "order: 'Reversed' is not one of direct, reversed"},
          Bad{"open=0", "open: '0' is not one of none, 1, 2, 3"},
          Bad{"plot=4q", "plot: '4q' is not one of motor, four-quadrants"},
          Bad{"start=star", "start: 'star' is not one of direct, star-delta, soft, vf, rotor"},
          Bad{"steps=0", "steps: '0' is not one of 1, 2, 3, 4, 5"},
          Bad{"ramp=0", "ramp: '0' is outside 0.05 to 20 (s of the motor's time)"},
          Bad{"start_resistance=0.5",
              "start_resistance: '0.5' is outside 1 to 32 (times the rotor resistance)"},
          Bad{"Order=direct",
              "unknown setting 'Order' (settings: order, open, frequency, voltage, resistance, "
              "load, poles, plot, motor, coupling, mains, stator_resistance, "
              "leakage_inductance, magnetising_inductance, curve, start, switch_speed, "
              "switch_time, initial_voltage, ramp, boost, start_resistance, steps)"},
          Bad{std::string(300, '>') + "=1",
              "unknown setting '" + std::string(16, '>') +
                  "...' (settings: order, open, frequency, voltage, resistance, load, poles, "
                  "plot, motor, coupling, mains, stator_resistance, leakage_inductance, "
                  "magnetising_inductance, curve, start, switch_speed, switch_time, "
                  "initial_voltage, ramp, boost, start_resistance, steps)"},
          Bad{"=direct", "'=direct' is not NAME=VALUE"},
          Bad{"order", "'order' is not NAME=VALUE"}}) {
        tagLabo labo;
        labo.frequence = 60;
        EXPECT_EQ(SetLabPair(b.pair, labo), b.error);
        EXPECT_LT(b.error.size(), 300u) << "a message a line of a terminal or the page can hold";
        EXPECT_EQ(kv::tools::LabSettingsText(labo),
                  "order=direct open=none frequency=60 voltage=100 resistance=1 load=constant "
                  "poles=1 plot=motor")
            << b.pair;
    }
}

TEST(LabSettings, TheCommandLineTakesSettingsAfterLabUpToTheNextOption) {
    std::vector<std::string> args{"--lab", "order=reversed", "voltage=50", "--lang",
                                  "en",    "--lab=open=2",   "--lab",      "poles=3"};
    tagLabo labo;
    EXPECT_EQ(kv::tools::take_lab_option(args, labo), "");
    EXPECT_EQ(args, (std::vector<std::string>{"--lang", "en"}));
    EXPECT_EQ(kv::tools::LabSettingsText(labo),
              "order=reversed open=2 frequency=100 voltage=50 resistance=1 load=constant poles=3 "
              "plot=motor");

    for (const auto& [bad, error] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--lab"}, "--lab needs settings NAME=VALUE"},
             {{"--lab", "--lang", "fr"}, "--lab needs settings NAME=VALUE"},
             {{"--lab", "frequency=5"},
              "--lab: frequency: '5' is outside 10 to 200 (% of nominal)"},
             {{"--lab=load"}, "--lab: 'load' is not NAME=VALUE"}}) {
        std::vector<std::string> words = bad;
        tagLabo untouched;
        EXPECT_EQ(kv::tools::take_lab_option(words, untouched), error);
    }
}

} // namespace
