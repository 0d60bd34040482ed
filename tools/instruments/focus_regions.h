// The parts of the picture the keyboard reaches, in Tab's order, as the application's own hit
// tests bound them (shell/zones.cpp): ALIM, the left coil, the upper-right coil, the lower-right
// coil, the rotor, Frein, R à Z.
#pragma once

#include "viewer/program.h"

#include <vector>

std::vector<kv::viewer::FocusRegion> FocusRegions();
