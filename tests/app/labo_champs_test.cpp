// The field picture for any supply, drawn from what each coil carries: an open coil shows no
// field, a single-phase supply's resultant pulsates along one axis, a reversed one turns the
// other way, and no arrow ever leaves the disc that the Tick wipes.
#include "drawing/masdessin.h"
#include "model/labo.h"
#include "panels/central.h"
#include "base/palette.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace ecran;

void Dessine(HDC hdc, tagMasDessin& d, const tagLabo& labo, double P, double A = 5.0) {
    double courants[3];
    double bx;
    double by;
    labo.Courants(P, courants);
    tagLabo::Champ(courants, &bx, &by);
    d.ChampsBobines(hdc, courants, labo.BobineOuverte(), bx, by, labo.EchelleDessin(A));
}

TEST(ChampsLabo, AnOpenLineLeavesItsCoilBareAndTheResultantOnOneAxis) {
    // Line 1 open: the left coil carries nothing; the two others, in series, make a field
    // across its axis, here (phase 1 rad) pointing down at sin 1 of its full length.
    tagLabo labo;
    labo.ligne_ouverte = PHASE_BOBINE_GAUCHE;
    tagMasDessin d = MasDessin(true, false, false, true);
    const kv::Framebuffer obtenu = Apres([&](HDC hdc) { Dessine(hdc, d, labo, 1.0); });
    const kv::Framebuffer attendu = Apres([&](HDC hdc) {
        Traits(hdc, black_pen_3,
               {{260, 340, 260, 290}, {260, 340, 265, 315}, {260, 340, 255, 315}});
    });
    EXPECT_TRUE(MemeDessin(obtenu, attendu));

    // Over a period the resultant's tip stays on the vertical axis and goes from one end of it
    // to the other: it pulsates, it does not turn.
    int haut = 290;
    int bas = 290;
    for (int n = 0; n < 100; n++) {
        const double P = -0.06283185307179587 * n;
        tagMasDessin seul = MasDessin(false, false, false, true);
        const kv::Framebuffer fb = Apres([&](HDC hdc) { Dessine(hdc, seul, labo, P); });
        for (int y = 200; y < 380; y++) {
            for (int x = 200; x < 320; x++) {
                if (fb.get(x, y) != kNoir) continue;
                ASSERT_LE(std::abs(x - 260), 6)
                    << "phase " << P << " at (" << x << ", " << y << ")";
                haut = std::min(haut, y);
                bas = std::max(bas, y);
            }
        }
    }
    EXPECT_LE(haut, 231);
    EXPECT_GE(bas, 349);
}

TEST(ChampsLabo, EachOpenLineSilencesItsOwnCoil) {
    // Phase 1 is the left coil (blue), 2 the lower right (red), 3 the upper right (green).
    const COLORREF couleurs[3] = {RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 100, 0)};
    for (int phase = 1; phase <= 3; phase++) {
        tagLabo labo;
        labo.ligne_ouverte = phase;
        tagMasDessin d = MasDessin(true, true, true, false);
        const kv::Framebuffer fb = Apres([&](HDC hdc) { Dessine(hdc, d, labo, 0.4); });
        for (int c = 0; c < 3; c++) {
            if (c + 1 == phase) {
                EXPECT_EQ(Compte(fb, couleurs[c]), 0) << "open=" << phase;
            } else {
                EXPECT_GT(Compte(fb, couleurs[c]), 50) << "open=" << phase << " coil " << c + 1;
            }
        }
    }
}

TEST(ChampsLabo, AReversedSupplyTurnsTheResultantTheOtherWay) {
    // Phases 2 and 3 swapped: the field at phase P is the direct field at -P.
    tagLabo inverse;
    inverse.ordre_inverse = true;
    for (double P : {1.0, 2.5, -0.7}) {
        tagMasDessin d = MasDessin(false, false, false, true);
        const kv::Framebuffer obtenu = Apres([&](HDC hdc) { Dessine(hdc, d, inverse, P); });
        const kv::Framebuffer attendu = Apres([&](HDC hdc) { d.ChampsResultant(hdc, -P, 5.0); });
        EXPECT_TRUE(MemeDessin(obtenu, attendu)) << "phase " << P;
    }
}

TEST(ChampsLabo, NoArrowLeavesTheWipedDiscWhateverTheFlux) {
    // Twice the voltage at a tenth of the frequency is twenty times the flux: it is drawn at
    // the nominal length, so that the next Tick's wipe of the central disc covers the arrows as
    // it covers the nominal ones (the box is well beyond the disc: a longer arrow would reach it).
    for (int ouverte : {0, 2}) {
        tagLabo labo;
        labo.tension = 200;
        labo.frequence = 10;
        labo.ligne_ouverte = ouverte;
        for (bool resultante : {false, true}) {
            tagMasDessin d = MasDessin(true, true, true, resultante);
            const kv::Framebuffer vide = Apres([&](HDC hdc) { CentralPaint(hdc, 107); });
            for (int n = 0; n < 100; n++) {
                const double P = 0.0628 * n;
                const kv::Framebuffer fb = Apres([&](HDC hdc) {
                    Dessine(hdc, d, labo, P);
                    CentralPaint(hdc, 107);
                });
                // What is left is what a nominal arrow leaves too: the tip of a coil arrow at
                // its peak, 107 pixels out, pen included.
                for (int y = 130; y < 450; y++) {
                    for (int x = 100; x < 420; x++) {
                        if (fb.get(x, y) == vide.get(x, y)) continue;
                        ASSERT_LT(std::hypot(x - 260, y - 290), 109.0)
                            << "open=" << ouverte << " phase " << P << " (" << x << ", " << y
                            << ")";
                    }
                }
            }
        }
    }
}

} // namespace
