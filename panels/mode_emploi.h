// The instructions panel below the plot: what each mouse button does, then three credit lines.
// The lines' texts are in the language tables (base/textes.h).
#pragma once

#include <windows.h>

// The rows of the ten lines, top to bottom; a gap sets the last three, the credits, apart.
extern const int lignes_mode_emploi_y[10];

// Writes the ten lines, black on the window's background colour, left edge at x = 450.
void ModeEmploi(HDC hdc);
