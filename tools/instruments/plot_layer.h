// What the desktop window and the page lay over the plot (the viewer's layer): its scales with
// the readout, the steady curve while the layer's own action is on, for the settings, brake and
// language of the moment. The curve is measured between Ticks, a slice at a time, when it is
// first shown and whenever a setting it depends on has changed (not the load law, which only
// sorts it into branches, nor the pole pairs, which change only what the scales draw); never on
// the Tick's path.
#pragma once

#include "model/caracteristique.h"
#include "viewer/program.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kv::tools {

class PlotLayer {
  public:
    // The layer for what is wanted now, or none while the one shown still holds.
    std::optional<viewer::Layer> layer(const viewer::LayerWanted& wanted);
    // Measures the curve for the settings of the moment while `time_left()`, if it is wanted and
    // not measured yet; says whether some work remains.
    bool work(const std::function<bool()>& time_left);

  private:
    viewer::LayerWanted wanted_;
    std::string shown_; // what the layer shown was drawn from
    std::optional<tagCaracteristique> curve_;
    tagLabo curve_for_; // the settings `curve_` was measured for
    std::unique_ptr<tagMesureCaracteristique> measuring_;
};

} // namespace kv::tools
