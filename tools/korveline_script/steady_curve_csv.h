// The steady torque/speed curve as CSV, for figures and spreadsheets: korveline-script
// --steady-curve prints it for the laboratory settings given.
#pragma once

#include "model/caracteristique.h"

#include <string>

// One row a point, by slip, then the pull-out point if the curve has one (its largest torque
// between its ends): slip, speed as a fraction of synchronous speed, useful and electromagnetic
// torque and a turn's peak current, and whether the point lies on a stable branch under the load
// law given, an unstable one, or is the pull-out point. Speeds and torques are signed in the
// direction the field turns. Full precision, as `trace` writes.
std::string SteadyCurveCsv(const tagCaracteristique& curve);
