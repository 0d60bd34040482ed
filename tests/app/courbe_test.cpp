// The torque/speed plot: its empty frame and the moving operating point.
#include "panels/courbe.h"
#include "base/palette.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

namespace {

using namespace ecran;

TEST(Axes, FrameIsWhiteWithBlackAxesThroughTheOrigin) {
    const kv::Framebuffer fb = Apres([](HDC hdc) { CreateAxe(hdc); });
    EXPECT_EQ(fb.get(600, 100), kBlanc); // interior
    EXPECT_EQ(fb.get(700, 300), kBlanc);
    EXPECT_EQ(fb.get(456, 100), kBlanc); // 10-pixel outline, centred on the frame's edges
    EXPECT_EQ(fb.get(600, 1), kBlanc);
    EXPECT_EQ(fb.get(813, 100), kBlanc);
    EXPECT_EQ(fb.get(600, 358), kBlanc);
    EXPECT_EQ(fb.get(452, 100), kVide);
    EXPECT_EQ(fb.get(600, 362), kVide);
    EXPECT_EQ(fb.get(818, 100), kVide);

    // Torque axis from (460, 5) down to row 354.
    for (int y = 5; y <= 354; y++)
        ASSERT_EQ(fb.get(460, y), kNoir) << y;
    EXPECT_NE(fb.get(459, 100), kNoir);
    EXPECT_NE(fb.get(461, 100), kNoir);
    // Speed axis from (455, 180), 5 pixels left of the torque axis, to column 809.
    for (int x = 455; x <= 809; x++)
        ASSERT_EQ(fb.get(x, 180), kNoir) << x;
    EXPECT_NE(fb.get(454, 180), kNoir);
    EXPECT_NE(fb.get(600, 179), kNoir);
    EXPECT_NE(fb.get(600, 181), kNoir);
}

TEST(Axes, LabelsSitAtTheirPlaces) {
    const kv::Framebuffer fb = Apres([](HDC hdc) { CreateAxe(hdc); });
    // "Tu" and "n" in black on white.
    EXPECT_GT(Compte(fb, kNoir, 466, 5, 490, 20), 0);
    EXPECT_GT(Compte(fb, kNoir, 780, 190, 795, 205), 0);
    // "R a Z": black on a gray cell whose top-left corner is (740, 343).
    EXPECT_EQ(fb.get(740, 343), kGris);
    EXPECT_GT(Compte(fb, kGris, 740, 343, 800, 358), 100);
    EXPECT_GT(Compte(fb, kNoir, 740, 343, 800, 358), 0);
    EXPECT_EQ(fb.get(739, 343), kBlanc);
    EXPECT_EQ(fb.get(745, 342), kBlanc);
    EXPECT_EQ(Compte(fb, kGris, 0, 0, 739, 599), 0);
    EXPECT_EQ(Compte(fb, kGris, 0, 0, 839, 342), 0);
}

TEST(Axes, ResetWipesTheTrailAndTheBrakeLine) {
    kv::Framebuffer fb = Vide();
    Sur(fb, [](HDC hdc) { CreateAxe(hdc); });
    const kv::Framebuffer vierge = fb;
    tagCourbe courbe;
    Sur(fb, [&](HDC hdc) {
        for (int n = 1; n <= 20; n++)
            courbe.TraceCourbe(hdc, -0.002 * n, 0.5 * n);
        SelectObject(hdc, black_pen_1);
        POINT ligne[2] = {{460, 140}, {810, 140}};
        Polyline(hdc, ligne, 2);
    });
    ASSERT_NE(Difference(fb, vierge), "");
    Sur(fb, [](HDC hdc) { CreateAxe(hdc); });
    EXPECT_TRUE(MemeDessin(fb, vierge));
}

TEST(Courbe, FirstPointStartsFromTheOrigin) {
    tagCourbe courbe;
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { courbe.TraceCourbe(hdc, -0.01, 5.0); });
    // The previous position, the origin, turns dark yellow; the new point is black.
    const kv::Framebuffer attendu = Apres([](HDC hdc) {
        Traits(hdc, yellow_pen_fonce_3, {{460, 180, 460, 180}});
        Traits(hdc, black_pen_3, {{510, 140, 510, 140}});
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));
    EXPECT_EQ(courbe.last_omega, -0.01);
    EXPECT_EQ(courbe.last_torque, 5.0);
}

TEST(Courbe, EachPointLeavesTheLastOneAsTrail) {
    tagCourbe courbe;
    kv::Framebuffer fb = Vide();
    Sur(fb, [&](HDC hdc) {
        courbe.TraceCourbe(hdc, -0.01, 5.0);  // (510, 140)
        courbe.TraceCourbe(hdc, -0.02, 10.0); // (560, 100)
    });
    const kv::Framebuffer attendu = Apres([](HDC hdc) {
        Traits(hdc, yellow_pen_fonce_3, {{460, 180, 460, 180}, {510, 140, 510, 140}});
        Traits(hdc, black_pen_3, {{560, 100, 560, 100}});
    });
    EXPECT_TRUE(MemeDessin(fb, attendu));
}

TEST(Courbe, AtRestThePointStaysBlackOnTheOrigin) {
    tagCourbe courbe;
    kv::Framebuffer fb = Vide();
    Sur(fb, [&](HDC hdc) {
        for (int n = 0; n < 5; n++)
            courbe.TraceCourbe(hdc, 0.0, 0.0);
    });
    const kv::Framebuffer attendu = Apres([](HDC hdc) {
        Traits(hdc, black_pen_3, {{460, 180, 460, 180}});
    });
    EXPECT_TRUE(MemeDessin(fb, attendu));
}

TEST(Courbe, PointsOutsideTheFrameAreDrawnWhereTheyFall) {
    struct Cas {
        double omega, torque;
        int x, y;
    };
    const Cas cas[] = {
        {0.001, 0.0, 455, 180},    // a positive speed lies left of the torque axis
        {-0.01, 22.5, 510, 0},     // a torque above the frame
        {-0.0649, -0.3, 784, 182}, // the overshoot of a run-up
        {-0.0005, 0.0, 462, 180},  // 462.5 truncates to 462
    };
    for (const Cas& c : cas) {
        tagCourbe courbe;
        courbe.last_omega = c.omega;
        courbe.last_torque = c.torque;
        const kv::Framebuffer fb =
            Apres([&](HDC hdc) { courbe.TraceCourbe(hdc, c.omega, c.torque); });
        const kv::Framebuffer attendu = Apres([&](HDC hdc) {
            Traits(hdc, black_pen_3, {{c.x, c.y, c.x, c.y}});
        });
        EXPECT_TRUE(MemeDessin(fb, attendu)) << c.omega << ", " << c.torque;
    }
}

} // namespace
