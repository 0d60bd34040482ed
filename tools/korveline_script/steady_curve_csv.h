// The steady torque/speed curve as CSV, for figures and spreadsheets: korveline-script
// --steady-curve prints it for the laboratory settings given.
#pragma once

#include "model/caracteristique.h"

#include <string>

// One row a point, by slip, then the pull-out point: slip, speed as a fraction of synchronous
// speed, useful and electromagnetic torque and a turn's peak current, and whether the point lies
// on the stable branch, the unstable one or is the pull-out point. Speeds and torques are signed
// in the direction the field turns. Full precision, as `trace` writes.
std::string SteadyCurveCsv(const tagCaracteristique& curve);
