// Another look while the program runs (the window's answer to WM_APPARENCE, base/apparences.h).
#pragma once

#include <windows.h>

// Shows look `apparence` from now on; another number, or the look already shown, changes nothing.
// The model is left alone and the run goes on. The plot keeps its trail, recoloured in place; the
// rest of the window is painted again in the new look, the fixed parts at once and the central disc
// at the next Tick.
void ChangeApparence(HWND hwnd, int apparence);

// Paints again all of the window but the plot and the band of its frame, which would lose the
// run's trail if painted.
void InvalideHorsCourbe(HWND hwnd);
