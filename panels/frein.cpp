#include "panels/frein.h"

#include "base/palette.h"
#include "base/primitives.h"
#include "base/textes.h"
#include "base/tronque.h"

namespace {

// Row of the plot for a torque: 8 pixels per unit, upwards from the speed axis at y = 180.
int LigneDuCouple(double couple) {
    return Tronque(180 - 8 * couple);
}

} // namespace

tagFrein::tagFrein() {
    couple_step = 0.5;
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
    for (int i = 0; i < 350; i++)
        SetPixel(hdc, pixels[i].x, pixels[i].y, pixels[i].color);

    const int y = LigneDuCouple(couple);
    for (int i = 0; i < 350; i++) {
        pixels[i].color = GetPixel(hdc, 460 + i, y);
        pixels[i].x = 460 + i;
        pixels[i].y = y;
    }
}

// At steady speed the operating point rests on this line: the motor's torque equals the load.
void tagFrein::CreateCourbe(HDC hdc) {
    SelectObject(hdc, black_pen_1);
    const int y = LigneDuCouple(couple);
    CreateLine(hdc, 460, y, 810, y);
}
