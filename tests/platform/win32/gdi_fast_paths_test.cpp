// GDI's shortcuts against the raster's general path, over many random inputs: an ellipse drawn
// from the shape its pen kept must give the pixels of a fresh trace, whatever changed in between
// (box, pen, colours, clip).
#include "gdi/memory_dc.h"
#include "raster/raster.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace {

constexpr kv::Color kMarker = 0x00030201;

TEST(GdiFastPaths, EllipsesFromKeptShapesMatchFreshTraces) {
    std::mt19937_64 rng(20261208);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    // Few boxes, pens and clips, so that shapes are drawn again often, with what else changes.
    std::array<kv::Rect, 4> boxes;
    for (kv::Rect& b : boxes)
        b = {pick(-20, 60), pick(-20, 60), pick(-20, 90), pick(-20, 90)};
    boxes[0] = {10, 10, 13, 40}; // too narrow for the walk: drawn as a rectangle
    struct PenInUse {
        int width;
        kv::Color colour = 0;
        HPEN handle = nullptr;
    };
    std::array<PenInUse, 5> pens{{{1}, {2}, {3}, {4}, {9}}};
    for (PenInUse& p : pens) {
        p.colour = static_cast<kv::Color>(pick(0, 0xFFFFFF));
        p.handle = CreatePen(PS_SOLID, p.width, p.colour);
    }
    const std::array<kv::Region, 3> clips{kv::Region(kv::Rect{0, 0, 80, 80}),
                                          kv::Region(kv::Rect{5, 12, 47, 70}),
                                          kv::Region(kv::Rect{30, -5, 200, 33})};

    kv::Framebuffer fast(80, 80, kMarker), general(80, 80, kMarker);
    for (int round = 0; round < 3000; ++round) {
        const kv::Rect& box = boxes[static_cast<std::size_t>(pick(0, boxes.size() - 1))];
        PenInUse& pen = pens[static_cast<std::size_t>(pick(0, pens.size() - 1))];
        const kv::Region& clip = clips[static_cast<std::size_t>(pick(0, clips.size() - 1))];
        if (pick(0, 3) == 0) { // now and then a new pen of the same width in another colour
            DeleteObject(pen.handle);
            pen.colour = static_cast<kv::Color>(pick(0, 0xFFFFFF));
            pen.handle = CreatePen(PS_SOLID, pen.width, pen.colour);
        }
        // Often the pen's own colour, as the wiped disc has: its spans are then merged by row.
        const auto brush_colour =
            pick(0, 2) == 0 ? pen.colour : static_cast<kv::Color>(pick(0, 0xFFFFFF));
        HBRUSH brush = CreateSolidBrush(brush_colour);
        {
            kv::gdi::ScopedDC dc(fast, clip);
            SelectObject(dc.get(), pen.handle);
            SelectObject(dc.get(), brush);
            Ellipse(dc.get(), static_cast<int>(box.left), static_cast<int>(box.top),
                    static_cast<int>(box.right), static_cast<int>(box.bottom));
        }
        DeleteObject(brush);
        kv::Canvas canvas(general, clip);
        kv::raster::ellipse(canvas, box, kv::raster::Pen{pen.width, pen.colour}, brush_colour);
        ASSERT_EQ(fast.pixels(), general.pixels()) << "round " << round;
    }
}

} // namespace
