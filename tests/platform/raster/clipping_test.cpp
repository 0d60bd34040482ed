#include "platform/raster/raster_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv::raster::test {
namespace {

constexpr std::int64_t kBig = std::int64_t{1} << 31;

struct Primitive {
    std::string name;
    // Draws the primitive moved by (dx, dy).
    std::function<void(Canvas&, std::int64_t dx, std::int64_t dy)> draw;
};

Primitive line(std::string name, Point a, Point b, int pen) {
    return {std::move(name), [=](Canvas& c, std::int64_t dx, std::int64_t dy) {
                const std::array<Point, 2> points{shifted(a, dx, dy), shifted(b, dx, dy)};
                polyline(c, points, Pen{pen, kInk});
            }};
}

Primitive box(std::string name, Rect r, int pen, bool oval) {
    return {std::move(name), [=](Canvas& c, std::int64_t dx, std::int64_t dy) {
                if (oval) {
                    ellipse(c, shifted(r, dx, dy), Pen{pen, kInk}, kBrush);
                } else {
                    rectangle(c, shifted(r, dx, dy), Pen{pen, kInk}, kBrush);
                }
            }};
}

// Shapes that fit in a 64x64 buffer.
std::vector<Primitive> small_shapes() {
    return {line("thin steep", {5, 60}, {20, 2}, 1),
            line("thin shallow", {62, 30}, {1, 12}, 1),
            line("wide 3", {4, 50}, {58, 9}, 3),
            line("wide 4", {59, 59}, {7, 20}, 4),
            line("wide 10", {12, 12}, {50, 40}, 10),
            line("dot 10", {30, 30}, {30, 30}, 10),
            box("rectangle 1", {3, 5, 60, 58}, 1, false),
            box("rectangle 10", {9, 7, 55, 56}, 10, false),
            box("ellipse 1", {2, 4, 61, 59}, 1, true),
            box("ellipse 4", {6, 8, 57, 50}, 4, true),
            box("ellipse 3", {20, 3, 41, 62}, 3, true)};
}

TEST(RasterClipping, DrawingOnASmallCanvasMatchesTheCropOfAFullDrawing) {
    // Window edges through the middle of shapes and just inside their tops and bottoms.
    const Point windows[] = {{0, 0},   {10, 30}, {40, 8}, {48, 48},
                             {24, 24}, {0, 44},  {20, 9}, {30, 32}};
    for (const Primitive& shape : small_shapes()) {
        Framebuffer full(64, 64, kPaper);
        Canvas full_canvas(full, Region(full.bounds()));
        shape.draw(full_canvas, 0, 0);
        for (const Point& w : windows) {
            SCOPED_TRACE(testing::Message() << shape.name << " window at " << w.x << "," << w.y);
            const std::string cropped = picture(full, Rect{w.x, w.y, w.x + 16, w.y + 16});
            EXPECT_EQ(render(16, 16, [&](Canvas& c) { shape.draw(c, -w.x, -w.y); }), cropped);
        }
    }
}

// Shapes with coordinates anywhere in the 64-bit range.
std::vector<Primitive> far_shapes() {
    std::vector<Primitive> shapes = small_shapes();
    const std::vector<Primitive> far = {
        line("thin across 2^31", {-kBig, -kBig + 7}, {kBig, kBig - 3}, 1),
        line("wide across 2^31", {kBig, -kBig}, {-kBig + 5, kBig}, 4),
        line("thin int64 extremes", {INT64_MIN, 3}, {INT64_MAX, 17}, 1),
        line("wide int64 extremes", {INT64_MAX, INT64_MIN}, {INT64_MIN, INT64_MAX}, 3),
        line("widest pen", {-40000, 12}, {70000, 9}, INT_MAX),
        box("huge rectangle", {-kBig, -kBig, kBig, kBig}, 10, false),
        box("int64 rectangle", {INT64_MIN, INT64_MIN, INT64_MAX, INT64_MAX}, 1, false),
        box("huge ellipse", {-kBig, 5, kBig, 15}, 4, true),
        box("int64 ellipse", {INT64_MIN, INT64_MIN, INT64_MAX, 12}, 3, true),
    };
    shapes.insert(shapes.end(), far.begin(), far.end());
    return shapes;
}

TEST(RasterClipping, NothingIsWrittenOutsideATwoRectangleClipRegion) {
    Region clip(Rect{2, 2, 9, 7});
    clip.add(Rect{10, 8, 20, 18});
    for (const Primitive& shape : far_shapes()) {
        for (const Point& at : {Point{0, 0}, Point{-6, -3}, Point{5, 9}}) {
            SCOPED_TRACE(testing::Message() << shape.name << " moved " << at.x << "," << at.y);
            Framebuffer unclipped(24, 24, kPaper);
            Canvas whole(unclipped, Region(unclipped.bounds()));
            shape.draw(whole, at.x, at.y);

            constexpr Color kUntouched = 7;
            Framebuffer clipped(24, 24, kUntouched);
            Canvas canvas(clipped, clip);
            shape.draw(canvas, at.x, at.y);
            for (int y = 0; y < 24; ++y) {
                for (int x = 0; x < 24; ++x) {
                    // Inside the region exactly what an unclipped canvas gets; outside nothing.
                    const Color drawn = unclipped.get(x, y);
                    const Color expected =
                        clip.contains(x, y) && drawn != kPaper ? drawn : kUntouched;
                    ASSERT_EQ(clipped.get(x, y), expected) << x << "," << y;
                }
            }
        }
    }
}

TEST(RasterClipping, ShapesReachingTheInt32LimitsDrawTheirVisibleParts) {
    const std::int64_t lo = INT32_MIN;
    const std::int64_t hi = INT32_MAX;
    auto draw = [](auto&& fn) { return render(5, 4, fn); };
    EXPECT_EQ(draw([&](Canvas& c) {
                  thin_line(c, {lo, 1}, {hi, 1}, kInk);
              }),
              art(".....|#####|.....|....."));
    EXPECT_EQ(draw([&](Canvas& c) {
                  thin_line(c, {2, hi}, {2, lo}, kInk);
              }),
              art("..#..|..#..|..#..|..#.."));
    EXPECT_EQ(draw([&](Canvas& c) {
                  thin_line(c, {lo + 1, lo}, {hi, hi - 1}, kInk);
              }),
              art(".#...|..#..|...#.|....#"));
    EXPECT_EQ(draw([&](Canvas& c) {
                  wide_line(c, {hi, 2}, {lo, 2}, 3, kInk);
              }),
              art(".....|#####|#####|#####"));
    EXPECT_EQ(draw([&](Canvas& c) {
                  rectangle(c, {lo, lo, hi, hi}, Pen{4, kInk}, kBrush);
              }),
              art("ooooo|ooooo|ooooo|ooooo"));
    EXPECT_EQ(draw([&](Canvas& c) {
                  rectangle(c, {lo, 1, 3, hi}, Pen{1, kInk}, kBrush);
              }),
              art(".....|###..|oo#..|oo#.."));
}

TEST(RasterClipping, EmptyClipDrawsNothing) {
    Framebuffer fb(8, 8, kPaper);
    Canvas canvas(fb, Region());
    for (const Primitive& shape : far_shapes())
        shape.draw(canvas, 0, 0);
    EXPECT_EQ(picture(fb), render(8, 8, [](Canvas&) {}));
}

// Spans that did not go through a canvas: off the row range, or sticking out on either side.
TEST(Clipping, AnUnclippedSpanStopsAContractBuildAndNeverLeavesTheBuffer) {
    struct Span {
        std::int64_t y, x0, x1;
    };
    const std::array<Span, 4> unclipped{{{1, -2, 3}, {2, 6, 20}, {5, 0, 8}, {-1, 0, 8}}};
#if defined(KORVELINE_CONTRACTS)
    for (const Span& s : unclipped) {
        Framebuffer fb(8, 4, 0);
        EXPECT_DEATH(fb.fill_span(s.y, s.x0, s.x1, 7), "contract broken");
    }
#else
    Framebuffer fb(8, 4, 0);
    for (const Span& s : unclipped)
        fb.fill_span(s.y, s.x0, s.x1, 7);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = (y == 1 && x < 3) || (y == 2 && x >= 6);
            EXPECT_EQ(fb.get(x, y), inside ? 7u : 0u) << x << "," << y;
        }
    }
#endif
}

} // namespace
} // namespace kv::raster::test
