#include "drawing/numeros_phases.h"

#include "base/apparences.h"
#include "base/geometrie.h"
#include "base/palette.h"
#include "base/primitives.h"
#include "base/tronque.h"

#include <cmath>

namespace {

bool Numerote() {
    return apparences[apparence_courante].numeros;
}

COLORREF CouleurPhase(int phase) {
    const tagApparence& a = apparences[apparence_courante];
    if (phase == 1) return a.blue_pen_3.couleur;
    if (phase == 2) return a.red_pen_3.couleur;
    return a.green_pen_3.couleur;
}

const char chiffres[3] = {'1', '2', '3'};

// The top-left corner of each coil's label, where nothing else is drawn: below the left coil, and
// on the side of each right-hand coil that faces the brake, above and below it.
const POINT etiquettes_bobines[3] = {{73, 346}, {294, 500}, {294, 64}};

// A point `axe` pixels from the centre along the arrow's axis and `travers` across it, as
// VecteurChamps places its points.
POINT Point(double c, double s, double axe, double travers) {
    return {CENTRE_X + Tronque(axe * c + travers * s), CENTRE_Y + Tronque(axe * s - travers * c)};
}

void Ligne(HDC hdc, POINT a, POINT b) {
    CreateLine(hdc, a.x, a.y, b.x, b.y);
}

// Phase 2 closes the head across its barbs; phase 3 adds a second, longer head whose barbs reach
// back to the base.
void Tete(HDC hdc, int phase, double k, double alpha, int n, double A) {
    const double c = std::cos(alpha);
    const double s = std::sin(alpha);
    if (phase == 2) {
        Ligne(hdc, Point(c, s, n + 2 * A * k, A), Point(c, s, n + 2 * A * k, -A));
    } else if (phase == 3) {
        const POINT pointe = Point(c, s, n + 4 * A * k, 0);
        Ligne(hdc, pointe, Point(c, s, n, A));
        Ligne(hdc, pointe, Point(c, s, n, -A));
    }
}

// A ring, a square or a diamond about the base, as outlines: the arrow stays whole inside.
void Marque(HDC hdc, int phase, int x, int y) {
    if (phase == 1) {
        const POINT octogone[9] = {{x - 3, y - 8}, {x + 3, y - 8}, {x + 8, y - 3},
                                   {x + 8, y + 3}, {x + 3, y + 8}, {x - 3, y + 8},
                                   {x - 8, y + 3}, {x - 8, y - 3}, {x - 3, y - 8}};
        Polyline(hdc, octogone, 9);
    } else if (phase == 2) {
        const POINT carre[5] = {
            {x - 7, y - 7}, {x + 7, y - 7}, {x + 7, y + 7}, {x - 7, y + 7}, {x - 7, y - 7}};
        Polyline(hdc, carre, 5);
    } else {
        const POINT losange[5] = {{x, y - 10}, {x + 10, y}, {x, y + 10}, {x - 10, y}, {x, y - 10}};
        Polyline(hdc, losange, 5);
    }
}

// The phase's digit on a patch of its colour, 13 by 16 pixels from (x, y): the digit keeps the
// contrast of text whatever the colour, and the patch ties the colour to the number.
void Etiquette(HDC hdc, int phase, int x, int y) {
    const char texte[3] = {' ', chiffres[phase - 1], ' '};
    SetBkColor(hdc, CouleurPhase(phase));
    SetTextColor(hdc, apparences[apparence_courante].chiffres[phase - 1]);
    TextOutA(hdc, x, y, texte, 3);
}

} // namespace

void NumeroteBobine(HDC hdc, int phase) {
    if (!Numerote() || phase < 1 || phase > 3) return;
    Etiquette(hdc, phase, etiquettes_bobines[phase - 1].x, etiquettes_bobines[phase - 1].y);
}

void NumeroteVecteur(HDC hdc, double k, double alpha, int n, double A, HPEN pen) {
    const int phase = PhaseDuStylo(pen);
    if (!Numerote() || phase == 0) return;
    Tete(hdc, phase, k, alpha, n, A);
    if (n == 0) return;

    const double dx = n * std::cos(alpha);
    const double dy = n * std::sin(alpha);
    const int bx = CENTRE_X + Tronque(dx);
    const int by = CENTRE_Y + Tronque(dy);
    Marque(hdc, phase, bx, by);

    // The label's centre 19 pixels aside of the base, across the axis: clear of the mark and the
    // barbs.
    const double r = std::sqrt(dx * dx + dy * dy);
    const int cx = bx + Tronque(-19 * dy / r);
    const int cy = by + Tronque(19 * dx / r);
    Etiquette(hdc, phase, cx - 6, cy - 8);
}
