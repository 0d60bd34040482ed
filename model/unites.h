// The real motor's values in SI units. The model keeps its own units; the nameplate fixes two
// scales: a coil's rated voltage, and the current at which the preset gives its rated power.
#pragma once

#include "model/labo.h"

// A coil's rated voltage, V rms: 400 / sqrt(3), the nameplate's 230 V.
constexpr double TENSION_BOBINE_NOMINALE = 230.94010767585033;

// Volts per model unit: a coil's rated peak voltage, 400 / sqrt(3) x sqrt(2) V, over the model's:
// the supply's amplitude, 0.075, over a Tick of a 100-Tick period, 0.075 x 2 sin(pi / 100) / h.
constexpr double VOLTS_PAR_UNITE = 13.863556817532425;

// Amperes per model unit: the preset at its rated slip gives 616.6 model units of useful power,
// which must be the nameplate's 4 kW.
constexpr double AMPERES_PAR_UNITE = 0.468;

// Watts per model unit of power.
constexpr double WATTS_PAR_UNITE = VOLTS_PAR_UNITE * AMPERES_PAR_UNITE;

// A torque of the model in N.m at these pole pairs: a power over the shaft's speed, which is the
// field's over the pole pairs.
double NewtonMetres(double couple, int paires_poles);

// The model's torque that makes this many N.m.
double CoupleDuModele(double newton_metres, int paires_poles);

// The line voltage in V rms: the mains' at the voltage setting.
double TensionDeLigne(const tagLabo& labo);

// The power factor from a period's averages: P_a over sqrt(3) U I, I the line current's rms from
// the mean sum of the three lines' squares (model units).
double FacteurDePuissance(const tagLabo& labo, double absorbee, double carres_ligne);

// The line current in A rms from the mean sum of the three lines' squares.
double CourantDeLigne(double carres_ligne);
