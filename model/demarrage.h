// The start's schedule: from the supply's switching on, what the starter applies to the motor at
// each Tick. Direct on line applies the settings as they are; the others apply them in part
// (a fraction of the voltage, of the frequency, more rotor resistance) until the start is over.
// Switching the supply off puts the schedule back to its beginning.
#pragma once

#include "model/labo.h"

class tagDemarrage {
  public:
    int mode;                  // the start this schedule follows: another begins at its first step
    long ticks;                // Ticks since the supply was switched on; 0 while it is off
    int etape;                 // 1 the first step, 2 the next...; 0 once the start is over
    double facteur_tension;    // what the starter applies, times the settings' values
    double facteur_frequence;  //
    double facteur_resistance; //
    bool etoile;               // the coils in star (star-delta's first step)

    // Before the supply is switched on: the first step.
    tagDemarrage();

    // Once a Tick, before the model's step: the supply's amplitude (0 when off) and the rotor's
    // speed after the last step (radians per Tick) decide the step of this Tick.
    void Avance(const tagLabo& labo, double amplitude, double omega);

    // The settings the model steps with this Tick: the voltage, the frequency and the rotor
    // resistance times the factors. On direct on line, the settings themselves.
    tagLabo Applique(const tagLabo& labo) const;
};

// The coils' voltage in star, relative to delta's on the same mains: 1 / sqrt(3).
constexpr double TENSION_ETOILE = 0.5773502691896258;

// The time a drive takes to magnetise the motor, s of the motor's time: its voltage rises from 0
// over it, so that the flux builds up instead of leaping at switching on.
constexpr double MAGNETISATION_VF = 0.1;

// The lowest frequency a drive starts from, times the set one: its first Tick must turn the field.
constexpr double FREQUENCE_MINIMALE_VF = 0.02;
