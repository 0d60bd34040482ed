// The steady torque/speed curve drawn over the plot, where the operating point would stand at
// each of its points: solid where it is stable under the settings' load law, dashed where it is
// not, the pull-out point, if the curve has one, marked and named.
#pragma once

#include "model/caracteristique.h"
#include "tools/instruments/layer_drawing.h"

namespace kv::tools {

inline constexpr Color kCurveColor = rgb(170, 0, 120);

// `settings`: those the curve was measured for, with the load law of the moment, which only
// sorts its points into branches.
void DrawSteadyCurve(const tagCaracteristique& curve, const tagLabo& settings, bool french,
                     LayerPen& pen);

} // namespace kv::tools
