// The rotor's three turns and the Laplace forces on its conductors.
#include "drawing/masdessin.h"
#include "base/palette.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

namespace {

using namespace ecran;

TEST(Rotor, AtAngleZeroTheTurnsAreThreeDiametersSixtyDegreesApart) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { d.RotorTourneTotal(hdc, 0.0); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) {
        Traits(hdc, cuivre_pen_4,
               {{183, 290, 337, 290}, {222, 356, 298, 224}, {298, 356, 222, 224}});
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
}

TEST(Rotor, TurnsAreDrawnWhateverTheResultantFlag) {
    tagMasDessin sans = MasDessin(false, false, false, false);
    tagMasDessin avec = MasDessin(false, false, false, true);
    const kv::Framebuffer a = Apres([&](HDC hdc) { sans.RotorTourneTotal(hdc, 0.4); });
    const kv::Framebuffer b = Apres([&](HDC hdc) { avec.RotorTourneTotal(hdc, 0.4); });
    EXPECT_TRUE(MemeDessin(a, b));
    EXPECT_GT(Compte(a, kCuivre), 0);
}

TEST(Forces, ArrowAtTheRightConductorFollowsTheForce) {
    struct Cas {
        double force;
        Segment fut, barbe1, barbe2;
    };
    const Cas cas[] = {
        {10, {337, 270, 337, 290}, {337, 270, 342, 280}, {337, 270, 332, 280}},  // up
        {-10, {337, 310, 337, 290}, {337, 310, 342, 300}, {337, 310, 332, 300}}, // down
        {0, {337, 290, 337, 290}, {337, 290, 342, 290}, {337, 290, 332, 290}},   // a radial bar
    };
    tagMasDessin d = MasDessin(false, false, false, true);
    for (const Cas& c : cas) {
        const kv::Framebuffer obtenu =
            Apres([&](HDC hdc) { d.ForceLaplace(hdc, 0.0, 2 * c.force); });
        const kv::Framebuffer attendu = Apres([&](HDC hdc) {
            Traits(hdc, yellow_pen_3, {c.fut, c.barbe1, c.barbe2});
        });
        EXPECT_TRUE(MemeDessin(obtenu, attendu)) << "force " << c.force;
    }
}

TEST(Forces, TheTwoConductorsOfATurnMakeACouple) {
    tagMasDessin d = MasDessin(false, false, false, true);
    const kv::Framebuffer fb =
        Apres([&](HDC hdc) { d.ForceLaplaceTotal(hdc, 0.0, 10.0, 0.0, 0.0); });
    // Right conductor pushed up, left conductor pushed down: both turn the rotor the same way.
    EXPECT_EQ(fb.get(337, 275), kJaune);
    EXPECT_EQ(fb.get(183, 305), kJaune);
    EXPECT_GT(Compte(fb, kJaune, 180, 292, 186, 320), 0);
    EXPECT_EQ(Compte(fb, kJaune, 180, 260, 186, 284), 0);
    EXPECT_EQ(Compte(fb, kJaune, 334, 296, 340, 320), 0);
    // Turns 2 and 3 carry no force: bars on their conductors only.
    for (int x : {222, 298})
        for (int y : {224, 356})
            EXPECT_EQ(fb.get(x, y), kJaune) << x << ", " << y;
}

TEST(Forces, NoArrowWithoutTheResultant) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer fb =
        Apres([&](HDC hdc) { d.ForceLaplaceTotal(hdc, 0.3, 10.0, -4.0, 7.0); });
    EXPECT_EQ(Difference(fb, Vide()), "");
}

} // namespace
