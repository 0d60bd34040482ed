// The brake: a resistant torque set with the mouse, its box below the motor, and its line across
// the torque/speed plot.
#pragma once

#include <windows.h>

// One pixel saved from under the brake line.
struct tagPixel {
    COLORREF color; // colour before the line covered it
    int x;
    int y;
};

// How the load's torque follows the speed, as the plot shows it.
enum FormeCharge {
    FORME_LIGNE,   // the brake's value at every speed: the original's line
    FORME_MARCHE,  // the brake's value against the motion: a step at speed zero
    FORME_DROITE,  // times the speed over the synchronous speed, against the motion
    FORME_PARABOLE // times its square, against the motion: a fan
};

class tagFrein {
  public:
    double couple;              // brake torque, model units; negative only for a driving load
    double couple_step;         // change per click
    tagPixel pixels[350];       // the plot row under the line, columns 460 to 809
    int forme;                  // a FormeCharge, as the shell sets it from the laboratory
    int signe;                  // the line stands at signe * couple: -1 for a driving load, whose
                                // direction is fixed, while the plot shows the other direction
    bool ligne_rendue;          // the row under the line is back already: a curve shows instead
    tagPixel sous_courbe[1024]; // the plot under the load's curve, when it is not a line
    int nb_sous_courbe;

    // Sets the step, the line's form and sign: the one instance, frein, lives in zero-initialised
    // static storage, so the torque starts at 0 and the stores hold zero records.
    tagFrein();

    // The gray box labelled "Frein", in the text colour left by the plot drawn just before.
    void CreateFrein(HDC hdc);
    // Puts back the plot under the previous line or curve, then saves what lies under the one for
    // the current torque and form.
    void Pixelstock(HDC hdc);
    // Draws the line at the height of the current torque, on the plot's scale; or the load's
    // curve over the pixels Pixelstock saved.
    void CreateCourbe(HDC hdc);
    // The plot was drawn again: nothing under the old line or curve is to be put back.
    void Oublie();

  private:
    void StockeCourbe(HDC hdc);
};
