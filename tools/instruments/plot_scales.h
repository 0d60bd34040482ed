// The plot's scales, drawn over it by the viewer while the readout shows: the speed axis in % of
// the synchronous speed and in rpm, with a mark at synchronous speed; the torque axis in the
// plot's units and in % of the rated torque; the brake's value by its line. Every position comes
// from the plot's own scale (panels/courbe.h).
#pragma once

#include "model/labo.h"
#include "tools/instruments/layer_drawing.h"

namespace kv::tools {

// The rated torque the torque axis gives percentages of, in the plot's units: the original
// motor's at brake 10, where it runs steadily at a few % slip with a pull-out torque about twice
// as large, as a standard cage motor does (docs/model.md, "The plot's scales").
inline constexpr double kRatedTorque = 10;

inline constexpr Color kScaleColor = rgb(0, 60, 170);

// What the scales show, and the client area's width (its last columns cut the plot's frame).
struct PlotView {
    tagLabo settings;
    double brake = 0;
    bool french = true;
    int client_width = 780;
};

// The client rectangle the plot's layer covers: the plot with its frame's white border.
Rect PlotLayerPlace(int client_width);

void DrawPlotScales(const PlotView& view, LayerPen& pen);

} // namespace kv::tools
