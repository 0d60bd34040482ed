// The real motor's circuit in the model's units: the stator's coils and the magnetising
// inductance they share with the rotor's turns, the rotor as the model always had it (its
// inductance, the step's, and its resistance), and the friction. The preset is the nameplate's
// motor (model/plaque.h); the laboratory scales each stator value and the rotor resistance.
#pragma once

#include "model/labo.h"

class tagMachine {
  public:
    double r_stator;       // a coil's resistance
    double l_fuite;        // a coil's leakage inductance: the flux it makes that the rotor misses
    double l_magnetisante; // L_m: the air gap's flux is L_m times the sum of every coil's and
                           // turn's current along its axis; a phase of the equivalent circuit
                           // sees 3/2 L_m
    double r_rotor;        // a rotor turn's resistance
    double l_rotor;        // a rotor turn's leakage inductance: INDUCTANCE, as always
    double frottement;     // friction torque per radian per Tick
};

// The preset, found by running the model against its nameplate: a turn's resistance 3.6 times the
// original's, a coil's resistance 4 times the original turn's and its leakage a turn's, L_m 18.3
// times a turn's inductance, a friction 1.2 (the original motor's is 10).
tagMachine MachinePreset();

// The motor under these settings: the preset, each stator value times its setting, the rotor's
// resistance times the rotor resistance setting.
tagMachine MachineDuLabo(const tagLabo& labo);
