// The real motor's stator: three coils fed in voltage, each with its resistance and leakage, and
// the magnetising inductance they share with the rotor's turns. The supply no longer imposes the
// flux: it is what the coils' and the turns' currents make together. With neither resistance nor
// leakage the coils' flux is the supply's again, and the rotor's step is the ideal motor's.
//
// Coils and lines are numbered in the drawing's order (left, upper right, lower right). In star
// each coil is between its line and the floating neutral; in delta coil k is across lines k and
// k + 1, so that line k carries coil k's current less coil k - 1's.
#pragma once

#include "model/labo.h"
#include "model/machine.h"

class tagStator {
  public:
    double psi[3];      // each coil's flux linkage: its leakage's and the air gap's
    double courants[3]; // each coil's current after the Tick
    double ligne[3];    // each line's current after the Tick, into the motor
    double tensions[3]; // what the supply put across each coil's terminals this Tick (in star,
                        // the line's voltage to the supply's neutral)

    // What the Tick exchanged, per second of the motor's time in the model's units. Every Tick,
    // absorbee = joule + fer + transmise + the change of the stator's and the air gap's magnetic
    // energy, and transmise = joule_rotor + mecanique + the change of the rotor's; over a supply
    // period at steady state those energies come back and the textbook's balance closes.
    double absorbee;    // P_a: each coil's voltage times its current, summed
    double joule;       // P_js: R_s i^2 of the coils, and what the step dissipates in their leakage
    double fer;         // what the step dissipates in the magnetising inductance: as iron losses
                        // would, it grows as the flux squared and with the frequency
    double transmise;   // P_tr: what crosses the air gap
    double joule_rotor; // P_jr: R i^2 of the turns, and what the step dissipates in them
    double mecanique;   // P_m: what the electromagnetic torque does on the rotor
    double couple;      // the electromagnetic torque, the forces' sum, signed as the model's

    // No flux, no current.
    tagStator();

    // The coils' currents, and the lines', after the Tick: what a starting method or an ammeter
    // reads.
    void CourantsDesBobines(double c[3]) const;
    void CourantsDeLigne(double c[3]) const;
};

// The coils as a supply of this amplitude, at this phase, keeps them at synchronism without load:
// each coil's flux the ideal motor's, carried by the magnetising current alone; phi, the air
// gap's flux through the turns at angle theta, which carry no current. A bench starts there, with
// no transient to wait for.
void MagnetiseAVide(tagStator& stator, const tagLabo& labo, const tagMachine& machine,
                    double amplitude, double phase, double theta, double phi[3]);

// One Tick of the real motor's circuits. The rotor has turned from theta_avant to theta; the
// supply's phase has advanced by pas_phase to phase. Each coil is fed the voltage that would make
// its flux the ideal motor's flux (amplitude x voltage / frequency) at its coupling and mains
// (labo.TensionBobine()). One backward-Euler step for the coils and the turns together, as the
// rotor's step: i and phi are the turns' currents and the air gap's flux through them, in and
// out. forces: what the turns take of the torque, whose work over the Tick is exactly the
// electrical energy the rotor's motion took.
void PasStator(tagStator& stator, const tagLabo& labo, const tagMachine& machine, double amplitude,
               double phase, double pas_phase, double theta_avant, double theta, double i[3],
               double phi[3], double forces[3]);
