// The motor model: the rotor's three short-circuited turns, stepped once per Tick.
#pragma once

#include "model/labo.h"
#include "model/stator.h"

// State of the rotor. Fluxes and currents are in the model's own units, angles in radians.
class tagMas {
  public:
    double phi1;  // magnetic flux through rotor turn 1
    double i1;    // current in rotor turn 1
    double phi2;  // flux through turn 2
    double i2;    // current in turn 2
    double phi3;  // flux through turn 3
    double i3;    // current in turn 3
    double theta; // rotor angle; never wrapped
    double omega; // rotor speed, radians per Tick; the motor drives towards negative values
    // The real motor's coils (labo.moteur_reel); untouched otherwise.
    tagStator stator;

    // The rotor at rest at angle 0, with each turn holding the flux that a supply of this
    // amplitude and phase drives through it, and no current yet.
    tagMas(double amplitude, double phase);

    // The real motor's coils magnetised by this supply, as a bench starts them (MagnetiseAVide).
    void Magnetise(const tagLabo& labo, double amplitude, double phase);

    // One Tick: turns the rotor, recomputes flux and current in each turn, writes the force on
    // each turn into forces[0..2] and the useful torque into *torque, then updates the speed.
    // couple is the brake's resistant torque (never negative).
    void CalculMas(double amplitude, double phase, double couple, double* forces, double* torque);

    // The same Tick for any laboratory settings: the field each turn sees is the sum of what the
    // three coils carry, the rotor resistance and the load law as set; for the real motor, the
    // field the coils' and the turns' currents make, the coils fed in voltage (model/stator.h).
    // pas_phase is what the supply's phase advanced by this Tick (its speed gives the load law's
    // synchronous speed).
    void CalculMasLabo(const tagLabo& labo, double amplitude, double phase, double pas_phase,
                       double couple, double* forces, double* torque);
};

// One Tick of the model as the window's Tick makes it under these settings, for those who replay
// or hold it (the trace, the steady curve): CalculMas at the defaults, CalculMasLabo otherwise.
// phase is the supply's phase already advanced by pas_phase.
void PasModele(tagMas& mas, const tagLabo& labo, double amplitude, double phase, double pas_phase,
               double couple, double* forces, double* torque);

// How the flux through each rotor turn changes with the rotor's angle, dphi/dtheta, at this
// angle and supply phase under these settings: the force on a turn is -i times it.
void DeriveesDuFlux(const tagLabo& labo, double amplitude, double phase, double theta,
                    double derivees[3]);
