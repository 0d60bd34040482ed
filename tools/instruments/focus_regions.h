// The parts of the picture the keyboard reaches: the application's regions (shell/zones.h), in
// Tab's order, as the viewer takes them.
#pragma once

#include "core/canvas.h"
#include "viewer/program.h"

#include <vector>

std::vector<kv::viewer::FocusRegion> FocusRegions();

// Where Enter clicks in a part, as the viewer does, and where the page's buttons click: its
// middle, rounded down.
kv::Point FocusRegionMiddle(const kv::Rect& rect);
