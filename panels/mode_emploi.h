// The instructions panel below the plot: what each mouse button does, then three credit lines.
#pragma once

#include <windows.h>

// One line of the panel, ISO 8859-1, drawn with its exact length (no terminator is drawn).
struct LigneModeEmploi {
    int y;
    const char* texte;
    int longueur;
};

// The ten lines, top to bottom; the last three are the credits.
extern const LigneModeEmploi lignes_mode_emploi[10];

// Writes the ten lines, black on the window's background colour, left edge at x = 450.
void ModeEmploi(HDC hdc);
