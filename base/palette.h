// The palette: every pen and brush the program draws with. Created once at start-up
// (shell/globals.cpp), before the scene objects, and never deleted. The names tell the colour and
// width of the program's own look; another look (base/apparences.h) gives the same names other
// handles.
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

// The colours of texts drawn on the palette's brushes, and of the supply switch's label: they
// follow the look as the palette does.
extern COLORREF background_color; // the instructions' cells, on the window's background
extern COLORREF gray_color;       // the brake box's label, on gray_brush
extern COLORREF alim_off_color;   // "ALIM" while the supply is off (red)
extern COLORREF alim_on_color;    // "ALIM" while the supply is on (green)
