// The stator: three identical coils 120 degrees apart, each 25 spires seen edge-on, and the leads
// that join them to the supply lines.
#include "drawing/masdessin.h"
#include "drawing/numeros_phases.h"

#include "base/geometrie.h"
#include "base/palette.h"
#include "base/primitives.h"
#include "base/tronque.h"

#include <cmath>

tagMasDessin::tagMasDessin() {}

// Left coil, on the axis at angle pi: a vertical spire 100 pixels long.
void tagMasDessin::CreateSpire1(int offset, HDC hdc) {
    CreateLine(hdc, CENTRE_X - offset, 240, CENTRE_X - offset, 340);
}

// Lower-right coil, on the axis at +pi/3: the spire crosses the axis at right angles.
void tagMasDessin::CreateSpire2(int offset, HDC hdc) {
    const double a = offset;
    CreateLine(hdc, CENTRE_X + Tronque(a * std::cos(PI_SUR_3) + 50 * std::cos(PI_SUR_6)),
               CENTRE_Y + Tronque(a * std::sin(PI_SUR_3) - 50 * std::sin(PI_SUR_6)),
               CENTRE_X + Tronque(a * std::cos(PI_SUR_3) - 50 * std::cos(PI_SUR_6)),
               CENTRE_Y + Tronque(a * std::sin(PI_SUR_3) + 50 * std::sin(PI_SUR_6)));
}

// Upper-right coil, on the axis at -pi/3: the mirror image of the lower-right coil.
void tagMasDessin::CreateSpire3(int offset, HDC hdc) {
    const double a = offset;
    CreateLine(hdc, CENTRE_X + Tronque(a * std::cos(-PI_SUR_3) + 50 * std::cos(-PI_SUR_6)),
               CENTRE_Y + Tronque(a * std::sin(-PI_SUR_3) - 50 * std::sin(-PI_SUR_6)),
               CENTRE_X + Tronque(a * std::cos(-PI_SUR_3) - 50 * std::cos(-PI_SUR_6)),
               CENTRE_Y + Tronque(a * std::sin(-PI_SUR_3) + 50 * std::sin(-PI_SUR_6)));
}

// The innermost spire lies just outside the central disc that every Tick repaints.
void tagMasDessin::CreateBobine1(HDC hdc) {
    SelectObject(hdc, cuivre_pen_4);
    for (int i = 0; i < 25; i++)
        CreateSpire1(110 + 6 * i, hdc);
    NumeroteBobine(hdc, 1);
}

void tagMasDessin::CreateBobine2(HDC hdc) {
    SelectObject(hdc, cuivre_pen_4);
    for (int i = 0; i < 25; i++)
        CreateSpire2(110 + 6 * i, hdc);
    NumeroteBobine(hdc, 2);
}

void tagMasDessin::CreateBobine3(HDC hdc) {
    SelectObject(hdc, cuivre_pen_4);
    for (int i = 0; i < 25; i++)
        CreateSpire3(110 + 6 * i, hdc);

    SelectObject(hdc, black_pen_1);

    // Lower-right coil: from the supply line at y = 10 down to its outermost spire.
    const int x2 = CENTRE_X + Tronque(254 * std::cos(PI_SUR_3) + 50 * std::cos(PI_SUR_6));
    const int y2 = CENTRE_Y + Tronque(254 * std::sin(PI_SUR_3) - 50 * std::sin(PI_SUR_6));
    CreateLine(hdc, x2, 10, x2, y2);

    // Upper-right coil: from the line at y = 20 down to the coil's outer side.
    const int x3 = CENTRE_X + Tronque(240 * std::cos(-PI_SUR_3) - 50 * std::cos(-PI_SUR_6));
    const int y3 = CENTRE_Y + Tronque(254 * std::sin(-PI_SUR_3) + 30 * std::sin(-PI_SUR_6));
    CreateLine(hdc, x3, 20, x3, y3);

    // Left coil: from the line at y = 30 down, then to the top of its outermost spire.
    CreateLine(hdc, 60, 30, 60, 200);
    CreateLine(hdc, 60, 200, 6, 240);
    NumeroteBobine(hdc, 3);
}
