// What one Tick asks GDI to draw, recorded as it happens: the primitives a peer library draws to
// be compared with us. The recorder sits between the application and our GDI (the linker routes
// the application's Polyline and Ellipse calls through it) and only forwards while it is off.
#pragma once

#include "core/color.h"

#include <vector>

namespace bench {

struct Primitive {
    enum class Kind { Line, Ellipse };
    Kind kind = Kind::Line;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // a line's end points, or an ellipse's box
    int pen_width = 1;
    kv::Color pen = 0;
    bool filled = false; // ellipses: the brush fills the inside
    kv::Color brush = 0;
};

// Records every Polyline segment and Ellipse drawn while it lives.
class TickRecorder {
  public:
    TickRecorder();
    ~TickRecorder();
    TickRecorder(const TickRecorder&) = delete;
    TickRecorder& operator=(const TickRecorder&) = delete;

    const std::vector<Primitive>& primitives() const { return primitives_; }

  private:
    std::vector<Primitive> primitives_;
};

} // namespace bench
