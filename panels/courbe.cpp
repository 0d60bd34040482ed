#include "panels/courbe.h"

#include "base/palette.h"
#include "base/primitives.h"
#include "base/textes.h"
#include "base/tronque.h"

// One pixel per 0.0002 rad per Tick of speed.
int ColonneDuTrace(double omega) {
    return Tronque(460 - 5000 * omega);
}

int LigneDuTrace(double torque) {
    return Tronque(180 - 8 * torque);
}

void CreateAxe(HDC hdc) {
    // The interior takes the device context's default white brush.
    SelectObject(hdc, white_pen_10);
    Rectangle(hdc, COURBE_GAUCHE, COURBE_HAUT, COURBE_DROITE, COURBE_BAS);

    SelectObject(hdc, black_pen_1);
    CreateLine(hdc, 460, 5, 460, 355);   // torque axis
    CreateLine(hdc, 455, 180, 810, 180); // speed axis

    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkColor(hdc, RGB(255, 255, 255));
    TextOutA(hdc, 465, 5, textes->tu.texte, textes->tu.longueur);
    TextOutA(hdc, 780, 190, textes->n.texte, textes->n.longueur);

    SetBkColor(hdc, RGB(170, 170, 170));
    TextOutA(hdc, 740, 343, textes->raz.texte, textes->raz.longueur);
}

tagCourbe::tagCourbe() {
    last_omega = 0;
    last_torque = 0;
}

void tagCourbe::TraceCourbe(HDC hdc, double omega, double torque) {
    SelectObject(hdc, yellow_pen_fonce_3);
    CreatePoint(hdc, ColonneDuTrace(last_omega), LigneDuTrace(last_torque));

    SelectObject(hdc, black_pen_3);
    CreatePoint(hdc, ColonneDuTrace(omega), LigneDuTrace(torque));

    last_omega = omega;
    last_torque = torque;
}
