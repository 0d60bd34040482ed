// GDI's shortcuts against the raster's general path, over many random inputs: an ellipse drawn
// from the shape its pen kept must give the pixels of a fresh trace, whatever changed in between
// (box, pen, colours, clip), and so must a disc wiped again where only what was drawn since is
// repainted.
#include "gdi/memory_dc.h"
#include "raster/raster.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>

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
        ASSERT_TRUE(std::ranges::equal(fast.pixels(), general.pixels())) << "round " << round;
    }
}

// A disc wiped every frame in one colour, with anything drawn over it and around it between the
// wipes: every way a pixel is written (wide and thin lines, pixels, text, rectangles, ellipses in
// two colours, other one-colour ellipses, another DC with a clip in pieces, the buffer resized).
// The wipe repaints only the columns written since the last one; the picture must be the one a
// fresh trace of the disc gives.
TEST(GdiFastPaths, AWipedDiscShowsWhatAFreshWipeShowsWhateverWasDrawnBetween) {
    std::mt19937_64 rng(20261211);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    constexpr kv::Color kDisc = 0x00C8C800;
    const kv::Rect disc{10, 8, 70, 66};
    HPEN disc_pen = CreatePen(PS_SOLID, 4, kDisc);
    HBRUSH disc_brush = CreateSolidBrush(kDisc);
    std::array<HPEN, 4> pens{CreatePen(PS_SOLID, 3, 0x0000FF), CreatePen(PS_SOLID, 1, 0x00FF00),
                             CreatePen(PS_SOLID, 9, 0xFF0000), CreatePen(PS_SOLID, 4, kDisc)};
    HBRUSH other_brush = CreateSolidBrush(0x123456);
    kv::Framebuffer fast(80, 80, kMarker), general(80, 80, kMarker);

    // The same random drawing on both buffers; only the wipe differs.
    auto draw_between = [&](kv::Framebuffer& fb, std::mt19937_64 between) {
        auto at = [&between](int lo, int hi) {
            return std::uniform_int_distribution<int>(lo, hi)(between);
        };
        kv::Region clip(fb.bounds());
        if (at(0, 4) == 0) { // a clip in pieces
            clip = kv::Region(kv::Rect{0, 0, 30, 80});
            clip.add(kv::Rect{45, 20, 80, 50});
        }
        kv::gdi::ScopedDC dc(fb, clip);
        for (int n = at(0, 6); n > 0; --n) {
            const int x = at(-10, 90), y = at(-10, 90);
            switch (at(0, 5)) {
            case 0: {
                SelectObject(dc.get(), pens[static_cast<std::size_t>(at(0, 3))]);
                const POINT path[3] = {{x, y}, {at(-10, 90), at(-10, 90)}, {x + at(-9, 9), y}};
                Polyline(dc.get(), path, at(2, 3));
                break;
            }
            case 1:
                SetPixel(dc.get(), x, y, static_cast<COLORREF>(at(0, 0xFFFFFF)));
                break;
            case 2: {
                const std::string text = "R " + std::to_string(at(0, 99));
                TextOutA(dc.get(), x, y, text.c_str(), static_cast<int>(text.size()));
                break;
            }
            case 3:
                SelectObject(dc.get(), pens[static_cast<std::size_t>(at(0, 3))]);
                SelectObject(dc.get(), other_brush);
                Rectangle(dc.get(), x, y, x + at(1, 30), y + at(1, 30));
                break;
            default: // ellipses in two colours, or in the disc's colour, some the disc's box
                SelectObject(dc.get(), pens[static_cast<std::size_t>(at(2, 3))]);
                SelectObject(dc.get(), at(0, 1) == 0 ? other_brush : disc_brush);
                if (at(0, 2) == 0)
                    Ellipse(dc.get(), 10, 8, 70, 66);
                else
                    Ellipse(dc.get(), x, y, x + at(3, 40), y + at(3, 40));
                break;
            }
        }
    };

    for (int frame = 0; frame < 1500; ++frame) {
        if (pick(0, 150) == 0) { // the window resized
            const int w = pick(60, 90), h = pick(60, 90);
            fast.resize(w, h, kMarker);
            general.resize(w, h, kMarker);
        }
        {
            kv::gdi::ScopedDC dc(fast);
            SelectObject(dc.get(), disc_pen);
            SelectObject(dc.get(), disc_brush);
            Ellipse(dc.get(), static_cast<int>(disc.left), static_cast<int>(disc.top),
                    static_cast<int>(disc.right), static_cast<int>(disc.bottom));
        }
        kv::Canvas canvas(general, kv::Region(general.bounds()));
        kv::raster::ellipse(canvas, disc, kv::raster::Pen{4, kDisc}, kDisc);
        ASSERT_TRUE(std::ranges::equal(fast.pixels(), general.pixels())) << "frame " << frame;

        const std::mt19937_64 between(rng());
        draw_between(fast, between);
        draw_between(general, between);
        ASSERT_TRUE(std::ranges::equal(fast.pixels(), general.pixels()))
            << "frame " << frame << ", between";
    }
}

} // namespace
