// The hit regions of the mouse commands, at and around their bounds.
#include "shell/zones.h"

#include <gtest/gtest.h>

namespace {

TEST(Zones, RightHandCoilBoundsAreTheCoilsBoundingBoxes) {
    const BornesBobinesDroites b = CalculeBornesBobinesDroites();
    EXPECT_EQ(b.x_min, 271);
    EXPECT_EQ(b.x_max, 430);
    EXPECT_EQ(b.y_min_bas, 360);
    EXPECT_EQ(b.y_max_bas, 534);
    EXPECT_EQ(b.y_min_haut, 46);
    EXPECT_EQ(b.y_max_haut, 220);
}

struct Clic {
    int x;
    int y;
    bool raz, alim, rotor, bobine1, bobine2, bobine3, frein;
};

// Which regions a click at (x, y) falls in; regions overlap.
const Clic kClics[] = {
    //  x    y    raz    alim   rotor  bob1   bob2   bob3   frein
    {741, 344, true, false, false, false, false, false, false},
    {789, 354, true, false, false, false, false, false, false},
    {740, 350, false, false, false, false, false, false, false},
    {790, 350, false, false, false, false, false, false, false},
    {760, 343, false, false, false, false, false, false, false},
    {760, 355, false, false, false, false, false, false, false},
    {49, 49, false, true, false, false, false, false, false},
    {1, 1, false, true, false, false, false, false, false},
    {50, 10, false, false, false, false, false, false, false},
    {0, 10, false, false, false, false, false, false, false},
    {10, 0, false, false, false, false, false, false, false},
    {10, 50, false, false, false, false, false, false, false},
    {161, 191, false, false, true, false, false, false, false},
    {359, 300, false, false, true, false, false, false, false},
    {160, 300, false, false, false, false, false, false, false},
    {360, 300, false, false, false, false, false, false, false},
    {260, 190, false, false, false, false, false, false, false},
    {260, 390, false, false, false, false, false, false, false},
    {11, 241, false, false, false, true, false, false, false},
    {159, 339, false, false, false, true, false, false, false},
    {10, 300, false, false, false, false, false, false, false},
    {159, 240, false, false, false, false, false, false, false},
    {100, 340, false, false, false, false, false, false, false},
    {272, 400, false, false, false, false, true, false, false},
    {429, 533, false, false, false, false, true, false, false},
    {271, 400, false, false, false, false, false, false, false},
    {430, 400, false, false, false, false, false, false, false},
    {400, 360, false, false, false, false, false, false, false},
    {400, 534, false, false, false, false, false, false, false},
    {400, 361, false, false, false, false, true, false, false},
    {272, 100, false, false, false, false, false, true, false},
    {429, 47, false, false, false, false, false, true, false},
    {429, 219, false, false, false, false, false, true, false},
    {271, 100, false, false, false, false, false, false, false},
    {430, 100, false, false, false, false, false, false, false},
    {400, 46, false, false, false, false, false, false, false},
    {400, 220, false, false, false, false, false, false, false},
    {236, 441, false, false, false, false, false, false, true},
    {274, 489, false, false, false, false, true, false, true},
    {236, 489, false, false, false, false, false, false, true},
    {235, 460, false, false, false, false, false, false, false},
    {250, 440, false, false, false, false, false, false, false},
    {275, 460, false, false, false, false, true, false, false},
    {234, 460, false, false, false, false, false, false, false},
    {250, 490, false, false, false, false, false, false, false},
    // Overlaps: every matching region acts.
    {300, 370, false, false, true, false, true, false, false},
    {359, 389, false, false, true, false, true, false, false},
    {272, 361, false, false, true, false, true, false, false},
    {300, 200, false, false, true, false, false, true, false},
    {273, 460, false, false, false, false, true, false, true},
    {500, 500, false, false, false, false, false, false, false},
};

TEST(Zones, EachClickFallsInExactlyTheRegionsThatContainIt) {
    for (const Clic& c : kClics) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
        EXPECT_EQ(DansRAZ(c.x, c.y), c.raz);
        EXPECT_EQ(DansAlim(c.x, c.y), c.alim);
        EXPECT_EQ(DansRotor(c.x, c.y), c.rotor);
        EXPECT_EQ(DansBobine1(c.x, c.y), c.bobine1);
        EXPECT_EQ(DansBobine2(c.x, c.y), c.bobine2);
        EXPECT_EQ(DansBobine3(c.x, c.y), c.bobine3);
        EXPECT_EQ(DansFrein(c.x, c.y), c.frein);
    }
}

TEST(Zones, CoordinatesReadAsUnsignedSixteenBitsNeverHitARegion) {
    // A press just off the window's left or top edge arrives as 65535 or so.
    for (int x : {65535, 65000}) {
        EXPECT_FALSE(DansAlim(x, 10));
        EXPECT_FALSE(DansBobine1(x, 300));
        EXPECT_FALSE(DansRAZ(x, 350));
    }
}

} // namespace
