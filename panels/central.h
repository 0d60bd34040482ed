// The eraser of the motor's moving parts.
#pragma once

#include <windows.h>

// Paints the disc of radius r about the motor centre in the window's background colour, outline
// included: whatever was drawn there (rotor, field vectors, forces) disappears.
void CentralPaint(HDC hdc, int r);
