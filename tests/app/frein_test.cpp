// The brake: its box, and its line across the plot that moves without disturbing the plot.
#include "panels/courbe.h"
#include "panels/frein.h"
#include "base/palette.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace ecran;

TEST(Frein, StartsWithoutTorqueAndStepsByHalfAUnit) {
    static tagFrein frein; // static storage, as the program's own
    EXPECT_EQ(frein.couple, 0.0);
    EXPECT_EQ(frein.couple_step, 0.5);
    for (const tagPixel& p : frein.pixels) {
        EXPECT_EQ(p.color, 0u);
        EXPECT_EQ(p.x, 0);
        EXPECT_EQ(p.y, 0);
    }
}

TEST(Frein, LineRowFollowsTheTorqueOnThePlotScale) {
    struct Cas {
        double couple;
        int y;
    };
    const Cas cas[] = {{0.0, 180}, {0.5, 176}, {5.0, 140}, {21.5, 8}, {22.0, 4}, {22.5, 0}};
    for (const Cas& c : cas) {
        static tagFrein frein;
        frein.couple = c.couple;
        const kv::Framebuffer obtenu = Apres([&](HDC hdc) { frein.CreateCourbe(hdc); });
        const kv::Framebuffer attendu = Apres([&](HDC hdc) {
            Traits(hdc, black_pen_1, {{460, c.y, 810, c.y}});
        });
        EXPECT_TRUE(MemeDessin(obtenu, attendu)) << "torque " << c.couple;
    }
}

TEST(Frein, FromTwentyThreeTheLineIsAboveTheWindow) {
    static tagFrein frein;
    frein.couple = 23.0;
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { frein.CreateCourbe(hdc); });
    EXPECT_EQ(Difference(obtenu, Vide()), "");
}

TEST(Frein, MovingTheLineGivesBackThePlotUnderIt) {
    static tagFrein frein;
    kv::Framebuffer fb = Vide();
    tagCourbe courbe;
    Sur(fb, [&](HDC hdc) {
        CreateAxe(hdc);
        courbe.TraceCourbe(hdc, -0.01, 0.5); // a dot on row 176
    });
    const kv::Framebuffer avant = fb;
    ASSERT_EQ(fb.get(510, 176), kNoir);

    // First click: the zeroed store puts back black at (0, 0), then the line goes to row 176.
    Sur(fb, [&](HDC hdc) {
        frein.couple = 0.5;
        frein.Pixelstock(hdc);
        frein.CreateCourbe(hdc);
    });
    EXPECT_EQ(fb.get(0, 0), kNoir);
    for (int x = 460; x <= 809; x++)
        ASSERT_EQ(fb.get(x, 176), kNoir) << x;

    // Second click: row 176 comes back as it was, the line moves to row 172.
    Sur(fb, [&](HDC hdc) {
        frein.couple = 1.0;
        frein.Pixelstock(hdc);
        frein.CreateCourbe(hdc);
    });
    for (int x = 460; x <= 809; x++) {
        ASSERT_EQ(fb.get(x, 176), avant.get(x, 176)) << x;
        ASSERT_EQ(fb.get(x, 172), kNoir) << x;
    }
    EXPECT_EQ(fb.get(510, 176), kNoir); // the dot is back
    EXPECT_EQ(fb.get(600, 176), kBlanc);
}

TEST(Frein, ARightClickAtZeroRedrawsTheLineOnTheAxis) {
    static tagFrein frein;
    kv::Framebuffer fb = Vide();
    Sur(fb, [](HDC hdc) { CreateAxe(hdc); });
    const kv::Framebuffer avant = fb;
    for (int clic = 0; clic < 2; clic++) {
        Sur(fb, [&](HDC hdc) {
            frein.couple = 0.0;
            frein.Pixelstock(hdc);
            frein.CreateCourbe(hdc);
        });
        for (int x = 460; x <= 809; x++)
            ASSERT_EQ(fb.get(x, 180), kNoir) << x;
    }
    // The store still holds the row as it was before any line.
    for (const tagPixel& p : frein.pixels) {
        EXPECT_EQ(p.y, 180);
        EXPECT_EQ(p.color, avant.get(p.x, p.y));
    }
}

// A brake as the program starts with: its constructor over zeroed static storage.
void Neuf(tagFrein& frein) {
    frein.couple = 0;
    for (tagPixel& p : frein.pixels)
        p = tagPixel{0, 0, 0};
    for (tagPixel& p : frein.sous_courbe)
        p = tagPixel{0, 0, 0};
    frein.nb_sous_courbe = 0;
    frein.ligne_rendue = false;
    frein.couple_step = 0.5;
    frein.forme = FORME_LIGNE;
    frein.signe = 1;
}

