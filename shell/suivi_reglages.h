// The plot follows the laboratory's settings: its scale of speeds, and the load's line by the
// load's law. At the defaults it is the original plot, and nothing here draws.
#pragma once

#include <windows.h>

#include "model/labo.h"
#include "panels/courbe.h"

// The plot's scale for these settings: the original's at the nominal frequency; at another, the
// synchronous speed on the original's column; on the four-quadrant plot, a synchronous speed every
// 100 columns from speed zero in column 570: -n_s in column 470, 2 n_s in column 770.
tagEchelleTrace EchelleDuTrace(const tagLabo& reglages);

// How the load's torque shows on the plot under these settings (a FormeCharge), and the sign of
// its line: a driving load's direction is fixed, the plot's follows the field.
int FormeDeLaCharge(const tagLabo& reglages);
int SigneDeLaCharge(const tagLabo& reglages);

// Once a Tick, before the model's step. Another scale draws the plot again (its trail would mean
// other speeds), with the load's line; another law moves the line; a negative brake, which only a
// driving load takes, comes back to zero under any other law.
void SuitLesReglages(HDC hdc);
