// A copy of the framebuffer as the window last showed it. The window manager reports what was
// drawn as a box per drawing call, which for a Tick covers the whole disc it wipes; comparing with
// this copy narrows that to what actually changed, so that only those pixels are converted and
// sent to the display.
#pragma once

#include "backends/sdl/screen/pixel_target.h"
#include "core/framebuffer.h"
#include "core/geometry.h"
#include "core/pixel_buffer.h"

#include <vector>

namespace kv::sdl {

class ShownFrame {
  public:
    // Everything of `fb` is shown.
    void assign(const Framebuffer& fb);

    // Compares `rect` of `fb` with the copy, takes what differs into the copy, and appends to
    // `out` rectangles covering every pixel that differed; changes with kJoinGap or more
    // unchanged pixels between them stay apart. A size other than the copy's makes the whole
    // rectangle count.
    void take_changes(const Framebuffer& fb, const Rect& rect, std::vector<Rect>& out);

    // The copy no longer matches what is shown: the next comparison takes the whole rectangle.
    void forget() { width_ = height_ = 0; }
    // Changes closer than this many unchanged pixels share a rectangle: one upload of a few
    // extra pixels costs less than another rectangle.
    static constexpr std::int64_t kJoinGap = 16;

  private:
    int width_ = 0;
    int height_ = 0;
    PixelBuffer pixels_;        // in huge pages where the system has them
    std::vector<Rect> growing_; // kept from one call to the next: no allocation a Tick
};

// For windows that keep what was drawn into them, XRGB8888 at zoom 1 (client (x, y) at window
// (x, y)): writes the part of `rect` written since the buffer was last presented straight into
// the window's pixels, and appends rectangles covering it to `out`. No copy, and no compare: the
// buffer's notes already narrow a frame to a few pixels a row, and writing those costs less than
// finding which of them changed. `growing` is scratch space kept by the caller.
void take_window_changes(const Framebuffer& fb, const Rect& rect, PixelTarget& window,
                         std::vector<Rect>& growing, std::vector<Rect>& out);

} // namespace kv::sdl
