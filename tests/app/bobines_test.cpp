// The stator coils as drawn: spire by spire, whole coils with their leads.
#include "drawing/masdessin.h"
#include "base/palette.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

namespace {

using namespace ecran;

// Rows where the lower-right coil's spires start, offsets 110, 116, ..., 254: 290 plus the
// truncated a * sqrt(3) / 2 - 25. Each spire ends 50 rows lower.
const int kLigneBas[25] = {360, 365, 370, 375, 381, 386, 391, 396, 401, 407, 412, 417, 422,
                           427, 433, 438, 443, 448, 453, 458, 464, 469, 474, 479, 484};

Segment SpireGauche(int a) {
    return {260 - a, 240, 260 - a, 340};
}
Segment SpireBas(int i) {
    const int a = 110 + 6 * i;
    return {303 + a / 2, kLigneBas[i], 216 + a / 2, kLigneBas[i] + 50};
}
// The upper-right coil mirrors the lower-right one in the row y = 290.
Segment SpireHaut(int i) {
    const Segment s = SpireBas(i);
    return {s.x1, 580 - s.y1, s.x2, 580 - s.y2};
}

TEST(Spires, FirstAndLastSpireOfEachCoilLieWhereExpected) {
    struct Cas {
        int bobine;
        int offset;
        Segment attendu;
    };
    const Cas cas[] = {
        {1, 110, {150, 240, 150, 340}}, {1, 254, {6, 240, 6, 340}},
        {2, 110, {358, 360, 271, 410}}, {2, 254, {430, 484, 343, 534}},
        {3, 110, {358, 220, 271, 170}}, {3, 254, {430, 96, 343, 46}},
    };
    tagMasDessin d = MasDessin(false, false, false, false);
    // The spire takes the pen already selected: a 1-pixel pen shows every pixel exactly.
    for (HPEN pen : {black_pen_1, cuivre_pen_4}) {
        for (const Cas& c : cas) {
            const kv::Framebuffer obtenu = Apres([&](HDC hdc) {
                SelectObject(hdc, pen);
                if (c.bobine == 1) d.CreateSpire1(c.offset, hdc);
                if (c.bobine == 2) d.CreateSpire2(c.offset, hdc);
                if (c.bobine == 3) d.CreateSpire3(c.offset, hdc);
            });
            const kv::Framebuffer attendu = Apres([&](HDC hdc) { Traits(hdc, pen, {c.attendu}); });
            EXPECT_TRUE(MemeDessin(obtenu, attendu))
                << "coil " << c.bobine << " offset " << c.offset;
        }
    }
}

TEST(Bobines, LeftCoilIsTwentyFiveVerticalSpiresSixPixelsApart) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { d.CreateBobine1(hdc); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) {
        for (int i = 0; i < 25; i++)
            Traits(hdc, cuivre_pen_4, {SpireGauche(110 + 6 * i)});
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
}

TEST(Bobines, LowerRightCoilCrossesItsAxisAtPlusSixtyDegrees) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { d.CreateBobine2(hdc); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) {
        for (int i = 0; i < 25; i++)
            Traits(hdc, cuivre_pen_4, {SpireBas(i)});
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
}

TEST(Bobines, UpperRightCoilMirrorsTheLowerOneAndCarriesTheLeads) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { d.CreateBobine3(hdc); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) {
        for (int i = 0; i < 25; i++)
            Traits(hdc, cuivre_pen_4, {SpireHaut(i)});
        Traits(hdc, black_pen_1,
               {
                   {430, 10, 430, 484}, // to the lower-right coil's outermost spire
                   {336, 20, 336, 56},  // to the upper-right coil's outer side
                   {60, 30, 60, 200},   // to the left coil...
                   {60, 200, 6, 240},   // ...its outermost spire's top
               });
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
}

TEST(Bobines, InnermostSpiresStayOutsideTheWipedDisc) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer fb = Apres([&](HDC hdc) {
        d.CreateBobine1(hdc);
        d.CreateBobine2(hdc);
        d.CreateBobine3(hdc);
    });
    // The wiped disc has radius 107 about (260, 290), its outline reaching 2 pixels further.
    for (int y = 0; y < fb.height(); y++)
        for (int x = 0; x < fb.width(); x++) {
            const int dx = x - 260;
            const int dy = y - 290;
            if (dx * dx + dy * dy <= 105 * 105) {
                ASSERT_EQ(fb.get(x, y), kVide) << x << ", " << y;
            }
        }
    EXPECT_EQ(fb.get(150, 290), kCuivre);
}

TEST(Bobines, CoilsDoNotDependOnTheDisplayFlags) {
    auto bobines = [](bool drapeaux) {
        tagMasDessin d = MasDessin(drapeaux, drapeaux, drapeaux, drapeaux);
        return Apres([&](HDC hdc) {
            d.CreateBobine1(hdc);
            d.CreateBobine2(hdc);
            d.CreateBobine3(hdc);
        });
    };
    EXPECT_TRUE(MemeDessin(bobines(true), bobines(false)));
}

} // namespace
