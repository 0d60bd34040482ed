#include "panels/courbe.h"

#include "base/palette.h"
#include "base/geometrie.h"
#include "base/primitives.h"
#include "base/textes.h"
#include "base/tronque.h"

tagEchelleTrace::tagEchelleTrace() {
    colonne_zero = 460;
    pixels_par_omega = 5000;
    vitesse_synchrone = 2 * PI / 100; // a turn in a supply period of 100 Ticks
    quatre_quadrants = false;
}

double tagEchelleTrace::ColonneSynchrone() const {
    return colonne_zero + pixels_par_omega * vitesse_synchrone;
}

// The original: one pixel per 0.0002 rad per Tick of speed.
int ColonneDuTrace(double omega, const tagEchelleTrace& echelle) {
    return Tronque(echelle.colonne_zero - echelle.pixels_par_omega * omega);
}

int ColonneDuTrace(double omega) {
    return ColonneDuTrace(omega, echelle_trace);
}

int LigneDuTrace(double torque) {
    return Tronque(180 - 8 * torque);
}

void PointDuTrace(double omega, double torque, int* x, int* y) {
    *x = ColonneDuTrace(omega);
    *y = LigneDuTrace(torque);
    if (!echelle_trace.quatre_quadrants) return;
    if (*x < COURBE_GAUCHE) *x = COURBE_GAUCHE;
    if (*x > COURBE_DROITE) *x = COURBE_DROITE;
    if (*y < COURBE_HAUT) *y = COURBE_HAUT;
    if (*y > COURBE_BAS - 1) *y = COURBE_BAS - 1;
}

void CreateAxe(HDC hdc) {
    // The interior takes the device context's default white brush.
    SelectObject(hdc, white_pen_10);
    Rectangle(hdc, COURBE_GAUCHE, COURBE_HAUT, COURBE_DROITE, COURBE_BAS);

    // The torque axis at speed zero: the frame's left side, but on the four-quadrant plot.
    const int zero = echelle_trace.quatre_quadrants ? Tronque(echelle_trace.colonne_zero) : 460;
    SelectObject(hdc, black_pen_1);
    CreateLine(hdc, zero, 5, zero, 355); // torque axis
    CreateLine(hdc, 455, 180, 810, 180); // speed axis

    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkColor(hdc, RGB(255, 255, 255));
    TextOutA(hdc, zero + 5, 5, textes->tu.texte, textes->tu.longueur);
    TextOutA(hdc, 780, 190, textes->n.texte, textes->n.longueur);

    SetBkColor(hdc, RGB(170, 170, 170));
    TextOutA(hdc, 740, 343, textes->raz.texte, textes->raz.longueur);
}

tagCourbe::tagCourbe() {
    last_omega = 0;
    last_torque = 0;
}

void tagCourbe::TraceCourbe(HDC hdc, double omega, double torque) {
    int x;
    int y;
    SelectObject(hdc, yellow_pen_fonce_3);
    PointDuTrace(last_omega, last_torque, &x, &y);
    CreatePoint(hdc, x, y);

    SelectObject(hdc, black_pen_3);
    PointDuTrace(omega, torque, &x, &y);
    CreatePoint(hdc, x, y);

    last_omega = omega;
    last_torque = torque;
}
