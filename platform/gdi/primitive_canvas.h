// One drawing call on a DC's canvas. What the call drew joins the DC's drawn region as a box of
// its own, so that a Tick that wipes the disc and moves the plot's point reports those two places,
// not one box spanning everything between them. The DC's own canvas is used: it hands over what
// was drawn before the call and what the call drew.
#pragma once

#include "gdi/objects.h"

namespace kv::gdi {

class PrimitiveCanvas {
  public:
    explicit PrimitiveCanvas(DcObject& dc) : dc_(dc) { dc_.add_drawn(dc_.canvas.take_drawn()); }
    ~PrimitiveCanvas() { dc_.add_drawn(dc_.canvas.take_drawn()); }
    PrimitiveCanvas(const PrimitiveCanvas&) = delete;
    PrimitiveCanvas& operator=(const PrimitiveCanvas&) = delete;

    Canvas& get() { return dc_.canvas; }

  private:
    DcObject& dc_;
};

} // namespace kv::gdi
