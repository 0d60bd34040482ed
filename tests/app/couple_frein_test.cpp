// The brake torque as the clicks on the brake box change it.
#include "shell/couple_frein.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CoupleFrein, LeftClicksAddOneStepEachWithoutLimit) {
    double couple = 0.0;
    for (int clic = 1; clic <= 60; clic++) {
        couple = CoupleFreinPlus(couple, 0.5);
        EXPECT_EQ(couple, 0.5 * clic);
    }
}

TEST(CoupleFrein, RightClicksStopAtZero) {
    struct Cas {
        double avant;
        double apres;
    };
    const Cas cas[] = {
        {2.0, 1.5},         {1.0, 0.5}, {0.5, 0.0}, // one left click undone
        {0.0, 0.0},    // already at zero: stays, the line is still redrawn
        {0.5001, 0.0}, // 0.0001 left: counts as zero
        {0.50011, 0.00011},
    };
    for (const Cas& c : cas) {
        const double apres = CoupleFreinMoins(c.avant, 0.5);
        if (c.apres == 0.0) {
            EXPECT_EQ(apres, 0.0) << c.avant;
            EXPECT_FALSE(std::signbit(apres)) << c.avant;
        } else {
            EXPECT_NEAR(apres, c.apres, 1e-12) << c.avant;
        }
    }
}

TEST(CoupleFrein, UnderADrivingLoadRightClicksGoThroughZero) {
    struct Cas {
        double avant;
        double apres;
    };
    const Cas cas[] = {{1.0, 0.5},     {0.5, 0.0},     {0.0, -0.5},    {-0.5, -1.0},
                       {-20.0, -20.5}, {0.50009, 0.0}, {0.49991, 0.0}, {0.4998, -0.0002}};
    for (const Cas& c : cas) {
        const double apres = CoupleFreinMoinsEntrainante(c.avant, 0.5);
        if (c.apres == 0.0) {
            EXPECT_EQ(apres, 0.0) << c.avant;
            EXPECT_FALSE(std::signbit(apres)) << c.avant;
        } else {
            EXPECT_NEAR(apres, c.apres, 1e-12) << c.avant;
        }
    }
}

TEST(CoupleFrein, ResidueOfRoundingNearZeroBecomesExactlyZero) {
    // Steps that are not exact in binary leave a tiny residue after going up and down again.
    double couple = 0.0;
    for (int i = 0; i < 3; i++)
        couple = CoupleFreinPlus(couple, 0.1);
    for (int i = 0; i < 3; i++)
        couple = CoupleFreinMoins(couple, 0.1);
    EXPECT_EQ(couple, 0.0);
}

} // namespace
