// The magnetic picture: each coil's field pulsates along the coil's axis, and the three of them,
// 120 degrees apart in space and in phase, add up to one field of constant length that turns
// with the supply.
#include "drawing/masdessin.h"
#include "drawing/numeros_phases.h"

#include "base/geometrie.h"
#include "base/palette.h"
#include "base/primitives.h"
#include "base/tronque.h"

#include <cmath>

// One arrow of a coil's field, based n pixels from the centre along direction alpha. Its length
// follows cos(P - alpha): it grows, vanishes and reverses as the phase turns.
void tagMasDessin::VecteurChamps(HDC hdc, double P, double alpha, int n, double A, HPEN pen) {
    VecteurBobine(hdc, std::cos(P - alpha), alpha, n, A, pen);
}

// The arrow of a coil carrying k times a phase's peak.
void tagMasDessin::VecteurBobine(HDC hdc, double k, double alpha, int n, double A, HPEN pen) {
    const double c = std::cos(alpha);
    const double s = std::sin(alpha);
    const double L6 = n + 6 * A * k; // tip
    const double L2 = n + 2 * A * k; // where the barbs start

    const int bx = CENTRE_X + Tronque(n * c);
    const int by = CENTRE_Y + Tronque(n * s);
    const int tx = CENTRE_X + Tronque(L6 * c);
    const int ty = CENTRE_Y + Tronque(L6 * s);
    const int w1x = CENTRE_X + Tronque(L2 * c + A * s);
    const int w1y = CENTRE_Y + Tronque(L2 * s - A * c);
    const int w2x = CENTRE_X + Tronque(L2 * c - A * s);
    const int w2y = CENTRE_Y + Tronque(L2 * s + A * c);

    SelectObject(hdc, pen);
    CreateLine(hdc, tx, ty, bx, by);
    CreateLine(hdc, tx, ty, w1x, w1y);
    CreateLine(hdc, tx, ty, w2x, w2y);
    NumeroteVecteur(hdc, k, alpha, n, A, pen);
}

// Three equal arrows per shown coil: the field is uniform along the axis. When the resultant is
// shown it alone starts at the centre.
void tagMasDessin::ChampsTotal(HDC hdc, double P, double A) {
    if (show_field1) {
        VecteurChamps(hdc, P, 0.0, 77, A, blue_pen_3);
        if (!show_resultant) VecteurChamps(hdc, P, 0.0, 0, A, blue_pen_3);
        VecteurChamps(hdc, P, PI, 77, A, blue_pen_3);
    }
    if (show_field2) {
        VecteurChamps(hdc, P, DEUX_PI_SUR_3, 77, A, green_pen_3);
        if (!show_resultant) VecteurChamps(hdc, P, DEUX_PI_SUR_3, 0, A, green_pen_3);
        VecteurChamps(hdc, P, DEUX_PI_SUR_3, -77, A, green_pen_3);
    }
    if (show_field3) {
        VecteurChamps(hdc, P, -DEUX_PI_SUR_3, 77, A, red_pen_3);
        if (!show_resultant) VecteurChamps(hdc, P, -DEUX_PI_SUR_3, 0, A, red_pen_3);
        VecteurChamps(hdc, P, -DEUX_PI_SUR_3, -77, A, red_pen_3);
    }
    if (show_resultant) ChampsResultant(hdc, P, A);
}

// The rotating field: it points at the supply phase itself and keeps its length, so it turns one
// full turn every supply period.
void tagMasDessin::ChampsResultant(HDC hdc, double P, double A) {
    SelectObject(hdc, black_pen_3);

    const int tx = CENTRE_X + Tronque(12 * A * std::cos(P));
    const int ty = CENTRE_Y + Tronque(12 * A * std::sin(P));
    CreateLine(hdc, tx, ty, CENTRE_X, CENTRE_Y);

    const int r1x = CENTRE_X + Tronque(6 * A * std::cos(P) + A * std::sin(P));
    const int r1y = CENTRE_Y + Tronque(6 * A * std::sin(P) - A * std::cos(P));
    const int r2x = CENTRE_X + Tronque(6 * A * std::cos(P) - A * std::sin(P));
    const int r2y = CENTRE_Y + Tronque(6 * A * std::sin(P) + A * std::cos(P));
    CreateLine(hdc, tx, ty, r1x, r1y);
    CreateLine(hdc, tx, ty, r2x, r2y);
}

// A coil whose line is open carries nothing and shows no field. A single-phase supply's resultant
// keeps one axis and pulsates along it.
void tagMasDessin::ChampsBobines(HDC hdc, const double courants[3], int ouverte, double bx,
                                 double by, double A) {
    if (show_field1 && ouverte != 0) {
        VecteurBobine(hdc, courants[0], 0.0, 77, A, blue_pen_3);
        if (!show_resultant) VecteurBobine(hdc, courants[0], 0.0, 0, A, blue_pen_3);
        VecteurBobine(hdc, -courants[0], PI, 77, A, blue_pen_3);
    }
    if (show_field2 && ouverte != 1) {
        VecteurBobine(hdc, courants[1], DEUX_PI_SUR_3, 77, A, green_pen_3);
        if (!show_resultant) VecteurBobine(hdc, courants[1], DEUX_PI_SUR_3, 0, A, green_pen_3);
        VecteurBobine(hdc, courants[1], DEUX_PI_SUR_3, -77, A, green_pen_3);
    }
    if (show_field3 && ouverte != 2) {
        VecteurBobine(hdc, courants[2], -DEUX_PI_SUR_3, 77, A, red_pen_3);
        if (!show_resultant) VecteurBobine(hdc, courants[2], -DEUX_PI_SUR_3, 0, A, red_pen_3);
        VecteurBobine(hdc, courants[2], -DEUX_PI_SUR_3, -77, A, red_pen_3);
    }
    if (show_resultant) ChampResultantVecteur(hdc, bx, by, A);
}

// The resultant of any field: 12 A long for a balanced supply's, its head 2 A wide whatever its
// length, as a coil's arrow; a field passing through zero leaves that head as a bar.
void tagMasDessin::ChampResultantVecteur(HDC hdc, double bx, double by, double A) {
    SelectObject(hdc, black_pen_3);

    const double longueur = std::sqrt(bx * bx + by * by);
    const double dx = longueur > 0 ? bx / longueur : 1.0;
    const double dy = longueur > 0 ? by / longueur : 0.0;
    const int tx = CENTRE_X + Tronque(12 * A * bx);
    const int ty = CENTRE_Y + Tronque(12 * A * by);
    CreateLine(hdc, tx, ty, CENTRE_X, CENTRE_Y);

    const int r1x = CENTRE_X + Tronque(6 * A * bx + A * dy);
    const int r1y = CENTRE_Y + Tronque(6 * A * by - A * dx);
    const int r2x = CENTRE_X + Tronque(6 * A * bx - A * dy);
    const int r2y = CENTRE_Y + Tronque(6 * A * by + A * dx);
    CreateLine(hdc, tx, ty, r1x, r1y);
    CreateLine(hdc, tx, ty, r2x, r2y);
}
