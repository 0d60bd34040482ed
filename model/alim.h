// The three-phase supply and its on-screen switch, the "ALIM" box in the top-left corner.
#pragma once

#include <windows.h>

class tagAlim {
  public:
    double amplitude;  // peak flux the supply drives through a rotor turn: 0 off, 0.075 on
    double phase;      // radians; runs towards negative angles and is never wrapped
    double phase_step; // change of phase per Tick: one supply period every 100 Ticks

    // Off, at phase 0.
    tagAlim();

    // Draws the switch with its three supply lines. mode 1 switches the supply on, mode 0 off,
    // mode 2 only redraws.
    void CreateAlim(HDC hdc, int mode);
};
