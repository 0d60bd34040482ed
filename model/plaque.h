// The real motor's nameplate, as a maker stamps it on a 4 kW four-pole motor: what the preset of
// model/machine.h is made to give at its rated torque and at starting.
#pragma once

constexpr double PLAQUE_PUISSANCE = 4000;        // W, on the shaft
constexpr double PLAQUE_TENSION_TRIANGLE = 230;  // V: the coils' rating, delta on 230 V mains
constexpr double PLAQUE_TENSION_ETOILE = 400;    // V: star on 400 V mains
constexpr double PLAQUE_FREQUENCE = 50;          // Hz
constexpr int PLAQUE_PAIRES_POLES = 2;           // 1500 rpm synchronous
constexpr double PLAQUE_VITESSE = 1450;          // rpm at the rated torque
constexpr double PLAQUE_COS_PHI = 0.82;          // power factor at the rated torque
constexpr double PLAQUE_RENDEMENT = 0.86;        // efficiency at the rated torque
constexpr double PLAQUE_COURANT_DEMARRAGE = 6.5; // starting current / rated current
constexpr double PLAQUE_COUPLE_DEMARRAGE = 2;    // starting torque / rated torque

// The rated line current on 400 V, P / (sqrt(3) U cos phi eta): 8.19 A.
double PlaqueCourantNominal();

// The rated torque, P / (2 pi n / 60): 26.3 N.m.
double PlaqueCoupleNominal();

// The rated slip: (1500 - 1450) / 1500.
double PlaqueGlissementNominal();
