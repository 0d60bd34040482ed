// The looks the picture can take: the program's own, one for colour vision and one for a projector
// in a lit classroom. A look is the fourteen pens and brushes under the palette's names, the
// colours of the texts drawn on them, and whether the phases carry their numbers. Every look's pens
// and brushes are created at start-up, right after the palette (shell/globals.cpp); choosing a look
// only changes which handles the palette's globals hold, and the drawing goes on selecting them by
// name.
#pragma once

#include <windows.h>

enum { APPARENCE_DEFAUT, APPARENCE_VISION_COULEURS, APPARENCE_PROJECTEUR, NOMBRE_APPARENCES };

// Asks the window to take another look while it runs; wParam is the look's number. The programs
// around the application post it (a key, a control of the page); the window procedure answers it
// with ChangeApparence (shell/changement_apparence.h).
#define WM_APPARENCE (WM_APP + 1)

// A pen of this width and colour, or with width 0 a solid brush.
struct tagTrait {
    int largeur;
    COLORREF couleur;
};

// One look. The names are the palette's: they tell the default look's colour and width.
class tagApparence {
  public:
    const char* nom;             // as --look takes it
    tagTrait green_pen_3;        // phase 3: the upper-right coil's field
    tagTrait red_pen_3;          // phase 2: the lower-right coil's field
    tagTrait blue_pen_3;         // phase 1: the left coil's field
    tagTrait yellow_pen_3;       // Laplace forces
    tagTrait yellow_pen_fonce_3; // trail of the operating point
    tagTrait black_pen_1;
    tagTrait black_pen_3; // resultant field, current operating point
    tagTrait white_pen_10;
    tagTrait cuivre_pen_4; // coils and rotor turns
    tagTrait background_brush;
    tagTrait background_pen;
    tagTrait gray_brush;
    tagTrait gray_pen_1;
    tagTrait marron_pen_2;
    COLORREF alim_off_color; // the label "ALIM", supply off
    COLORREF alim_on_color;  // supply on
    bool numeros;            // a number 1, 2, 3 by each coil and its arrows, and a mark per phase
    COLORREF chiffres[3];    // the digit on phase k + 1's coil label, which has the phase's colour
};

extern const tagApparence apparences[NOMBRE_APPARENCES];
extern int apparence_courante; // the look shown

// The fourteen handles of one look, by the palette's names.
class tagPalette {
  public:
    HPEN green_pen_3;
    HPEN red_pen_3;
    HPEN blue_pen_3;
    HPEN yellow_pen_3;
    HPEN yellow_pen_fonce_3;
    HPEN black_pen_1;
    HPEN black_pen_3;
    HPEN white_pen_10;
    HPEN cuivre_pen_4;
    HBRUSH background_brush;
    HPEN background_pen;
    HBRUSH gray_brush;
    HPEN gray_pen_1;
    HPEN marron_pen_2;
};

// Every look's handles. The one instance, `palettes`, is built right after the palette: it keeps
// the palette's own handles as the default look's and creates the others.
class tagPalettes {
  public:
    tagPalette palette[NOMBRE_APPARENCES];
    tagPalettes();
};
extern tagPalettes palettes;

// The palette's globals and the text colours become look `apparence`'s; any other number changes
// nothing. Before the window exists that is all a look needs; ChangeApparence also repaints.
void ChoisirApparence(int apparence);

// The number of the look called `nom`, or -1.
int ApparenceNommee(const char* nom);

// The phase (1, 2, 3, numbered in the order of the phase sequence) whose field a pen draws; 0 for
// a pen that draws none.
int PhaseDuStylo(HPEN pen);
