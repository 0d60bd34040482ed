// The supply: its state, its switch and the switch's picture.
#include "model/alim.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

using namespace ecran;

TEST(Alim, StartsOffAtPhaseZero) {
    const tagAlim alim;
    EXPECT_EQ(alim.amplitude, 0.0);
    EXPECT_EQ(alim.phase, 0.0);
    // -2 pi / 100 to the last bit: one supply period is 100 Ticks.
    EXPECT_EQ(std::bit_cast<std::uint64_t>(alim.phase_step),
              std::bit_cast<std::uint64_t>(-0.06283185307179587));
    EXPECT_NEAR(100 * alim.phase_step, -2 * std::numbers::pi, 1e-14);
}

// The switch after each mode, from off and from on.
TEST(Alim, ModesSwitchTheSupply) {
    struct Cas {
        double avant;
        int mode;
        double apres;
    };
    const Cas cas[] = {
        {0.0, 1, 0.075},   {0.075, 1, 0.075}, // on, and on again
        {0.075, 0, 0.0},   {0.0, 0, 0.0},     // off, and off again
        {0.075, 2, 0.075}, {0.0, 2, 0.0},     // a repaint changes nothing
        {0.075, 7, 0.075}, {0.0, -1, 0.0},    // nor does any other mode
    };
    for (const Cas& c : cas) {
        tagAlim alim;
        alim.amplitude = c.avant;
        alim.phase = 1.5;
        Apres([&](HDC hdc) { alim.CreateAlim(hdc, c.mode); });
        EXPECT_EQ(alim.amplitude, c.apres) << "from " << c.avant << " mode " << c.mode;
        EXPECT_EQ(alim.phase, 1.5);
    }
}

// The label is green while the supply is on, red while it is off, whatever redrew it.
TEST(Alim, LabelShowsTheState) {
    struct Cas {
        double avant;
        int mode;
        COLORREF couleur;
    };
    const Cas cas[] = {
        {0.0, 1, kVert},  {0.075, 0, kRouge}, {0.075, 2, kVert},
        {0.0, 2, kRouge}, {0.0, 0, kRouge},   {0.075, 1, kVert},
    };
    for (const Cas& c : cas) {
        tagAlim alim;
        alim.amplitude = c.avant;
        const kv::Framebuffer fb = Apres([&](HDC hdc) { alim.CreateAlim(hdc, c.mode); });
        const COLORREF autre = c.couleur == kVert ? kRouge : kVert;
        EXPECT_GT(Compte(fb, c.couleur, 10, 15, 48, 31), 10)
            << "from " << c.avant << " mode " << c.mode;
        EXPECT_EQ(Compte(fb, autre), 0) << "from " << c.avant << " mode " << c.mode;
        // Text from (10, 15), on white.
        EXPECT_EQ(Compte(fb, c.couleur, 0, 0, 9, 599), 0);
        EXPECT_EQ(Compte(fb, c.couleur, 0, 0, 839, 14), 0);
        EXPECT_EQ(fb.get(10, 15), kBlanc);
    }
}

TEST(Alim, BoxHidesTheLeftEndsOfTheThreeSupplyLines) {
    tagAlim alim;
    const kv::Framebuffer fb = Apres([&](HDC hdc) { alim.CreateAlim(hdc, 2); });
    // The white box (0, 0) to (50, 40) with a black outline.
    EXPECT_EQ(fb.get(25, 0), kNoir);
    EXPECT_EQ(fb.get(0, 35), kNoir);
    EXPECT_EQ(fb.get(49, 35), kNoir);
    EXPECT_EQ(fb.get(25, 39), kNoir);
    EXPECT_EQ(fb.get(5, 10), kBlanc);
    EXPECT_EQ(fb.get(5, 20), kBlanc);
    EXPECT_EQ(fb.get(50, 35), kVide);
    EXPECT_EQ(fb.get(25, 40), kVide);
    // Right of the box the lines run on to column 459, at rows 10, 20 and 30.
    for (int y : {10, 20, 30}) {
        for (int x = 50; x <= 459; x++)
            ASSERT_EQ(fb.get(x, y), kNoir) << x << ", " << y;
        EXPECT_EQ(fb.get(460, y), kVide);
        EXPECT_EQ(fb.get(200, y - 1), kVide);
        EXPECT_EQ(fb.get(200, y + 1), kVide);
    }
}

} // namespace
