// What the sound option plays: the field's frequency and the rotor's, in the motor's own time.
#pragma once

#include "viewer/hum.h"

#include <optional>

// The supply's frequency (the field's speed), and the rotor's speed as a frequency of the same
// kind (the supply's frequency times the rotor's share of the synchronous speed): they differ by
// the rotor frequency, slip x supply frequency, which the readout shows. None while the supply is
// off: no field, nothing to hear.
std::optional<kv::viewer::Hum> MotorHum();
