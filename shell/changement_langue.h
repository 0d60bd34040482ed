// Another language while the program runs (the window's answer to WM_LANGUE).
#pragma once

#include <windows.h>

// Asks the window to draw its texts in another language while it runs; wParam is the language's
// row in `langues` (base/textes.h). The programs around the application post it (the page's
// language switch); the window procedure answers it with ChangeLangue.
#define WM_LANGUE (WM_APP + 2)

// Draws the texts in language `langue` (a row of `langues`) from now on; another number, or the
// language already shown, changes nothing. The run goes on and the plot keeps its trail: its
// labels are written again in place, the rest of the window is painted again.
void ChangeLangue(HWND hwnd, int langue);
