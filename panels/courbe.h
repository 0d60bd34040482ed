// The torque/speed plot: the operating point moves to the model's speed and useful torque at each
// Tick and leaves a trail, which traces the motor's characteristic as it runs up.
#pragma once

#include <windows.h>

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
