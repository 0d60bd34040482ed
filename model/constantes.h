// The model's constants, named once: the rotor's turns, its mechanics, the supply and the step.
// Flux, current, torque and power are in the model's own units; time in Ticks or in seconds of
// the motor's time.
#pragma once

// The step: a Tick is 0.2 ms of the motor's time, so 100 Ticks make a period at 50 Hz.
constexpr double PAS_TEMPS = 0.0002; // h, seconds
constexpr double TICKS_PAR_PERIODE_NOMINALE = 100;
constexpr double FREQUENCE_NOMINALE = 50; // Hz: the supply at frequency = 100 %

// What the supply's phase advances by in a Tick at the nominal frequency: -2 pi / 100. The field
// of the original motor turns towards negative angles.
constexpr double PAS_PHASE_NOMINAL = -0.06283185307179587;

// The peak flux the supply drives through a rotor turn while it is switched on.
constexpr double AMPLITUDE_ALIMENTATION = 0.075;

// A rotor turn: L di/dt + R i = -dphi/dt. L equals the step, so L/h = 1.
constexpr double INDUCTANCE = 0.0002;
constexpr double RESISTANCE_SPIRE = 0.01; // at the nominal setting (resistance = 1)

// The rotor's mechanics: a friction torque proportional to the speed (radians per Tick), and the
// inertia that divides the torques into a change of speed per Tick.
constexpr double FROTTEMENT = 10;
constexpr double INERTIE = 200000;
