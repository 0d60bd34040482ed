// Clicks at every region's bounds, one pixel inside and one outside, with both buttons, through the
// whole program: each region acts exactly when the click is inside it.
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// A region's inside, bounds included, and what shows that it acted.
struct Region {
    const char* name;
    int x_lo, x_hi, y_lo, y_hi;
    // A click that acts on this region alone, to set up the state a right click undoes.
    int inside_x, inside_y;
    enum class Effect { Supply, Flag, Brake, PlotReset } effect;
    const char* flag; // for Effect::Flag: the state field it sets
};

const Region kRegions[] = {
    {"RAZ", 741, 789, 344, 354, 760, 350, Region::Effect::PlotReset, ""},
    {"ALIM", 1, 49, 1, 49, 25, 25, Region::Effect::Supply, ""},
    {"rotor", 161, 359, 191, 389, 260, 290, Region::Effect::Flag, "show_resultant"},
    {"left coil", 11, 159, 241, 339, 85, 290, Region::Effect::Flag, "show_field1"},
    {"lower-right coil", 272, 429, 361, 533, 350, 447, Region::Effect::Flag, "show_field3"},
    {"upper-right coil", 272, 429, 47, 219, 350, 133, Region::Effect::Flag, "show_field2"},
    {"brake", 236, 274, 441, 489, 250, 465, Region::Effect::Brake, ""},
};

struct Case {
    const Region* region;
    bool left;
    int x, y;
    bool inside;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.region->name << (c.left ? " left " : " right ") << c.x << "," << c.y;
}

// Each bound, then one pixel either side of it, at the middle of the other axis.
std::vector<Case> AllCases() {
    std::vector<Case> cases;
    for (const Region& r : kRegions) {
        const int mid_x = (r.x_lo + r.x_hi) / 2;
        const int mid_y = (r.y_lo + r.y_hi) / 2;
        for (const bool left : {true, false}) {
            for (const int d : {-1, 0, 1}) {
                cases.push_back({&r, left, r.x_lo + d, mid_y, d >= 0});
                cases.push_back({&r, left, r.x_hi + d, mid_y, d <= 0});
                cases.push_back({&r, left, mid_x, r.y_lo + d, d >= 0});
                cases.push_back({&r, left, mid_x, r.y_hi + d, d <= 0});
            }
        }
    }
    return cases;
}

std::string Field(const std::string& line, const std::string& key) {
    const std::size_t k = line.find("\"" + key + "\":");
    if (k == std::string::npos) return "<no " + key + ">";
    const std::size_t start = k + key.size() + 3;
    return line.substr(start, line.find_first_of(",}", start) - start);
}

std::string Click(bool left, int x, int y) {
    return std::string("click ") + (left ? "left " : "right ") + std::to_string(x) + " " +
           std::to_string(y) + "\n";
}

class RegionBounds : public ::testing::TestWithParam<Case> {};

TEST_P(RegionBounds, ActsExactlyWhenTheClickIsInside) {
    const Case& c = GetParam();
    const Region& r = *c.region;
    const std::string at = Click(c.left, c.x, c.y);
    const std::string set_up = Click(true, r.inside_x, r.inside_y);
    switch (r.effect) {
    case Region::Effect::Supply: {
        // A right click switches off what a left click inside switched on.
        const auto run = kvtest::run_script((c.left ? "" : set_up) + at + "state\n");
        ASSERT_EQ(run.exit_code, 0) << run.err;
        const bool on = Field(run.out, "amplitude") != "0";
        EXPECT_EQ(on, c.left == c.inside);
        break;
    }
    case Region::Effect::Flag: {
        const auto run = kvtest::run_script((c.left ? "" : set_up) + at + "state\n");
        ASSERT_EQ(run.exit_code, 0) << run.err;
        EXPECT_EQ(Field(run.out, r.flag) == "true", c.left == c.inside);
        break;
    }
    case Region::Effect::Brake: {
        // From a torque of 1: a left click inside adds 0.5, a right one takes 0.5.
        const auto run = kvtest::run_script(set_up + set_up + at + "state\n");
        ASSERT_EQ(run.exit_code, 0) << run.err;
        const char* expected = !c.inside ? "1" : c.left ? "1.5" : "0.5";
        EXPECT_EQ(Field(run.out, "couple"), expected);
        break;
    }
    case Region::Effect::PlotReset: {
        // The brake line at torque 0.5 crosses the plot on row 176 until the plot is reset; only
        // the left button resets it.
        const auto run =
            kvtest::run_script("click left 250 465\npixel 600 176\n" + at + "pixel 600 176\n");
        ASSERT_EQ(run.exit_code, 0) << run.err;
        const auto lines = run.out_lines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], "pixel 600 176 000000");
        EXPECT_EQ(lines[1], c.left && c.inside ? "pixel 600 176 FFFFFF" : "pixel 600 176 000000");
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryBound, RegionBounds, ::testing::ValuesIn(AllCases()));

} // namespace
