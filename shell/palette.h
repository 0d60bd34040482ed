// The fixed palette: every pen and brush the program draws with. Created once at start-up
// (shell/globals.cpp), before the scene objects, and never deleted.
#pragma once

#include <windows.h>

extern HPEN green_pen_3;        // field of the upper-right coil
extern HPEN red_pen_3;          // field of the lower-right coil
extern HPEN blue_pen_3;         // field of the left coil
extern HPEN yellow_pen_3;       // Laplace forces
extern HPEN yellow_pen_fonce_3; // trail of the operating point
extern HPEN black_pen_1;        // supply lines, coil leads, brake line, plot axes
extern HPEN black_pen_3;        // resultant field, current operating point
extern HPEN white_pen_10;       // plot frame
extern HPEN cuivre_pen_4;       // copper: coil spires and rotor turns
extern HBRUSH background_brush; // window background and central disc
extern HPEN background_pen;     // outline of the central disc
extern HBRUSH gray_brush;       // brake box
extern HPEN gray_pen_1;         // outline of the brake box (10 pixels wide despite its name)
extern HPEN marron_pen_2;       // rod above the brake box
