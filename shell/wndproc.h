// The window procedure: timer Ticks run the simulation, paints redraw the fixed parts, clicks are
// the user's commands.
#pragma once

#include <windows.h>

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
