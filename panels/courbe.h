// The torque/speed plot: the operating point moves to the model's speed and useful torque at each
// Tick and leaves a trail, which traces the motor's characteristic as it runs up.
#pragma once

#include <windows.h>

// The plot's scale: the column of a speed and the row of a torque, as the operating point is
// placed (the origin at (460, 180); 5000 pixels per radian per Tick to the right for the negative
// speeds the motor drives at; 8 pixels per unit of torque upwards). Points are not clipped to the
// frame.
int ColonneDuTrace(double omega);
int LigneDuTrace(double torque);

// The plot's frame, as CreateAxe draws it: a white border 10 pixels wide is centred on it. The
// window's client area ends before its right edge.
constexpr int COURBE_GAUCHE = 460;
constexpr int COURBE_HAUT = 5;
constexpr int COURBE_DROITE = 810;
constexpr int COURBE_BAS = 355;

// Draws the empty plot: white frame, axes, labels and the reset label "R a Z". Also the plot's
// reset: it wipes the trail and the brake line.
void CreateAxe(HDC hdc);

// The operating point drawn at the previous Tick.
class tagCourbe {
  public:
    double last_torque;
    double last_omega;

    tagCourbe();

    // Turns the previous point into trail and draws the new one.
    void TraceCourbe(HDC hdc, double omega, double torque);
};
