// The two line primitives. Both draw with the pen selected in the device context.
#pragma once

#include <windows.h>

// The segment from (x1, y1) to (x2, y2).
void CreateLine(HDC hdc, int x1, int y1, int x2, int y2);

// A segment of length zero: a dot as wide as the pen (nothing with a 1-pixel pen).
void CreatePoint(HDC hdc, int x, int y);
