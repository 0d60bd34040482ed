// The wipe of the central disc.
#include "drawing/masdessin.h"
#include "panels/central.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

namespace {

using namespace ecran;

TEST(CentralPaint, WipesTheRotorFieldsAndForcesInTheBackgroundColour) {
    tagMasDessin d;
    d.show_field1 = true;
    d.show_field2 = true;
    d.show_field3 = true;
    d.show_resultant = true;
    kv::Framebuffer fb = Vide();
    Sur(fb, [&](HDC hdc) {
        d.RotorTourneTotal(hdc, 0.7);
        d.ChampsTotal(hdc, -1.1, 5.0);
        d.ForceLaplaceTotal(hdc, 0.7, 8.0, -3.0, 5.0);
    });
    ASSERT_GT(Compte(fb, kCuivre), 0);

    Sur(fb, [](HDC hdc) { CentralPaint(hdc, 107); });
    for (COLORREF c : {kCuivre, kJaune, kNoir, RGB(0, 0, 255), RGB(0, 100, 0), kRouge})
        EXPECT_EQ(Compte(fb, c), 0) << std::hex << c;
    EXPECT_EQ(fb.get(260, 290), kFond);
}

TEST(CentralPaint, PaintsTheDiscOfRadius107AndNothingFarOutside) {
    const kv::Framebuffer fb = Apres([](HDC hdc) { CentralPaint(hdc, 107); });
    // Inside, up to the outline centred on the circle.
    const int dedans[][2] = {{260, 290}, {155, 290}, {365, 290}, {260, 185},
                             {260, 395}, {335, 365}, {185, 215}};
    for (const auto& p : dedans)
        EXPECT_EQ(fb.get(p[0], p[1]), kFond) << p[0] << ", " << p[1];
    // Outside: the outline reaches 2 pixels beyond the radius at most.
    const int dehors[][2] = {{149, 290}, {371, 290}, {260, 179},
                             {260, 401}, {160, 190}, {360, 390}};
    for (const auto& p : dehors)
        EXPECT_EQ(fb.get(p[0], p[1]), kVide) << p[0] << ", " << p[1];
    EXPECT_EQ(Compte(fb, kFond, 0, 0, 839, 178), 0);
    EXPECT_EQ(Compte(fb, kFond, 0, 402, 839, 599), 0);
}

} // namespace
