// The program's global objects, defined in shell/globals.cpp.
#pragma once

#include <windows.h>

#include "drawing/masdessin.h"
#include "model/alim.h"
#include "model/demarrage.h"
#include "model/labo.h"
#include "model/mas.h"
#include "panels/courbe.h"
#include "panels/frein.h"

// The scene objects, one instance each, living for the whole run.
extern tagMas Mas;             // the motor model
extern tagAlim alim;           // the supply and its switch
extern tagMasDessin masdessin; // what the motor picture shows
extern tagCourbe courbe;       // the operating point on the plot
extern tagFrein frein;         // the brake
extern tagLabo labo;           // the laboratory's settings, at their defaults unless a program
                               // or a script sets them
extern tagDemarrage demarrage; // where the start stands since the supply was switched on

extern const char g_szClassName[]; // "MyWindowClass"
extern HINSTANCE g_hInst;
