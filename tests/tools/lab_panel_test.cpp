// The window's laboratory panel: a step of each setting, up and down, from where it stands, and
// the ends of its range, where a step does nothing; and its rows in the picture's language.
#include "tools/instruments/lab_panel.h"
#include "shell/scene.h"
#include "tools/instruments/lab_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using kv::tools::kLabSettings;
using kv::tools::SetLabPair;
using kv::tools::StepLabRow;

std::size_t row_of(std::string_view name) {
    for (std::size_t r = 0; r < kLabSettings.size(); ++r) {
        if (kLabSettings[r].name == name) return r;
    }
    ADD_FAILURE() << "no row " << name;
    return 0;
}

TEST(LabPanel, AStepGoesToTheNextMarkAndStopsAtTheRangesEnds) {
    struct Step {
        const char* from; // NAME=VALUE
        int step;
        const char* to; // the setting after it, as LabValue writes it; "" for no step
    };
    const Step steps[] = {
        {"order=direct", +1, "reversed"},
        {"order=reversed", +1, ""},
        {"order=direct", -1, ""},
        {"order=reversed", -1, "direct"},
        {"open=none", -1, ""},
        {"open=none", +1, "1"},
        {"open=3", +1, ""},
        {"open=2", -1, "1"},
        {"frequency=100", +1, "110"},
        {"frequency=100", -1, "90"},
        {"frequency=55", +1, "60"},
        {"frequency=55", -1, "50"},
        {"frequency=10", -1, ""},
        {"frequency=15", -1, "10"},
        {"frequency=200", +1, ""},
        {"frequency=195", +1, "200"},
        {"voltage=0", -1, ""},
        {"voltage=0", +1, "10"},
        {"voltage=0.5", -1, "0"},
        {"voltage=200", +1, ""},
        {"resistance=1", +1, "2"},
        {"resistance=1", -1, "0.5"},
        {"resistance=0.25", -1, ""},
        {"resistance=0.3", -1, "0.25"},
        {"resistance=0.3", +1, "0.5"},
        {"resistance=8", +1, ""},
        {"resistance=6", +1, "8"},
        {"resistance=0.75", -1, "0.5"},
        {"load=constant", -1, ""},
        {"load=quadratic", +1, "driving"},
        {"load=driving", +1, ""},
        {"plot=motor", +1, "four-quadrants"},
        {"plot=four-quadrants", +1, ""},
        {"load=linear", +1, "quadratic"},
        {"poles=1", -1, ""},
        {"poles=4", +1, ""},
        {"poles=3", +1, "4"},
    };
    for (const Step& s : steps) {
        tagLabo labo;
        ASSERT_EQ(SetLabPair(s.from, labo), "") << s.from;
        const std::string name(
            std::string_view(s.from).substr(0, std::string_view(s.from).find('=')));
        const std::size_t row = row_of(name);
        const std::string before = kv::tools::LabSettingsText(labo);
        const bool stepped = StepLabRow(row, s.step, labo);
        EXPECT_EQ(stepped, *s.to != '\0') << s.from << " by " << s.step;
        if (stepped) {
            EXPECT_EQ(kv::tools::LabValue(kLabSettings[row], labo), s.to)
                << s.from << " by " << s.step;
        } else {
            EXPECT_EQ(kv::tools::LabSettingsText(labo), before) << s.from << " by " << s.step;
        }
    }
}

TEST(LabPanel, EveryStepUpFromTheLeastValueReachesTheGreatestAndBack) {
    // No setting is left with a value its scale cannot reach, nor steps for ever.
    for (std::size_t row = 0; row < kLabSettings.size(); ++row) {
        tagLabo labo;
        int steps = 0;
        while (StepLabRow(row, -1, labo) && steps < 100)
            ++steps;
        const std::string least = kv::tools::LabValue(kLabSettings[row], labo);
        int up = 0;
        while (StepLabRow(row, +1, labo) && up < 100)
            ++up;
        EXPECT_LT(up, 100) << kLabSettings[row].name;
        int down = 0;
        while (StepLabRow(row, -1, labo) && down < 100)
            ++down;
        EXPECT_EQ(down, up) << kLabSettings[row].name;
        EXPECT_EQ(kv::tools::LabValue(kLabSettings[row], labo), least) << kLabSettings[row].name;
    }
}

TEST(LabPanel, ItsRowsAreInThePicturesLanguageAndMarkWhereAStepIsLeft) {
    tagLabo labo;
    ASSERT_EQ(SetLabPair("order=reversed", labo), "");
    ASSERT_EQ(SetLabPair("resistance=0.25", labo), "");
    const auto fr = kv::tools::LabPanelRows(labo, kv::viewer::Lang::Fr);
    const auto en = kv::tools::LabPanelRows(labo, kv::viewer::Lang::En);
    ASSERT_EQ(fr.size(), kLabSettings.size());
    ASSERT_EQ(en.size(), kLabSettings.size());
    // ISO 8859-1, as boxes take it.
    EXPECT_EQ(fr[0].left, "Ordre des phases");
    EXPECT_EQ(fr[0].right, "<  invers\xe9");
    EXPECT_EQ(en[0].right, "<  reversed");
    EXPECT_EQ(fr[2].left, "Fr\xe9quence");
    EXPECT_EQ(fr[2].right, "<  100 % de 50 Hz  >");
    EXPECT_EQ(fr[4].right, "   0,25 \xd7 nominale  >");
    EXPECT_EQ(en[4].right, "   0.25 \xd7 nominal  >");
    EXPECT_EQ(kv::tools::LabPanelTitle(kv::viewer::Lang::Fr), "Laboratoire");
}

TEST(LabPanel, TheWindowsPanelShowsTheSettingsThatApplyAndStepsThem) {
    // The program's own settings: a start's parameters appear with that start, the stator's with
    // the real motor, and a row's step reaches the setting it shows.
    const auto labels = [](const std::vector<kv::viewer::BoxRow>& rows) {
        std::string text;
        for (const kv::viewer::BoxRow& r : rows)
            text += r.left + ";";
        return text;
    };
    const std::string original = "Phase order;Open line;Frequency;Voltage;Rotor resistance;"
                                 "Load law;Pole pairs;Plot;Motor;Starting;";
    const kv::viewer::PanelRows panel = kv::tools::LabPanelOfTheProgram();
    labo = tagLabo();
    EXPECT_EQ(labels(panel.rows(kv::viewer::Lang::En)), original);
    labo.demarrage = DEMARRAGE_PROGRESSIF;
    EXPECT_EQ(labels(panel.rows(kv::viewer::Lang::En)), original + "Initial voltage;Ramp time;");
    EXPECT_TRUE(panel.step(10, +1));
    EXPECT_EQ(labo.tension_initiale, 50);
    labo.demarrage = DEMARRAGE_ROTORIQUE;
    EXPECT_EQ(labels(panel.rows(kv::viewer::Lang::En)),
              original + "Switching at;Starting resistance;Resistance steps;");
    EXPECT_TRUE(panel.step(12, -1));
    EXPECT_EQ(labo.crans, 2);
    EXPECT_FALSE(panel.step(13, +1)) << "no row past the last";
    labo.moteur_reel = true;
    labo.demarrage = DEMARRAGE_DIRECT;
    EXPECT_EQ(labels(panel.rows(kv::viewer::Lang::En)),
              "Phase order;Open line;Frequency;Voltage;Rotor resistance;Load law;Pole pairs;Plot;"
              "Motor;Coupling;Mains;Stator resistance;Leakage inductance;Magnetising inductance;"
              "Curve;Starting;");
    labo = tagLabo();
}

} // namespace
