// The torque/speed plot: the operating point moves to the model's speed and useful torque at each
// Tick and leaves a trail, which traces the motor's characteristic as it runs up.
#pragma once

#include <windows.h>

// The plot's scale of speeds. The original: speed zero in column 460, on the frame's left side,
// and 5000 pixels per radian per Tick to the right for the negative speeds the motor drives at.
// Other settings keep their synchronous speed on the original's column; the four-quadrant plot
// puts speed zero inside the frame, with its torque axis there, and keeps its points inside.
// Torques always take 8 pixels per unit upwards from row 180.
class tagEchelleTrace {
  public:
    double colonne_zero;      // where speed zero is
    double pixels_par_omega;  // per radian per Tick
    double vitesse_synchrone; // the field's speed, radians per Tick, unsigned
    bool quatre_quadrants;    // speeds of both signs, the torque axis at speed zero

    // The original.
    tagEchelleTrace();

    // The column of the synchronous speed.
    double ColonneSynchrone() const;
};

// The scale the plot is drawn at now; the shell changes it when the settings ask for another
// (shell/suivi_reglages.h).
extern tagEchelleTrace echelle_trace;

// The column of a speed and the row of a torque, as the operating point is placed, on the plot's
// scale now or on another. Points are not clipped to the frame.
int ColonneDuTrace(double omega);
int ColonneDuTrace(double omega, const tagEchelleTrace& echelle);
int LigneDuTrace(double torque);

// The plot's frame, as CreateAxe draws it: a white border 10 pixels wide is centred on it. The
// window's client area ends before its right edge.
constexpr int COURBE_GAUCHE = 460;
constexpr int COURBE_HAUT = 5;
constexpr int COURBE_DROITE = 810;
constexpr int COURBE_BAS = 355;

// Where the operating point at (omega, torque) is drawn: its column and row, held inside the
// frame on the four-quadrant plot, whose speeds of both signs would reach the motor's picture.
void PointDuTrace(double omega, double torque, int* x, int* y);

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
