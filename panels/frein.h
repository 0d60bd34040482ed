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

class tagFrein {
  public:
    double couple;        // brake torque, model units; never negative
    double couple_step;   // change per click
    tagPixel pixels[350]; // the plot row under the line, columns 460 to 809

    // Sets the step only: the one instance, frein, lives in zero-initialised static storage, so
    // the torque starts at 0 and the store holds zero records.
    tagFrein();

    // The gray box labelled "Frein", in the text colour left by the plot drawn just before.
    void CreateFrein(HDC hdc);
    // Puts back the row under the previous line, then saves the row under the line for the
    // current torque.
    void Pixelstock(HDC hdc);
    // Draws the line at the height of the current torque, on the plot's scale.
    void CreateCourbe(HDC hdc);
};
