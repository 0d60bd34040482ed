#include "base/apparences.h"

#include "base/palette.h"

#include <cstring>

// The colours were chosen with a simulation of colour vision (tests/app/apparences_test.cpp gives
// the figures and holds them). What the plot shows (its frame, axes, labels, the brake line and the
// current operating point) is the same in every look: a change of look recolours the plot's trail
// in place instead of repainting it, so the run's curve stays.
const tagApparence apparences[NOMBRE_APPARENCES] = {
    // The program's own picture: the palette of shell/globals.cpp, value for value.
    {"default",
     {3, RGB(0, 100, 0)},
     {3, RGB(255, 0, 0)},
     {3, RGB(0, 0, 255)},
     {3, RGB(255, 255, 0)},
     {3, RGB(155, 155, 0)},
     {1, RGB(0, 0, 0)},
     {3, RGB(0, 0, 0)},
     {10, RGB(255, 255, 255)},
     {4, RGB(255, 110, 0)},
     {0, RGB(0, 200, 200)},
     {4, RGB(0, 200, 200)},
     {0, RGB(170, 170, 170)},
     {10, RGB(170, 170, 170)},
     {2, RGB(100, 0, 100)},
     RGB(255, 0, 0),
     RGB(0, 255, 0),
     false,
     {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)}},
    // Phases, resultant, forces, rotor and background told apart under deuteranopia, protanopia
    // and tritanopia, and each phase numbered.
    {"colour-vision",
     {3, RGB(0, 145, 165)}, // phase 3, teal
     {3, RGB(200, 0, 0)},   // phase 2, red
     {3, RGB(15, 0, 225)},  // phase 1, blue
     {3, RGB(125, 65, 85)}, // forces, plum
     {3, RGB(155, 155, 0)},
     {1, RGB(0, 0, 0)},
     {3, RGB(0, 0, 0)},
     {10, RGB(255, 255, 255)},
     {4, RGB(185, 170, 115)}, // brass
     {0, RGB(215, 245, 245)},
     {4, RGB(215, 245, 245)},
     {0, RGB(170, 170, 170)},
     {10, RGB(170, 170, 170)},
     {2, RGB(100, 0, 100)},
     RGB(200, 0, 0),
     RGB(0, 120, 110),
     true,
     {RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0)}},
    // A projector in a lit room: wider arrows, darker colours, and every arrow at 3:1 or more
    // against what it is drawn on. The one-pixel pen stays one pixel: the brake keeps exactly the
    // one row of the plot under its line.
    {"projector",
     {5, RGB(20, 115, 140)},
     {5, RGB(175, 0, 0)},
     {5, RGB(10, 0, 195)},
     {5, RGB(120, 40, 75)},
     {5, RGB(110, 110, 0)},
     {1, RGB(0, 0, 0)},
     {5, RGB(0, 0, 0)},
     {10, RGB(255, 255, 255)},
     {4, RGB(165, 125, 95)},
     {0, RGB(215, 245, 245)},
     {4, RGB(215, 245, 245)},
     {0, RGB(130, 130, 130)},
     {10, RGB(130, 130, 130)},
     {3, RGB(100, 0, 100)},
     RGB(200, 0, 0),
     RGB(0, 120, 110),
     false,
     {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)}},
};

namespace {

HPEN Stylo(const tagTrait& trait) {
    return CreatePen(PS_SOLID, trait.largeur, trait.couleur);
}

HBRUSH Brosse(const tagTrait& trait) {
    return CreateSolidBrush(trait.couleur);
}

// In the palette's order: a braced list is evaluated from left to right.
tagPalette Cree(const tagApparence& a) {
    return {Stylo(a.green_pen_3),       Stylo(a.red_pen_3),          Stylo(a.blue_pen_3),
            Stylo(a.yellow_pen_3),      Stylo(a.yellow_pen_fonce_3), Stylo(a.black_pen_1),
            Stylo(a.black_pen_3),       Stylo(a.white_pen_10),       Stylo(a.cuivre_pen_4),
            Brosse(a.background_brush), Stylo(a.background_pen),     Brosse(a.gray_brush),
            Stylo(a.gray_pen_1),        Stylo(a.marron_pen_2)};
}

} // namespace

tagPalettes::tagPalettes() {
    palette[APPARENCE_DEFAUT] = {green_pen_3,        red_pen_3,        blue_pen_3,     yellow_pen_3,
                                 yellow_pen_fonce_3, black_pen_1,      black_pen_3,    white_pen_10,
                                 cuivre_pen_4,       background_brush, background_pen, gray_brush,
                                 gray_pen_1,         marron_pen_2};
    for (int apparence = 0; apparence < NOMBRE_APPARENCES; apparence++)
        if (apparence != APPARENCE_DEFAUT) palette[apparence] = Cree(apparences[apparence]);
}

void ChoisirApparence(int apparence) {
    if (apparence < 0 || apparence >= NOMBRE_APPARENCES) return;
    const tagPalette& p = palettes.palette[apparence];
    green_pen_3 = p.green_pen_3;
    red_pen_3 = p.red_pen_3;
    blue_pen_3 = p.blue_pen_3;
    yellow_pen_3 = p.yellow_pen_3;
    yellow_pen_fonce_3 = p.yellow_pen_fonce_3;
    black_pen_1 = p.black_pen_1;
    black_pen_3 = p.black_pen_3;
    white_pen_10 = p.white_pen_10;
    cuivre_pen_4 = p.cuivre_pen_4;
    background_brush = p.background_brush;
    background_pen = p.background_pen;
    gray_brush = p.gray_brush;
    gray_pen_1 = p.gray_pen_1;
    marron_pen_2 = p.marron_pen_2;

    const tagApparence& a = apparences[apparence];
    background_color = a.background_brush.couleur;
    gray_color = a.gray_brush.couleur;
    alim_off_color = a.alim_off_color;
    alim_on_color = a.alim_on_color;
    apparence_courante = apparence;
}

int ApparenceNommee(const char* nom) {
    for (int apparence = 0; apparence < NOMBRE_APPARENCES; apparence++)
        if (nom != nullptr && std::strcmp(apparences[apparence].nom, nom) == 0) return apparence;
    return -1;
}

// The phases are numbered as the field turns: left coil, lower-right, upper-right.
int PhaseDuStylo(HPEN pen) {
    if (pen == blue_pen_3) return 1;
    if (pen == red_pen_3) return 2;
    if (pen == green_pen_3) return 3;
    return 0;
}
