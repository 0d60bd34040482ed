// The field vectors: each coil's pulsating field and the rotating resultant.
#include "drawing/masdessin.h"
#include "base/geometrie.h"
#include "base/palette.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

namespace {

using namespace ecran;

// An arrow as drawn: shaft from the tip to the base, then the two barbs from the tip.
struct Fleche {
    int bx, by; // base
    int tx, ty; // tip
    int w1x, w1y, w2x, w2y;
};

void Trace(HDC hdc, HPEN pen, const Fleche& f) {
    Traits(hdc, pen,
           {{f.tx, f.ty, f.bx, f.by}, {f.tx, f.ty, f.w1x, f.w1y}, {f.tx, f.ty, f.w2x, f.w2y}});
}

// Phase 0, scale 5: the left coil's field at its positive peak points right.
const Fleche kGauche77 = {337, 290, 367, 290, 347, 285, 347, 295};
const Fleche kGaucheCentre = {260, 290, 290, 290, 270, 285, 270, 295};
const Fleche kGaucheLoin = {183, 290, 213, 290, 193, 295, 193, 286}; // drawn at angle pi
const Fleche kResultant0 = {260, 290, 320, 290, 290, 285, 290, 295};

TEST(Champs, LeftCoilAtPhaseZeroShowsThreeArrowsPointingRight) {
    tagMasDessin d = MasDessin(true, false, false, false);
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { d.ChampsTotal(hdc, 0.0, 5.0); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) {
        Trace(hdc, blue_pen_3, kGauche77);
        Trace(hdc, blue_pen_3, kGaucheCentre);
        Trace(hdc, blue_pen_3, kGaucheLoin);
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
}

TEST(Champs, ResultantTakesTheCentreFromTheCoilArrows) {
    tagMasDessin d = MasDessin(true, false, false, true);
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { d.ChampsTotal(hdc, 0.0, 5.0); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) {
        Trace(hdc, blue_pen_3, kGauche77);
        Trace(hdc, blue_pen_3, kGaucheLoin);
        Trace(hdc, black_pen_3, kResultant0);
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
}

TEST(Champs, ResultantAloneAtPhaseZeroPointsRight) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { d.ChampsResultant(hdc, 0.0, 5.0); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) { Trace(hdc, black_pen_3, kResultant0); });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
}

TEST(Champs, UpperRightCoilAtItsPeakPointsDownLeft) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer obtenu = Apres(
        [&](HDC hdc) { d.VecteurChamps(hdc, DEUX_PI_SUR_3, DEUX_PI_SUR_3, 77, 5.0, green_pen_3); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) {
        Trace(hdc, green_pen_3, {222, 356, 207, 382, 221, 367, 213, 362});
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
}

TEST(Champs, AFieldPassingThroughZeroLeavesABarAcrossTheAxis) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer obtenu =
        Apres([&](HDC hdc) { d.VecteurChamps(hdc, PI_SUR_2, 0.0, 77, 5.0, blue_pen_3); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) {
        Trace(hdc, blue_pen_3, {337, 290, 337, 290, 337, 285, 337, 295});
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
}

TEST(Champs, SupplyOffLeavesADotAtEachShownBase) {
    tagMasDessin d = MasDessin(true, true, true, false);
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { d.ChampsTotal(hdc, 1.234, 0.0); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) {
        Traits(hdc, blue_pen_3, {{337, 290, 337, 290}, {260, 290, 260, 290}, {183, 290, 183, 290}});
        Traits(hdc, green_pen_3,
               {{222, 356, 222, 356}, {260, 290, 260, 290}, {298, 224, 298, 224}});
        Traits(hdc, red_pen_3, {{222, 224, 222, 224}, {260, 290, 260, 290}, {298, 356, 298, 356}});
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
}

TEST(Champs, NoFlagDrawsNothing) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { d.ChampsTotal(hdc, 0.3, 5.0); });
    EXPECT_EQ(Difference(obtenu, Vide()), "");
}

TEST(Champs, AllFlagsDrawSixCoilArrowsAndTheResultant) {
    tagMasDessin d = MasDessin(true, true, true, true);
    const kv::Framebuffer fb = Apres([&](HDC hdc) { d.ChampsTotal(hdc, 0.0, 5.0); });
    // Only the resultant starts at the centre.
    for (int y = 287; y <= 293; y++)
        for (int x = 257; x <= 263; x++) {
            const COLORREF c = fb.get(x, y);
            EXPECT_TRUE(c == kNoir || c == kVide) << x << ", " << y;
        }
    EXPECT_GT(Compte(fb, RGB(0, 0, 255)), 0);
    EXPECT_GT(Compte(fb, RGB(0, 100, 0)), 0);
    EXPECT_GT(Compte(fb, kRouge), 0);
    // The bases of the outer arrows.
    EXPECT_EQ(fb.get(337, 290), RGB(0, 0, 255));
    EXPECT_EQ(fb.get(298, 224), RGB(0, 100, 0));
    EXPECT_EQ(fb.get(298, 356), kRouge);
}

TEST(Champs, ResultantTurnsWithThePhaseAndKeepsItsLength) {
    tagMasDessin d = MasDessin(false, false, false, false);
    // A quarter period later (phase -pi/2) the resultant points straight up, 60 pixels long.
    const kv::Framebuffer fb = Apres([&](HDC hdc) { d.ChampsResultant(hdc, -PI_SUR_2, 5.0); });
    EXPECT_EQ(fb.get(260, 231), kNoir);
    EXPECT_EQ(fb.get(260, 260), kNoir);
    EXPECT_EQ(fb.get(260, 227), kVide);
    EXPECT_EQ(Compte(fb, kNoir, 0, 292, 839, 599), 0);
}

} // namespace
