#include "panels/frein.h"

#include "base/apparences.h"
#include "base/palette.h"
#include "base/primitives.h"
#include "base/textes.h"
#include "base/tronque.h"
#include "panels/courbe.h"

#include <cmath>

namespace {

// Row of the plot for a torque: 8 pixels per unit, upwards from the speed axis at y = 180.
int LigneDuCouple(double couple) {
    return Tronque(180 - 8 * couple);
}

// The load's torque at the speed of a column of the plot, on its scale now.
double CoupleDeLaColonne(int forme, double couple, int colonne) {
    const double synchronisme = echelle_trace.ColonneSynchrone() - echelle_trace.colonne_zero;
    const double vitesse = (colonne - echelle_trace.colonne_zero) / synchronisme;
    if (forme == FORME_DROITE) return couple * vitesse;
    if (forme == FORME_PARABOLE) return couple * vitesse * std::fabs(vitesse);
    if (vitesse > 0) return couple;
    if (vitesse < 0) return -couple;
    return 0;
}

} // namespace

tagFrein::tagFrein() {
    couple_step = 0.5;
    forme = FORME_LIGNE;
    signe = 1;
}

void tagFrein::CreateFrein(HDC hdc) {
    // The rod that presses the brake onto the shaft.
    SelectObject(hdc, marron_pen_2);
    CreateLine(hdc, 255, 375, 255, 435);

    SelectObject(hdc, gray_pen_1);
    SelectObject(hdc, gray_brush);
    SetBkColor(hdc, gray_color);
    Rectangle(hdc, 235, 440, 275, 490);
    TextOutA(hdc, 240, 460, textes->frein.texte, textes->frein.longueur);
}

// The line moves without redrawing the plot: the trail of the operating point under the old line
// comes back from the store.
void tagFrein::Pixelstock(HDC hdc) {
    if (!ligne_rendue) {
        for (int i = 0; i < 350; i++)
            SetPixel(hdc, pixels[i].x, pixels[i].y, pixels[i].color);
    }
    for (int i = 0; i < nb_sous_courbe; i++)
        SetPixel(hdc, sous_courbe[i].x, sous_courbe[i].y, sous_courbe[i].color);
    nb_sous_courbe = 0;

    if (forme != FORME_LIGNE) {
        ligne_rendue = true;
        StockeCourbe(hdc);
        return;
    }
    ligne_rendue = false;
    const int y = LigneDuCouple(signe * couple);
    for (int i = 0; i < 350; i++) {
        pixels[i].color = GetPixel(hdc, 460 + i, y);
        pixels[i].x = 460 + i;
        pixels[i].y = y;
    }
}

// Column by column over the line's columns, each down or up to the row before the next column's,
// so that the curve has no gap; within the frame. A load's curve only rises with the speed: a
// column and a row each take at most one span, and the store holds them all.
void tagFrein::StockeCourbe(HDC hdc) {
    int y = LigneDuCouple(CoupleDeLaColonne(forme, couple, 460));
    for (int x = 460; x < 810; x++) {
        const int suivante =
            x + 1 < 810 ? LigneDuCouple(CoupleDeLaColonne(forme, couple, x + 1)) : y;
        int haut = y;
        int bas = y;
        if (suivante > y + 1) bas = suivante - 1;
        if (suivante < y - 1) haut = suivante + 1;
        if (haut < COURBE_HAUT) haut = COURBE_HAUT;
        if (bas > COURBE_BAS - 1) bas = COURBE_BAS - 1;
        for (int ligne = haut; ligne <= bas && nb_sous_courbe < 1024; ligne++) {
            sous_courbe[nb_sous_courbe].color = GetPixel(hdc, x, ligne);
            sous_courbe[nb_sous_courbe].x = x;
            sous_courbe[nb_sous_courbe].y = ligne;
            nb_sous_courbe++;
        }
        y = suivante;
    }
}

// At steady speed the operating point rests on this line: the motor's torque equals the load.
void tagFrein::CreateCourbe(HDC hdc) {
    if (forme != FORME_LIGNE) {
        const COLORREF noir = apparences[apparence_courante].black_pen_1.couleur;
        for (int i = 0; i < nb_sous_courbe; i++)
            SetPixel(hdc, sous_courbe[i].x, sous_courbe[i].y, noir);
        return;
    }
    SelectObject(hdc, black_pen_1);
    const int y = LigneDuCouple(signe * couple);
    CreateLine(hdc, 460, y, 810, y);
}

void tagFrein::Oublie() {
    ligne_rendue = true;
    nb_sous_courbe = 0;
}
