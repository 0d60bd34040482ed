// The user's commands: a press of the left or right mouse button on the regions of shell/zones.h.
#pragma once

#include <windows.h>

// lParam carries the client position: x in its low 16 bits, y in its high 16 bits.
void CliqueGauche(HWND hwnd, LPARAM lParam);
void CliqueDroit(HWND hwnd, LPARAM lParam);
