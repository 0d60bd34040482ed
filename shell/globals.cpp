// Every global of the program, in one file: C++ orders dynamic initialisation only within one
// translation unit, and the palette must exist before the scene objects.
#include "base/apparences.h"
#include "base/palette.h"
#include "shell/scene.h"
#include "base/textes.h"

HPEN green_pen_3 = CreatePen(PS_SOLID, 3, RGB(0, 100, 0));
HPEN red_pen_3 = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
HPEN blue_pen_3 = CreatePen(PS_SOLID, 3, RGB(0, 0, 255));
HPEN yellow_pen_3 = CreatePen(PS_SOLID, 3, RGB(255, 255, 0));
HPEN yellow_pen_fonce_3 = CreatePen(PS_SOLID, 3, RGB(155, 155, 0));
HPEN black_pen_1 = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
HPEN black_pen_3 = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
HPEN white_pen_10 = CreatePen(PS_SOLID, 10, RGB(255, 255, 255));
HPEN cuivre_pen_4 = CreatePen(PS_SOLID, 4, RGB(255, 110, 0));
// One colour for the window class, the central disc and its outline: the wipe is invisible.
HBRUSH background_brush = CreateSolidBrush(RGB(0, 200, 200));
HPEN background_pen = CreatePen(PS_SOLID, 4, RGB(0, 200, 200));
HBRUSH gray_brush = CreateSolidBrush(RGB(170, 170, 170));
HPEN gray_pen_1 = CreatePen(PS_SOLID, 10, RGB(170, 170, 170));
HPEN marron_pen_2 = CreatePen(PS_SOLID, 2, RGB(100, 0, 100));

// The other looks' pens and brushes, made now that the palette exists (base/apparences.h).
tagPalettes palettes;
int apparence_courante = APPARENCE_DEFAUT;
COLORREF background_color = RGB(0, 200, 200);
COLORREF gray_color = RGB(170, 170, 170);
COLORREF alim_off_color = RGB(255, 0, 0);
COLORREF alim_on_color = RGB(0, 255, 0);

// Static storage is zeroed before these run: a field a constructor leaves alone starts at 0.
tagMas Mas(0.0, 0.0);
tagAlim alim;
tagMasDessin masdessin;
tagCourbe courbe;
tagEchelleTrace echelle_trace;
tagFrein frein;
tagLabo labo;
tagDemarrage demarrage;

const char g_szClassName[] = "MyWindowClass";
HINSTANCE g_hInst;

const tagTextes* textes = &textes_fr;
