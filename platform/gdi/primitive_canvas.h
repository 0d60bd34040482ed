// One drawing call's own canvas over a DC's framebuffer and clip. What the call drew joins the
// DC's drawn region as a box of its own, so that a Tick that wipes the disc and moves the plot's
// point reports those two places, not one box spanning everything between them.
#pragma once

#include "gdi/objects.h"

namespace kv::gdi {

class PrimitiveCanvas {
  public:
    explicit PrimitiveCanvas(DcObject& dc)
        : dc_(dc), canvas_(dc.canvas.framebuffer(), dc.canvas.clip()) {}
    ~PrimitiveCanvas() { dc_.add_drawn(canvas_.drawn()); }
    PrimitiveCanvas(const PrimitiveCanvas&) = delete;
    PrimitiveCanvas& operator=(const PrimitiveCanvas&) = delete;

    Canvas& get() { return canvas_; }

  private:
    DcObject& dc_;
    Canvas canvas_;
};

} // namespace kv::gdi
