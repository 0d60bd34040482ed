// Writing pictures into a window's 32-bit pixels: the format conversion and the scaling, a row at
// a time.
#pragma once

#include "core/framebuffer.h"
#include "viewer/zoom_layout.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kv::desktop {

// Where each 8-bit channel sits in a 32-bit pixel (XRGB8888: 16, 8, 0).
struct ChannelShifts {
    int red = 16;
    int green = 8;
    int blue = 0;
};

// The shifts of 32-bit pixels with these channel masks, when each is a whole byte; none otherwise.
std::optional<ChannelShifts> byte_channels(std::uint64_t red, std::uint64_t green,
                                           std::uint64_t blue);

// 32-bit pixels somebody else owns: a window's image or surface, or a buffer converted
// afterwards. They keep what was drawn until drawn again.
struct PixelTarget {
    std::uint8_t* pixels = nullptr;
    std::int64_t pitch = 0; // bytes from one row to the next
    int width = 0;
    int height = 0;
    ChannelShifts shifts;
};

// How a picture between two whole zooms is smoothed: nearest neighbour (0), or zoomed by this
// whole factor by nearest neighbour and then scaled linearly to its size (1: linear alone).
inline constexpr int kNearest = 0;

// A picture scaled into the window as a layout says: for each window column and row of the
// picture, the source pixel it shows and how much of the next one is blended in (made once a
// layout). Whole zooms are always nearest neighbour.
class Scaler {
  public:
    Scaler() = default;
    Scaler(const viewer::ZoomLayout& layout, int smoothing);
    const viewer::ZoomLayout& layout() const { return layout_; }
    // Draws the window pixels of `area` that show `source` (of the layout's client size).
    void draw(const Framebuffer& source, const Rect& area, PixelTarget& target) const;

    struct Tap {
        std::int64_t index = 0; // the source pixel
        std::uint32_t next = 0; // the next one's weight, out of 256
    };

  private:
    // Window row y (inside the picture) from source row `row`, its pixels [left, right) at a whole
    // zoom: each source pixel converted once.
    void draw_whole_row(const Color* row, std::int64_t y, std::int64_t left, std::int64_t right,
                        PixelTarget& target) const;

    viewer::ZoomLayout layout_;
    int zoom_ = 0;             // the layout's whole zoom, 0 between whole zooms
    std::vector<Tap> columns_; // a window column of the picture each
    std::vector<Tap> rows_;
};

// Fills a rectangle of target pixels with one colour (the black around a full-screen picture).
void fill_target(PixelTarget& target, const Rect& rect, Color color);

// The pixel value at (x, y) of the target, as a Color; kInvalidColor outside it.
Color target_pixel(const PixelTarget& target, int x, int y);

} // namespace kv::desktop
