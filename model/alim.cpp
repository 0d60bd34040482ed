#include "model/alim.h"

#include "base/palette.h"
#include "base/primitives.h"
#include "base/textes.h"
#include "model/constantes.h"

tagAlim::tagAlim() {
    amplitude = 0;
    phase = 0;
    phase_step = PAS_PHASE_NOMINAL;
}

void tagAlim::CreateAlim(HDC hdc, int mode) {
    SelectObject(hdc, black_pen_1);

    // The three phases run to the right, to the plot's left edge; the coil leads start on them.
    CreateLine(hdc, 0, 10, 460, 10);
    CreateLine(hdc, 0, 20, 460, 20);
    CreateLine(hdc, 0, 30, 460, 30);

    // The box, in the device context's default white brush, hides the lines' left ends.
    Rectangle(hdc, 0, 0, 50, 40);

    SetTextColor(hdc, alim_off_color);
    if (mode == 0) {
        SetTextColor(hdc, alim_off_color);
        amplitude = 0;
    }
    if (mode == 1) {
        SetTextColor(hdc, alim_on_color);
        amplitude = AMPLITUDE_ALIMENTATION;
    }
    // A repaint shows the switch as it stands: green while the supply is on.
    if (mode == 2 && amplitude != 0) SetTextColor(hdc, alim_on_color);

    TextOutA(hdc, 10, 15, textes->alim.texte, textes->alim.longueur);
}
