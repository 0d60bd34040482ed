#include "platform/raster/raster_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kv::raster::test {
namespace {

std::string ellipse_picture(int width, int height, Rect box, int pen) {
    return render(width, height, [&](Canvas& c) { ellipse(c, box, Pen{pen, kInk}, kBrush); });
}

TEST(RasterEllipse, CircleElevenPixelsAcross) {
    const std::string drawn = ellipse_picture(12, 12, {0, 0, 11, 11}, 1);
    EXPECT_EQ(drawn, art(R"(
        ...#####....
        ..#ooooo#...
        .#ooooooo#..
        #ooooooooo#.
        #ooooooooo#.
        #ooooooooo#.
        #ooooooooo#.
        #ooooooooo#.
        .#ooooooo#..
        ..#ooooo#...
        ...#####....
        ............)"));
    // Row 5 reaches the box's first and last columns.
    EXPECT_EQ(drawn.substr(5 * 13, 12), "#ooooooooo#.");
}

TEST(RasterEllipse, EvenSizedBoxHasTwoMiddlePixels) {
    EXPECT_EQ(ellipse_picture(14, 9, {1, 1, 13, 8}, 1), art(R"(
        ..............
        ....######....
        ..##oooooo##..
        .#oooooooooo#.
        .#oooooooooo#.
        .#oooooooooo#.
        ..##oooooo##..
        ....######....
        ..............)"));
}

TEST(RasterEllipse, WidePensAreCentredOnTheOnePixelOutline) {
    EXPECT_EQ(ellipse_picture(16, 12, {3, 3, 13, 10}, 3), art(R"(
        ................
        ................
        ......####......
        ....########....
        ...##########...
        ..####oooo####..
        ..###oooooo###..
        ..####oooo####..
        ...##########...
        ....########....
        ......####......
        ................)"));
    EXPECT_EQ(ellipse_picture(16, 12, {3, 3, 13, 10}, 4), art(R"(
        ................
        .....#####......
        ...#########....
        ..###########...
        .#############..
        .#####ooo#####..
        .#####ooo#####..
        .#############..
        ..###########...
        ...#########....
        .....#####......
        ................)"));
}

TEST(RasterEllipse, DegenerateBoxes) {
    EXPECT_EQ(render(6, 8,
                     [](Canvas& c) {
                         ellipse(c, {1, 1, 2, 7}, Pen{1, kInk}, kBrush);
                         ellipse(c, {3, 1, 5, 7}, Pen{1, kInk}, kBrush);
                     }),
              art(R"(
        ......
        .#.##.
        .#.##.
        .#.##.
        .#.##.
        .#.##.
        .#.##.
        ......)"));
    EXPECT_EQ(render(8, 6,
                     [](Canvas& c) {
                         ellipse(c, {1, 1, 7, 2}, Pen{1, kInk}, kBrush);
                         ellipse(c, {1, 3, 7, 5}, Pen{1, kInk}, kBrush);
                     }),
              art(R"(
        ........
        .######.
        ........
        .######.
        .######.
        ........)"));
    EXPECT_EQ(ellipse_picture(3, 3, {1, 1, 2, 2}, 1), art(R"(
        ...
        .#.
        ...)"));
    const std::string blank = render(6, 6, [](Canvas&) {});
    EXPECT_EQ(ellipse_picture(6, 6, {2, 1, 2, 5}, 3), blank);
    EXPECT_EQ(ellipse_picture(6, 6, {1, 3, 5, 3}, 3), blank);
}

TEST(RasterEllipse, SymmetricAboutBothAxes) {
    for (int w = 1; w <= 24; ++w) {
        for (int h = 1; h <= 24; h += (h < 6 ? 1 : 5)) {
            for (const int pen : {1, 3}) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << " pen " << pen);
                Framebuffer fb(w + 4, h + 4, kPaper);
                Canvas canvas(fb, Region(fb.bounds()));
                ellipse(canvas, {2, 2, 2 + w, 2 + h}, Pen{pen, kInk}, kBrush);
                for (int y = 0; y < h + 4; ++y) {
                    for (int x = 0; x < w + 4; ++x) {
                        ASSERT_EQ(fb.get(x, y), fb.get(w + 3 - x, y)) << x << "," << y;
                        ASSERT_EQ(fb.get(x, y), fb.get(x, h + 3 - y)) << x << "," << y;
                    }
                }
            }
        }
    }
}

// A one-pixel ellipse with its brush in the box (1, 1, 1 + w, 1 + h) of a (w + 2) x (h + 2) buffer.
Framebuffer outlined(int w, int h) {
    Framebuffer fb(w + 2, h + 2, kPaper);
    Canvas canvas(fb, Region(fb.bounds()));
    ellipse(canvas, {1, 1, 1 + w, 1 + h}, Pen{1, kInk}, kBrush);
    return fb;
}

// How many 8-connected pieces the ink makes.
int ink_pieces(const Framebuffer& fb) {
    std::vector<bool> seen(fb.pixels().size(), false);
    int pieces = 0;
    for (std::size_t start = 0; start < seen.size(); ++start) {
        if (seen[start] || fb.pixels()[start] != kInk) continue;
        ++pieces;
        std::vector<std::size_t> stack{start};
        seen[start] = true;
        while (!stack.empty()) {
            const auto x = static_cast<int>(stack.back() % static_cast<std::size_t>(fb.width()));
            const auto y = static_cast<int>(stack.back() / static_cast<std::size_t>(fb.width()));
            stack.pop_back();
            for (int ny = y - 1; ny <= y + 1; ++ny) {
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if (fb.get(nx, ny) != kInk) continue;
                    const auto at = static_cast<std::size_t>(ny * fb.width() + nx);
                    if (!seen[at]) stack.push_back(at), seen[at] = true;
                }
            }
        }
    }
    return pieces;
}

TEST(RasterEllipse, OutlineIsClosedAndTouchesEverySideOfTheBox) {
    for (int w = 1; w <= 30; ++w) {
        for (int h = 1; h <= 30; ++h) {
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            const Framebuffer fb = outlined(w, h);
            ASSERT_EQ(ink_pieces(fb), 1);
            std::vector<bool> column_inked(static_cast<std::size_t>(w + 2), false);
            for (int y = 0; y < h + 2; ++y) {
                int first = w + 2;
                int last = -1;
                for (int x = 0; x < w + 2; ++x) {
                    if (fb.get(x, y) != kInk) continue;
                    ASSERT_TRUE(x >= 1 && x <= w && y >= 1 && y <= h) << x << "," << y;
                    first = std::min(first, x);
                    last = std::max(last, x);
                    column_inked[static_cast<std::size_t>(x)] = true;
                }
                ASSERT_TRUE(last >= 0 || y == 0 || y == h + 1) << "row " << y;
                // The brush stays strictly between the row's outermost ink and never touches
                // paper: the outline has no gap for it to leak through.
                for (int x = 0; x < w + 2; ++x) {
                    if (fb.get(x, y) != kBrush) continue;
                    ASSERT_TRUE(first < x && x < last) << x << "," << y;
                    for (const Point& n :
                         {Point{x - 1, y}, Point{x + 1, y}, Point{x, y - 1}, Point{x, y + 1}}) {
                        ASSERT_NE(fb.get(n.x, n.y), kPaper) << x << "," << y;
                    }
                }
            }
            for (int x = 1; x <= w; ++x)
                ASSERT_TRUE(column_inked[static_cast<std::size_t>(x)]);
        }
    }
}

TEST(RasterEllipse, CirclesAreSymmetricAboutTheDiagonal) {
    for (int d = 1; d <= 40; ++d) {
        const Framebuffer fb = outlined(d, d);
        for (int y = 0; y < d + 2; ++y) {
            for (int x = 0; x < d + 2; ++x)
                ASSERT_EQ(fb.get(x, y), fb.get(y, x)) << "diameter " << d;
        }
    }
}

TEST(RasterEllipse, CentralDiscWithFourPixelPen) {
    Framebuffer fb(420, 420, kPaper);
    Canvas canvas(fb, Region(fb.bounds()));
    ellipse(canvas, {153, 183, 367, 397}, Pen{4, kInk}, kBrush);
    Rect inked;
    for (int y = 0; y < fb.height(); ++y) {
        for (int x = 0; x < fb.width(); ++x) {
            if (fb.get(x, y) != kPaper) inked = bounding_union(inked, Rect{x, y, x + 1, y + 1});
        }
    }
    EXPECT_GE(inked.left, 151);
    EXPECT_LE(inked.right - 1, 368);
    EXPECT_GE(inked.top, 181);
    EXPECT_LE(inked.bottom - 1, 398);
    EXPECT_EQ(fb.get(260, 290), kBrush);
    // The pen straddles the outline: ink on both sides of the box's left edge in the middle row.
    EXPECT_EQ(fb.get(152, 290), kInk);
    EXPECT_EQ(fb.get(154, 290), kInk);
}

TEST(RasterEllipse, HugeBoxesAroundTheCanvas) {
    const std::int64_t big = std::int64_t{1} << 31;
    // The canvas lies deep inside: brush only.
    EXPECT_EQ(ellipse_picture(4, 3, {-big, -big, big, big}, 4), art("oooo|oooo|oooo"));
    // The left end of a huge ellipse is a vertical run of outline on column 0.
    EXPECT_EQ(ellipse_picture(4, 3, {0, -big, big, big}, 1), art("#ooo|#ooo|#ooo"));
    // Off-canvas, but the wide pen reaches column 0.
    EXPECT_EQ(ellipse_picture(3, 6, {-9, 0, 0, 7}, 4), art("...|#..|#..|#..|#..|..."));
    // Entirely off-canvas.
    EXPECT_EQ(ellipse_picture(4, 3, {-big, -big, -5, big}, 10), art("....|....|...."));
}

} // namespace
} // namespace kv::raster::test
