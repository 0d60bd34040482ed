// The rotor's power balance, per second of the motor's time in the model's units: what each
// Tick's step exchanges, and the average of it over one supply period, which is what a teacher
// can compare with the textbook's P_tr = P_jr + P_m.
#pragma once

#include "model/labo.h"
#include "model/mas.h"

#include <vector>

// The power of a torque at a speed in radians per Tick. The model's torques drive towards
// negative speeds, hence the minus sign. The electromagnetic torque at the synchronous speed
// gives what a rotating field carries across the air gap, instant by instant.
double PuissanceDuCouple(double couple, double omega);

// R i^2 of the three turns with these currents, at the rotor resistance of these settings.
double PertesJouleRotor(const tagLabo& labo, const double courants[3]);

// What the friction takes at this speed.
double PuissanceFrottements(double omega);

// What one Tick's step exchanged. Over a Tick, transmise = joule + mecanique + the change of the
// magnetic energy the turns hold, to the last bits; over a supply period that energy comes back
// to its value and the balance closes.
class tagPuissances {
  public:
    // P_tr: what the stator's field gives the rotor turns, the electromotive force it induces at
    // a fixed rotor angle times the current, summed over the turns.
    double transmise;
    // P_jr: R i^2, and what the step itself dissipates, (L/2h)(i - i_before)^2: the circuit as
    // the model steps it has, at a current's frequency f_i, the resistance R + (L/h)(1 - cos(2 pi
    // f_i h)). Negligible at the slip frequency; not for the 2f currents of an open line.
    double joule;
    double mecanique;   // P_m: the electromagnetic torque times the rotor's speed
    double frottements; // P_f, part of P_m; the useful power is P_m - P_f
    double couple;      // the useful torque, signed as the model's (positive drives omega down)
    double omega;       // the speed the rotor turned at during the Tick, radians per Tick
    double carres;      // i1^2 + i2^2 + i3^2 after the Tick
    // The real motor's stator (model/stator.h); 0 for the ideal motor, which has none.
    double absorbee = 0;     // P_a, from the supply
    double joule_stator = 0; // P_js
    double fer = 0;          // what the step dissipates in the air gap's field (model/stator.h)
    double carres_ligne = 0; // the sum of the line currents' squares after the Tick
};

// The Tick that took the rotor from `avant` to `apres` under these settings, with the supply's
// amplitude and its phase as the Tick left them.
tagPuissances PuissancesDuTick(const tagMas& avant, const tagMas& apres, const tagLabo& labo,
                               double amplitude, double phase);

// The last supply period's average, updated once a Tick after the Tick, outside of it. The
// period lasts 100 / (frequency / 100) Ticks, not a whole number at many frequencies: the
// window is the whole Ticks of the period with three Ticks at each end counted in part, their
// weights such that the window lasts exactly one period and that anything oscillating at 2f or
// 4f (the torque and the magnetic energy with a line open) averages to exactly its mean.
class tagBilanPeriode {
  public:
    static constexpr int CAPACITE = 1024; // Ticks kept: a period at 10 % of the frequency, and more

    std::vector<tagPuissances> ticks; // the last Ticks, in a ring
    int suivant;                      // where the next Tick goes in the ring
    int tenus;                        // Ticks held, up to CAPACITE
    double periode;                   // the period the weights are for, in Ticks
    int longueur;                     // the window's Ticks: the whole period and one
    double poids[3];                  // the three outermost Ticks' weights at each end

    tagBilanPeriode();

    // The Tick just run, under these settings.
    void Ajoute(const tagPuissances& tick, const tagLabo& labo);

    // Whether a whole period has run since the start.
    bool Complet() const;

    // The average over the last period; over the Ticks held while there is less than one.
    tagPuissances Moyenne() const;
};
