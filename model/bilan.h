// The rotor's powers, per second of the motor's time in the model's units.
#pragma once

#include "model/labo.h"

// The power of a torque at a speed in radians per Tick. The model's torques drive towards
// negative speeds, hence the minus sign. The electromagnetic torque at the synchronous speed
// gives what a rotating field carries across the air gap, instant by instant.
double PuissanceDuCouple(double couple, double omega);

// R i^2 of the three turns with these currents, at the rotor resistance of these settings.
double PertesJouleRotor(const tagLabo& labo, const double courants[3]);

// What the friction takes at this speed.
double PuissanceFrottements(double omega);
