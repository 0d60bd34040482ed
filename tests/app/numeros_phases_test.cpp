// The phases told apart by more than colour in the colour-vision look: each phase's arrow has its
// own shape, even when its field is zero, each coil and arrow its number, and the Tick's wipe
// still takes everything away.
#include "drawing/masdessin.h"
#include "drawing/numeros_phases.h"
#include "panels/central.h"
#include "base/apparences.h"
#include "base/geometrie.h"
#include "base/palette.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace {

using namespace ecran;

class NumerosDePhases : public ::testing::Test {
  protected:
    void SetUp() override { ChoisirApparence(APPARENCE_VISION_COULEURS); }
    void TearDown() override { ChoisirApparence(APPARENCE_DEFAUT); }
};

using Forme = std::set<std::pair<int, int>>;

// Where an arrow along the horizontal axis, based at (337, 290), drew, within 12 pixels of its base
// (its label lies further out); colours left aside.
Forme FormeDeLaFleche(HPEN pen, double k) {
    tagMasDessin d = MasDessin(false, false, false, false);
    const kv::Framebuffer fb =
        Apres([&](HDC hdc) { d.VecteurChamps(hdc, std::acos(k), 0.0, 77, 5.0, pen); });
    Forme f;
    for (int y = 290 - 12; y <= 290 + 12; y++)
        for (int x = 337 - 12; x <= 337 + 12 + 30; x++)
            if (fb.get(x, y) != kVide && (y - 290) * (y - 290) + (x - 337) * (x - 337) <= 144)
                f.insert({x, y});
    return f;
}

int Differents(const Forme& a, const Forme& b) {
    int n = 0;
    for (const auto& p : a)
        n += b.count(p) == 0;
    for (const auto& p : b)
        n += a.count(p) == 0;
    return n;
}

TEST_F(NumerosDePhases, EachPhaseHasItsOwnArrowEvenWhenItsFieldIsZero) {
    for (double k : {0.0, 0.5, 1.0}) {
        const Forme un = FormeDeLaFleche(blue_pen_3, k);
        const Forme deux = FormeDeLaFleche(red_pen_3, k);
        const Forme trois = FormeDeLaFleche(green_pen_3, k);
        EXPECT_GE(Differents(un, deux), 20) << k;
        EXPECT_GE(Differents(deux, trois), 20) << k;
        EXPECT_GE(Differents(un, trois), 20) << k;
    }
    // The program's own look tells them apart by colour alone.
    ChoisirApparence(APPARENCE_DEFAUT);
    for (double k : {0.0, 1.0}) {
        EXPECT_EQ(FormeDeLaFleche(blue_pen_3, k), FormeDeLaFleche(red_pen_3, k));
        EXPECT_EQ(FormeDeLaFleche(blue_pen_3, k), FormeDeLaFleche(green_pen_3, k));
    }
}

TEST_F(NumerosDePhases, TheProgramsOwnLookDrawsNoNumber) {
    ChoisirApparence(APPARENCE_DEFAUT);
    const kv::Framebuffer fb = Apres([](HDC hdc) {
        for (int phase = 1; phase <= 3; phase++)
            NumeroteBobine(hdc, phase);
        NumeroteVecteur(hdc, 1.0, 0.0, 77, 5.0, blue_pen_3);
        NumeroteVecteur(hdc, std::cos(-DEUX_PI_SUR_3), DEUX_PI_SUR_3, -77, 5.0, green_pen_3);
    });
    EXPECT_EQ(Difference(fb, Vide()), "");
}

// The coil of each phase: CreateBobine1 draws phase 1's, 2 phase 2's, 3 phase 3's.
void Bobine(tagMasDessin& d, int phase, HDC hdc) {
    if (phase == 1) d.CreateBobine1(hdc);
    if (phase == 2) d.CreateBobine2(hdc);
    if (phase == 3) d.CreateBobine3(hdc);
}

