// The steady torque/speed curve drawn over the plot, where the operating point would stand at
// each of its points: the stable branch solid, the unstable one dashed, the pull-out point marked
// and named.
#pragma once

#include "model/caracteristique.h"
#include "tools/instruments/layer_drawing.h"

namespace kv::tools {

inline constexpr Color kCurveColor = rgb(170, 0, 120);

void DrawSteadyCurve(const tagCaracteristique& curve, const tagLabo& settings, bool french,
                     LayerPen& pen);

} // namespace kv::tools
