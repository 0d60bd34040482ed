// The rotor: three short-circuited turns, each seen as one diameter whose ends are its two
// conductors, and the Laplace force on each conductor.
#include "drawing/masdessin.h"

#include "base/geometrie.h"
#include "base/palette.h"
#include "base/primitives.h"
#include "base/tronque.h"

#include <cmath>

namespace {

constexpr double RAYON_ROTOR = 77;

// Two pixels a unit from the rotor's rim at 77 pixels: 35 units reach 105 pixels from the centre,
// inside the disc of 107 with the pen's width. The original motor's forces stay below 30.
double Bornee(double force) {
    constexpr double FORCE_MAX = 35;
    return force > FORCE_MAX ? FORCE_MAX : force < -FORCE_MAX ? -FORCE_MAX : force;
}

} // namespace

// One turn at angle a: a diameter of the rotor.
void tagMasDessin::RotorTourne(HDC hdc, double a) {
    SelectObject(hdc, cuivre_pen_4);
    CreateLine(hdc, CENTRE_X + Tronque(-RAYON_ROTOR * std::cos(a)),
               CENTRE_Y + Tronque(-RAYON_ROTOR * std::sin(a)),
               CENTRE_X + Tronque(RAYON_ROTOR * std::cos(a)),
               CENTRE_Y + Tronque(RAYON_ROTOR * std::sin(a)));
}

// The three turns, 60 degrees apart, turning rigidly with the rotor.
void tagMasDessin::RotorTourneTotal(HDC hdc, double theta) {
    RotorTourne(hdc, theta);
    RotorTourne(hdc, theta - PI_SUR_3);
    RotorTourne(hdc, theta - DEUX_PI_SUR_3);
}

// The force on the conductor at angle a, as an arrow of signed length L tangent to the rotor:
// positive L points towards decreasing angle, the direction in which the motor drives.
void tagMasDessin::ForceLaplace(HDC hdc, double a, double L) {
    SelectObject(hdc, yellow_pen_3);

    const double h = L * 0.5; // the barbs end level with the middle of the shaft
    const int px = CENTRE_X + Tronque(RAYON_ROTOR * std::cos(a));
    const int py = CENTRE_Y + Tronque(RAYON_ROTOR * std::sin(a));
    const int tx = CENTRE_X + Tronque(RAYON_ROTOR * std::cos(a) + L * std::cos(a - PI_SUR_2));
    const int ty = CENTRE_Y + Tronque(RAYON_ROTOR * std::sin(a) + L * std::sin(a - PI_SUR_2));
    const int b1x = CENTRE_X + Tronque(RAYON_ROTOR * std::cos(a) + h * std::cos(a - PI_SUR_2) +
                                       5 * std::sin(a + PI_SUR_2));
    const int b1y = CENTRE_Y + Tronque(RAYON_ROTOR * std::sin(a) + h * std::sin(a - PI_SUR_2) -
                                       5 * std::cos(a + PI_SUR_2));
    const int b2x = CENTRE_X + Tronque(RAYON_ROTOR * std::cos(a) + h * std::cos(a - PI_SUR_2) -
                                       5 * std::sin(a + PI_SUR_2));
    const int b2y = CENTRE_Y + Tronque(RAYON_ROTOR * std::sin(a) + h * std::sin(a - PI_SUR_2) +
                                       5 * std::cos(a + PI_SUR_2));

    CreateLine(hdc, tx, ty, px, py);
    CreateLine(hdc, tx, ty, b1x, b1y);
    CreateLine(hdc, tx, ty, b2x, b2y);
}

// The two conductors of a turn carry opposite currents at opposite ends of a diameter: their
// forces point opposite ways on the screen and turn the rotor the same way, a couple.
void tagMasDessin::ForceLaplaceTotal(HDC hdc, double theta, double F1, double F2, double F3) {
    if (!show_resultant) return;

    const double t = theta;
    const double decalage[3] = {0.0, PI_SUR_3, DEUX_PI_SUR_3};
    const double force[3] = {F1, F2, F3};
    for (int k = 0; k < 3; k++) {
        const double L = 2 * force[k]; // two pixels per unit of force
        ForceLaplace(hdc, t - decalage[k], L);
        ForceLaplace(hdc, (t - PI) - decalage[k], L);
    }
}

void tagMasDessin::ForceLaplaceBornee(HDC hdc, double theta, double F1, double F2, double F3) {
    ForceLaplaceTotal(hdc, theta, Bornee(F1), Bornee(F2), Bornee(F3));
}
