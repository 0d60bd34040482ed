// The looks' colours, measured: the contrast of what students must see against what it is drawn
// on (WCAG 2.1 relative luminance), and how far apart the colours they must tell apart stay under
// deuteranopia, protanopia and tritanopia (the matrices of Machado, Oliveira and Fernandes 2009 at
// severity 1, applied in linear RGB; distances in CIEDE2000). Each table test prints its figures.
// Then what every look must keep, and each look's pens as drawn.
#include "base/apparences.h"
#include "base/palette.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace ecran;

constexpr double kPi = 3.141592653589793;

struct Lineaire {
    double r, g, b;
};

double Canal(int v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Lineaire VersLineaire(COLORREF c) {
    return {Canal(GetRValue(c)), Canal(GetGValue(c)), Canal(GetBValue(c))};
}

double Luminance(COLORREF c) {
    const Lineaire l = VersLineaire(c);
    return 0.2126 * l.r + 0.7152 * l.g + 0.0722 * l.b;
}

double Contraste(COLORREF a, COLORREF b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Lab {
    double L, a, b;
};

// sRGB's primaries and D65 white.
Lab VersLab(const Lineaire& l) {
    const double X = 0.4124564 * l.r + 0.3575761 * l.g + 0.1804375 * l.b;
    const double Y = 0.2126729 * l.r + 0.7151522 * l.g + 0.0721750 * l.b;
    const double Z = 0.0193339 * l.r + 0.1191920 * l.g + 0.9503041 * l.b;
    const auto f = [](double t) {
        return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0;
    };
    const double fx = f(X / 0.95047), fy = f(Y / 1.0), fz = f(Z / 1.08883);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double Degres(double radians) {
    return radians * 180 / kPi;
}
double Radians(double degres) {
    return degres * kPi / 180;
}

// CIE 2000 colour difference (Sharma, Wu and Dalal's formulation).
double Ciede2000(const Lab& p, const Lab& q) {
    const double C1 = std::hypot(p.a, p.b), C2 = std::hypot(q.a, q.b);
    const double Cm7 = std::pow((C1 + C2) / 2, 7);
    const double G = 0.5 * (1 - std::sqrt(Cm7 / (Cm7 + std::pow(25.0, 7))));
    const double a1 = (1 + G) * p.a, a2 = (1 + G) * q.a;
    const double C1p = std::hypot(a1, p.b), C2p = std::hypot(a2, q.b);
    const auto teinte = [](double b, double a) {
        if (a == 0 && b == 0) return 0.0;
        const double h = Degres(std::atan2(b, a));
        return h < 0 ? h + 360 : h;
    };
    const double h1 = teinte(p.b, a1), h2 = teinte(q.b, a2);
    double dh = 0;
    if (C1p * C2p != 0) {
        dh = h2 - h1;
        if (dh > 180) dh -= 360;
        if (dh < -180) dh += 360;
    }
    const double dL = q.L - p.L;
    const double dC = C2p - C1p;
    const double dH = 2 * std::sqrt(C1p * C2p) * std::sin(Radians(dh / 2));
    const double Lm = (p.L + q.L) / 2, Cm = (C1p + C2p) / 2;
    double hm = h1 + h2;
    if (C1p * C2p != 0) {
        if (std::abs(h1 - h2) <= 180)
            hm = (h1 + h2) / 2;
        else
            hm = h1 + h2 < 360 ? (h1 + h2 + 360) / 2 : (h1 + h2 - 360) / 2;
    }
    const double T = 1 - 0.17 * std::cos(Radians(hm - 30)) + 0.24 * std::cos(Radians(2 * hm)) +
                     0.32 * std::cos(Radians(3 * hm + 6)) - 0.20 * std::cos(Radians(4 * hm - 63));
    const double dTheta = 30 * std::exp(-std::pow((hm - 275) / 25, 2));
    const double Cmp7 = std::pow(Cm, 7);
    const double RC = 2 * std::sqrt(Cmp7 / (Cmp7 + std::pow(25.0, 7)));
    const double SL = 1 + 0.015 * (Lm - 50) * (Lm - 50) / std::sqrt(20 + (Lm - 50) * (Lm - 50));
    const double SC = 1 + 0.045 * Cm;
    const double SH = 1 + 0.015 * Cm * T;
    const double RT = -std::sin(Radians(2 * dTheta)) * RC;
    return std::sqrt((dL / SL) * (dL / SL) + (dC / SC) * (dC / SC) + (dH / SH) * (dH / SH) +
                     RT * (dC / SC) * (dH / SH));
}

struct Vision {
    const char* nom;
    double m[3][3];
};

// Severity 1: the dichromacies.
const Vision kVisions[4] = {
    {"normal", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
    {"deuteranopia",
     {{0.367322, 0.860646, -0.227968},
      {0.280085, 0.672501, 0.047413},
      {-0.011820, 0.042940, 0.968881}}},
    {"protanopia",
     {{0.152286, 1.052583, -0.204868},
      {0.114503, 0.786281, 0.099216},
      {-0.003882, -0.048116, 1.051998}}},
    {"tritanopia",
     {{1.255528, -0.076749, -0.178779},
      {-0.078411, 0.930809, 0.147602},
      {0.004733, 0.691367, 0.303900}}},
};

Lab VuPar(const Vision& v, COLORREF c) {
    const Lineaire l = VersLineaire(c);
    const auto ligne = [&](int i) {
        return std::clamp(v.m[i][0] * l.r + v.m[i][1] * l.g + v.m[i][2] * l.b, 0.0, 1.0);
    };
    return VersLab({ligne(0), ligne(1), ligne(2)});
}

struct Couleur {
    const char* nom;
    COLORREF c;
};

// What students must tell apart in the motor: the three phases, the resultant, the forces, the
// rotor's turns they lie on, and the background.
std::vector<Couleur> CouleursDuMoteur(const tagApparence& a) {
    return {{"phase 1", a.blue_pen_3.couleur},         {"phase 2", a.red_pen_3.couleur},
            {"phase 3", a.green_pen_3.couleur},        {"resultant", a.black_pen_3.couleur},
            {"forces", a.yellow_pen_3.couleur},        {"rotor", a.cuivre_pen_4.couleur},
            {"background", a.background_brush.couleur}};
}

struct Ecart {
    double valeur;
    std::string entre;
};

// The closest pair of `couleurs` (the first `n` only) as `v` sees them.
Ecart PlusProches(const Vision& v, const std::vector<Couleur>& couleurs, std::size_t n) {
    Ecart e{1e9, ""};
    for (std::size_t i = 0; i < n; i++)
        for (std::size_t j = i + 1; j < n; j++) {
            const double d = Ciede2000(VuPar(v, couleurs[i].c), VuPar(v, couleurs[j].c));
            if (d < e.valeur) e = {d, std::string(couleurs[i].nom) + " / " + couleurs[j].nom};
        }
    return e;
}

TEST(Ciede2000, GivesSharmaWuAndDalalsDifferences) {
    struct Paire {
        Lab p, q;
        double attendu;
    };
    for (const Paire& t :
         {Paire{{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
          Paire{{50, 3.1571, -77.2803}, {50, 0, -82.7485}, 2.8615},
          Paire{{50, 0, 0}, {50, -1, 2}, 2.3669},
          Paire{{50, 2.49, -0.001}, {50, -2.49, 0.0009}, 7.1792},
          Paire{{50, 2.5, 0}, {73, 25, -18}, 27.1492},
          Paire{{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644}})
        EXPECT_NEAR(Ciede2000(t.p, t.q), t.attendu, 5e-5) << t.attendu;
}

TEST(Ciede2000, SimulationKeepsGreysAndWhiteIsLightnessOneHundred) {
    for (const Vision& v : kVisions) {
        const Lab blanc = VuPar(v, RGB(255, 255, 255));
        EXPECT_NEAR(blanc.L, 100, 1e-3) << v.nom;
        EXPECT_NEAR(Ciede2000(VuPar(v, RGB(128, 128, 128)), VuPar(kVisions[0], RGB(128, 128, 128))),
                    0, 0.05)
            << v.nom;
    }
}

// Each arrow against what it is drawn on: the field vectors, the resultant and the forces on the
// central disc, the trail and the operating point on the plot's white, the point on the trail.
TEST(Contraste, OfEveryArrowAgainstWhatItIsDrawnOn) {
    struct Ligne {
        const char* nom;
        COLORREF trait, fond;
        bool sur_le_disque;
    };
    const auto lignes = [](const tagApparence& a) {
        const COLORREF disque = a.background_brush.couleur;
        const COLORREF blanc = a.white_pen_10.couleur;
        return std::vector<Ligne>{
            {"phase 1", a.blue_pen_3.couleur, disque, true},
            {"phase 2", a.red_pen_3.couleur, disque, true},
            {"phase 3", a.green_pen_3.couleur, disque, true},
            {"resultant", a.black_pen_3.couleur, disque, true},
            {"forces", a.yellow_pen_3.couleur, disque, true},
            {"trail", a.yellow_pen_fonce_3.couleur, blanc, false},
            {"point", a.black_pen_3.couleur, blanc, false},
            {"point on trail", a.black_pen_3.couleur, a.yellow_pen_fonce_3.couleur, false}};
    };
    for (int k = 0; k < NOMBRE_APPARENCES; k++) {
        std::printf("%-14s", apparences[k].nom);
        for (const Ligne& l : lignes(apparences[k]))
            std::printf("  %s %.2f", l.nom, Contraste(l.trait, l.fond));
        std::printf("\n");
    }
    // Today's picture, as the issue measured it.
    const std::vector<Ligne> defaut = lignes(apparences[APPARENCE_DEFAUT]);
    const double mesures[8] = {4.13, 1.92, 3.58, 10.10, 1.94, 2.97, 21.00, 7.08};
    for (std::size_t i = 0; i < defaut.size(); i++)
        EXPECT_NEAR(Contraste(defaut[i].trait, defaut[i].fond), mesures[i], 0.005) << defaut[i].nom;
    for (const Ligne& l : lignes(apparences[APPARENCE_PROJECTEUR]))
        EXPECT_GE(Contraste(l.trait, l.fond), 3.0) << "projector: " << l.nom;
    // The plot is the program's own in the colour-vision look; its arrows stand out anyway.
    for (const Ligne& l : lignes(apparences[APPARENCE_VISION_COULEURS])) {
        if (l.sur_le_disque) {
            EXPECT_GE(Contraste(l.trait, l.fond), 3.0) << "colour-vision: " << l.nom;
        }
    }
}

// For each look and vision, the closest two phases, and the closest two of all the motor's colours.
TEST(VisionDesCouleurs, DistancesUnderEachDeficiency) {
    constexpr double kSeuil = 20; // CIEDE2000: two thin arrows apart at a glance
    for (int k = 0; k < NOMBRE_APPARENCES; k++) {
        const std::vector<Couleur> couleurs = CouleursDuMoteur(apparences[k]);
        for (const Vision& v : kVisions) {
            const Ecart phases = PlusProches(v, couleurs, 3);
            const Ecart toutes = PlusProches(v, couleurs, couleurs.size());
            std::printf("%-14s %-13s phases %5.1f (%s)   all %5.1f (%s)\n", apparences[k].nom,
                        v.nom, phases.valeur, phases.entre.c_str(), toutes.valeur,
                        toutes.entre.c_str());
            if (k == APPARENCE_VISION_COULEURS) {
                EXPECT_GE(toutes.valeur, kSeuil) << v.nom << ": " << toutes.entre;
            }
        }
    }
    // Today: red and dark green are one colour to a protanope.
    EXPECT_LT(PlusProches(kVisions[2], CouleursDuMoteur(apparences[APPARENCE_DEFAUT]), 3).valeur,
              3);
}

// The plot is not painted again when the look changes: only its trail changes colour, in place.
// And the brake keeps one row of the plot under its line: its pen stays one pixel wide.
TEST(Apparences, KeepThePlotTheWipeAndTheBrakeLineWorking) {
    const tagApparence& defaut = apparences[APPARENCE_DEFAUT];
    for (const tagApparence& a : apparences) {
        SCOPED_TRACE(a.nom);
        EXPECT_EQ(a.white_pen_10.largeur, defaut.white_pen_10.largeur);
        EXPECT_EQ(a.white_pen_10.couleur, defaut.white_pen_10.couleur);
        EXPECT_EQ(a.black_pen_1.largeur, 1);
        EXPECT_EQ(a.black_pen_1.couleur, defaut.black_pen_1.couleur);
        EXPECT_EQ(a.black_pen_3.couleur, defaut.black_pen_3.couleur);
        EXPECT_GE(a.yellow_pen_fonce_3.largeur, a.black_pen_3.largeur)
            << "the trail's dot covers the point it replaces";
        for (COLORREF autre : {a.white_pen_10.couleur, a.black_pen_1.couleur, RGB(170, 170, 170)})
            EXPECT_NE(a.yellow_pen_fonce_3.couleur, autre) << "the trail is recoloured alone";
        EXPECT_EQ(a.background_pen.couleur, a.background_brush.couleur) << "an invisible wipe";
        EXPECT_EQ(a.gray_pen_1.couleur, a.gray_brush.couleur);
        EXPECT_EQ(a.background_brush.largeur, 0);
        EXPECT_EQ(a.gray_brush.largeur, 0);
        EXPECT_EQ(ApparenceNommee(a.nom), &a - apparences);
    }
    EXPECT_EQ(ApparenceNommee("Projector"), -1);
    EXPECT_EQ(ApparenceNommee(nullptr), -1);
}

// Text is read at 4.5:1: the labels' digits on their patch, "ALIM" on its white box in a new
// look, the instructions on the background and "Frein" on the brake box.
TEST(Apparences, TextsKeepTheContrastOfText) {
    for (const tagApparence& a : apparences) {
        SCOPED_TRACE(a.nom);
        EXPECT_GE(Contraste(RGB(0, 0, 0), a.background_brush.couleur), 4.5);
        EXPECT_GE(Contraste(RGB(0, 0, 0), a.gray_brush.couleur), 4.5);
        if (&a == &apparences[APPARENCE_DEFAUT]) continue;
        EXPECT_GE(Contraste(a.alim_off_color, RGB(255, 255, 255)), 4.5);
        EXPECT_GE(Contraste(a.alim_on_color, RGB(255, 255, 255)), 4.5);
        if (!a.numeros) continue;
        const COLORREF phases[3] = {a.blue_pen_3.couleur, a.red_pen_3.couleur,
                                    a.green_pen_3.couleur};
        for (int k = 0; k < 3; k++)
            EXPECT_GE(Contraste(a.chiffres[k], phases[k]), 4.5) << "phase " << k + 1;
    }
}

// Width and colour as drawn: a horizontal line's thickness in its middle column, a rectangle's
// inside for a brush.
struct Trace {
    int largeur;
    COLORREF couleur;
};

Trace Stylo(HPEN pen) {
    const kv::Framebuffer fb = Apres([&](HDC hdc) { Traits(hdc, pen, {{20, 40, 60, 40}}); });
    Trace t{0, fb.get(40, 40)};
    for (int y = 20; y <= 60; y++)
        t.largeur += fb.get(40, y) == t.couleur;
    return t;
}

COLORREF Brosse(HBRUSH brush) {
    const kv::Framebuffer fb = Apres([&](HDC hdc) {
        SelectObject(hdc, brush);
        Rectangle(hdc, 10, 10, 30, 30);
    });
    return fb.get(20, 20);
}

TEST(Apparences, EachLooksPaletteDrawsItsTable) {
    for (int k = 0; k < NOMBRE_APPARENCES; k++) {
        ChoisirApparence(k);
        const tagApparence& a = apparences[k];
        SCOPED_TRACE(a.nom);
        const struct {
            HPEN pen;
            tagTrait trait;
        } stylos[12] = {{green_pen_3, a.green_pen_3},
                        {red_pen_3, a.red_pen_3},
                        {blue_pen_3, a.blue_pen_3},
                        {yellow_pen_3, a.yellow_pen_3},
                        {yellow_pen_fonce_3, a.yellow_pen_fonce_3},
                        {black_pen_1, a.black_pen_1},
                        {black_pen_3, a.black_pen_3},
                        {white_pen_10, a.white_pen_10},
                        {cuivre_pen_4, a.cuivre_pen_4},
                        {background_pen, a.background_pen},
                        {gray_pen_1, a.gray_pen_1},
                        {marron_pen_2, a.marron_pen_2}};
        for (const auto& s : stylos) {
            const Trace t = Stylo(s.pen);
            EXPECT_EQ(t.couleur, s.trait.couleur);
            EXPECT_EQ(t.largeur, s.trait.largeur);
        }
        EXPECT_EQ(Brosse(background_brush), a.background_brush.couleur);
        EXPECT_EQ(Brosse(gray_brush), a.gray_brush.couleur);
        EXPECT_EQ(background_color, a.background_brush.couleur);
        EXPECT_EQ(gray_color, a.gray_brush.couleur);
        EXPECT_EQ(alim_off_color, a.alim_off_color);
        EXPECT_EQ(alim_on_color, a.alim_on_color);
        EXPECT_EQ(apparence_courante, k);
    }
    const HPEN avant = green_pen_3;
    ChoisirApparence(NOMBRE_APPARENCES);
    EXPECT_EQ(green_pen_3, avant) << "an unknown look changes nothing";
    ChoisirApparence(APPARENCE_DEFAUT);
    EXPECT_EQ(PhaseDuStylo(blue_pen_3), 1);
    EXPECT_EQ(PhaseDuStylo(red_pen_3), 2);
    EXPECT_EQ(PhaseDuStylo(green_pen_3), 3);
    EXPECT_EQ(PhaseDuStylo(black_pen_3), 0);
}

} // namespace