TEST(Frein, TheLoadsCurveLiesOnItsLawAndGivesBackThePlotUnderIt) {
    // A run's trail under the curves, then each law's curve, moved to another torque and turned
    // into the line: each time the plot is what it was, with only the new drawing on it. On the
    // four-quadrant plot a constant load is a step at speed zero, against the motion.
    struct Cas {
        int forme;
        bool quatre_quadrants;
        double (*loi)(double vitesse); // the load per unit of brake, at a speed in n_s
    };
    const Cas cas[] = {
        {FORME_DROITE, false, [](double v) { return v; }},
        {FORME_PARABOLE, false, [](double v) { return v * v; }},
        {FORME_PARABOLE, true, [](double v) { return v * std::fabs(v); }},
        {FORME_MARCHE, true, [](double v) { return v > 0   ? 1.0
                                                   : v < 0 ? -1.0
                                                           : 0.0; }},
    };
    for (const Cas& c : cas) {
        tagEchelleTrace echelle;
        if (c.quatre_quadrants) {
            echelle.colonne_zero = 570;
            echelle.pixels_par_omega = 100 / echelle.vitesse_synchrone;
            echelle.quatre_quadrants = true;
        }
        echelle_trace = echelle;
        const double synchronisme = echelle.pixels_par_omega * echelle.vitesse_synchrone;
        const auto dessine = [&](kv::Framebuffer& fb, int forme, double couple) {
            static tagFrein frein;
            Neuf(frein);
            frein.forme = forme;
            frein.couple = couple;
            Sur(fb, [&](HDC hdc) {
                frein.Pixelstock(hdc);
                frein.CreateCourbe(hdc);
            });
        };
        kv::Framebuffer avant = Vide();
        Sur(avant, [](HDC hdc) {
            CreateAxe(hdc);
            tagCourbe courbe;
            for (int n = -20; n <= 30; n++)
                courbe.TraceCourbe(hdc, -0.003 * n, 0.6 * n);
        });

        static tagFrein frein;
        Neuf(frein);
        frein.forme = c.forme;
        kv::Framebuffer fb = avant;
        for (const double couple : {15.0, 6.5}) {
            frein.couple = couple;
            Sur(fb, [&](HDC hdc) {
                frein.Pixelstock(hdc);
                frein.CreateCourbe(hdc);
            });
            // On the law at every column, within the frame.
            for (int x = 460; x < 780; x++) {
                const double v = (x - echelle.colonne_zero) / synchronisme;
                const int y = static_cast<int>(180 - 8 * couple * c.loi(v));
                if (y >= COURBE_HAUT && y < COURBE_BAS) {
                    ASSERT_EQ(fb.get(x, y), kNoir) << "column " << x << ", torque " << couple;
                }
            }
            kv::Framebuffer seul = avant;
            dessine(seul, c.forme, couple);
            EXPECT_TRUE(MemeDessin(fb, seul)) << "form " << c.forme << ", torque " << couple;
        }
        // Back to the line: the curve's pixels given back, the line's row saved and drawn.
        frein.forme = FORME_LIGNE;
        Sur(fb, [&](HDC hdc) {
            frein.Pixelstock(hdc);
            frein.CreateCourbe(hdc);
        });
        kv::Framebuffer ligne = avant;
        dessine(ligne, FORME_LIGNE, 6.5);
        EXPECT_TRUE(MemeDessin(fb, ligne)) << "form " << c.forme << " to the line";
    }
    echelle_trace = tagEchelleTrace();
}

TEST(Frein, BoxIsGrayWithItsRodAndLabel) {
    static tagFrein frein;
    const kv::Framebuffer fb = Apres([&](HDC hdc) {
        SetTextColor(hdc, kNoir);
        frein.CreateFrein(hdc);
    });
    const COLORREF marron = RGB(100, 0, 100);
    EXPECT_EQ(fb.get(255, 380), marron);
    EXPECT_EQ(fb.get(255, 420), marron);
    EXPECT_EQ(fb.get(255, 372), kVide);
    EXPECT_EQ(fb.get(250, 400), kVide);
    // The 10-pixel outline spreads the gray 5 pixels around the box (235, 440) to (275, 490).
    EXPECT_EQ(fb.get(236, 445), kGris);
    EXPECT_EQ(fb.get(232, 465), kGris);
    EXPECT_EQ(fb.get(277, 465), kGris);
    EXPECT_EQ(fb.get(255, 492), kGris);
    EXPECT_EQ(fb.get(227, 465), kVide);
    EXPECT_EQ(fb.get(283, 465), kVide);
    EXPECT_EQ(fb.get(255, 497), kVide);
    // "Frein" in black on gray from (240, 460).
    EXPECT_GT(Compte(fb, kNoir, 240, 460, 290, 476), 0);
    EXPECT_EQ(Compte(fb, kNoir, 0, 0, 239, 599), 0);
    EXPECT_EQ(Compte(fb, kNoir, 0, 0, 839, 459), 0);
}

} // namespace