void Spire(tagMasDessin& d, int phase, int offset, HDC hdc) {
    if (phase == 1) d.CreateSpire1(offset, hdc);
    if (phase == 2) d.CreateSpire2(offset, hdc);
    if (phase == 3) d.CreateSpire3(offset, hdc);
}

// Each coil's label, the digit on a patch of the phase's colour, where the coil has no spire.
TEST_F(NumerosDePhases, EachCoilCarriesItsNumberClearOfItsSpires) {
    struct Cas {
        int phase;
        RECT etiquette;
    };
    const COLORREF couleurs[3] = {apparences[APPARENCE_VISION_COULEURS].blue_pen_3.couleur,
                                  apparences[APPARENCE_VISION_COULEURS].red_pen_3.couleur,
                                  apparences[APPARENCE_VISION_COULEURS].green_pen_3.couleur};
    for (const Cas& c :
         {Cas{1, {73, 346, 86, 362}}, Cas{2, {294, 500, 307, 516}}, Cas{3, {294, 64, 307, 80}}}) {
        SCOPED_TRACE(c.phase);
        tagMasDessin d = MasDessin(false, false, false, false);
        const kv::Framebuffer bobine = Apres([&](HDC hdc) { Bobine(d, c.phase, hdc); });
        const kv::Framebuffer spires = Apres([&](HDC hdc) {
            SelectObject(hdc, cuivre_pen_4);
            for (int i = 0; i < 25; i++)
                Spire(d, c.phase, 110 + 6 * i, hdc);
        });
        const RECT& e = c.etiquette;
        const int aire = (e.right - e.left) * (e.bottom - e.top);
        EXPECT_EQ(Compte(spires, kVide, e.left, e.top, e.right - 1, e.bottom - 1), aire)
            << "no spire where the label goes";
        const COLORREF fond = couleurs[c.phase - 1];
        const COLORREF chiffre = apparences[APPARENCE_VISION_COULEURS].chiffres[c.phase - 1];
        const int n_fond = Compte(bobine, fond, e.left, e.top, e.right - 1, e.bottom - 1);
        const int n_chiffre = Compte(bobine, chiffre, e.left, e.top, e.right - 1, e.bottom - 1);
        EXPECT_EQ(n_fond + n_chiffre, aire);
        EXPECT_GE(n_chiffre, 12) << "the digit's ink";
        EXPECT_EQ(Compte(bobine, fond), n_fond) << "nothing else in the phase's colour";
    }
}

// Marks and labels lie within the disc that every Tick wipes, at every phase of the supply: what
// the wipe leaves is what it leaves of the program's own arrows (the tip of the left coil's outer
// arrow at its peak reaches one pixel beyond it).
Forme ResteApresLEffacement(int apparence, bool resultant, double P) {
    ChoisirApparence(apparence);
    tagMasDessin d = MasDessin(true, true, true, resultant);
    kv::Framebuffer fb = Apres([&](HDC hdc) {
        d.ChampsTotal(hdc, P, 5.0);
        CentralPaint(hdc, 107);
    });
    const COLORREF fond = apparences[apparence].background_brush.couleur;
    Forme reste;
    for (int y = 0; y < fb.height(); y++)
        for (int x = 0; x < fb.width(); x++)
            if (fb.get(x, y) != kVide && fb.get(x, y) != fond) reste.insert({x, y});
    return reste;
}

TEST_F(NumerosDePhases, TheTicksWipeTakesEveryMarkAndLabelAway) {
    for (bool resultant : {false, true}) {
        for (int pas = 0; pas < 100; pas += 7) {
            const double P = -0.06283185307179587 * pas;
            EXPECT_EQ(ResteApresLEffacement(APPARENCE_VISION_COULEURS, resultant, P),
                      ResteApresLEffacement(APPARENCE_DEFAUT, resultant, P))
                << "phase step " << pas << (resultant ? ", resultant shown" : "");
        }
    }
}

} // namespace
