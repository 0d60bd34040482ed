#include "platform/raster/raster_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
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

// Pictures from GDI itself (Wine 8's, which draws the same box this way): the pen is put on every
// point of the one-pixel outline, and a slanted step's band reaches one pixel further on its right
// side, so wide outlines are a little heavier on the right.
TEST(RasterEllipse, WidePensAsGdiDrawsThem) {
    EXPECT_EQ(ellipse_picture(16, 12, {3, 3, 13, 10}, 3), art(R"(
        ................
        ................
        ......######....
        ....##########..
        ..###########...
        ..######oo####..
        ..####ooooo###..
        ..######oo####..
        ..###########...
        ....##########..
        ......######....
        ................)"));
    EXPECT_EQ(ellipse_picture(16, 12, {3, 3, 13, 10}, 4), art(R"(
        ................
        .....#####......
        ...#########....
        ..############..
        .#############..
        .#######o#####..
        .#####ooo#####..
        .#############..
        ..###########...
        ...###########..
        .....#######....
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
    // A one-pixel box's path has all its points on one pixel: a 1-pixel pen draws nothing.
    EXPECT_EQ(ellipse_picture(3, 3, {1, 1, 2, 2}, 1), render(3, 3, [](Canvas&) {}));
    const std::string blank = render(6, 6, [](Canvas&) {});
    EXPECT_EQ(ellipse_picture(6, 6, {2, 1, 2, 5}, 3), blank);
    EXPECT_EQ(ellipse_picture(6, 6, {1, 3, 5, 3}, 3), blank);
}

// With a 1-pixel pen; wide pens lean right (WidePensAsGdiDrawsThem).
TEST(RasterEllipse, ThinOutlinesAreSymmetricAboutBothAxes) {
    for (int w = 1; w <= 24; ++w) {
        for (int h = 1; h <= 24; h += (h < 6 ? 1 : 5)) {
            {
                SCOPED_TRACE(testing::Message() << w << "x" << h);
                Framebuffer fb(w + 4, h + 4, kPaper);
                Canvas canvas(fb, Region(fb.bounds()));
                ellipse(canvas, {2, 2, 2 + w, 2 + h}, Pen{1, kInk}, kBrush);
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

// GDI's walk may stop short of the top and bottom rows of a tall, narrow box (3 x 8 and taller):
// the rows it reaches are checked against the walk itself in MatchesGdisConstructionStepByStep.
TEST(RasterEllipse, OutlineIsClosedAndHoldsTheBrush) {
    EXPECT_EQ(ink_pieces(outlined(1, 1)), 0);
    for (int w = 1; w <= 30; ++w) {
        for (int h = 1; h <= 30; ++h) {
            if (w == 1 && h == 1) continue;
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            const Framebuffer fb = outlined(w, h);
            ASSERT_EQ(ink_pieces(fb), 1);
            for (int y = 0; y < h + 2; ++y) {
                int first = w + 2;
                int last = -1;
                for (int x = 0; x < w + 2; ++x) {
                    if (fb.get(x, y) != kInk) continue;
                    ASSERT_TRUE(x >= 1 && x <= w && y >= 1 && y <= h) << x << "," << y;
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
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

// GDI's construction, one step at a time: the error walk over the lower right quarter of the
// box's ellipse (Zingl's rasterising algorithm, with the order of tests GDI uses), mirrored into a
// closed path; boxes two pixels wide or high take the rectangle's path instead.
std::vector<Point> gdi_path(const Rect& box) {
    const std::int64_t w = box.width();
    const std::int64_t h = box.height();
    if (w <= 2 || h <= 2) {
        return {{box.left, box.top},
                {box.right - 1, box.top},
                {box.right - 1, box.bottom - 1},
                {box.left, box.bottom - 1}};
    }
    const std::int64_t a = w - 1;
    const std::int64_t b = h - 1;
    std::int64_t dx = 4 * b * b * (1 - a);
    std::int64_t dy = 4 * a * a * (1 + b % 2);
    std::int64_t err = dx + dy + a * a * (b % 2);
    std::int64_t x = a;
    std::int64_t y = h / 2;
    std::vector<Point> quarter;
    while (x >= w / 2) {
        quarter.push_back({x, y});
        const std::int64_t e2 = 2 * err;
        if (e2 >= dx) {
            --x;
            dx += 8 * b * b;
            err += dx;
        }
        if (e2 <= dy) {
            ++y;
            dy += 8 * a * a;
            err += dy;
        }
    }
    std::vector<Point> path;
    const auto add = [&](std::int64_t px, std::int64_t py) {
        path.push_back({box.left + px, box.top + py});
    };
    for (const Point& p : quarter)
        add(p.x, p.y); // lower right, going left
    for (auto p = quarter.rbegin(); p != quarter.rend(); ++p)
        add(a - p->x, p->y); // lower left, going up
    for (const Point& p : quarter)
        add(a - p.x, b - p.y); // upper left, going right
    for (auto p = quarter.rbegin(); p != quarter.rend(); ++p)
        add(p->x, b - p->y); // upper right, going down
    return path;
}

// The polygon rule on the closed path: on row y, the pixels from each crossing of an edge (counted
// from its upper end up to, not including, its lower end) rounded up, to the next one rounded up,
// in pairs.
void fill_path(Canvas& canvas, const std::vector<Point>& path, Color color) {
    for (std::int64_t y = 0; y < canvas.framebuffer().height(); ++y) {
        std::vector<std::int64_t> crossings;
        for (std::size_t i = 0; i < path.size(); ++i) {
            Point p = path[i];
            Point q = path[(i + 1) % path.size()];
            if (p.y == q.y) continue;
            if (p.y > q.y) std::swap(p, q);
            if (y < p.y || y >= q.y) continue;
            const std::int64_t num = p.x * (q.y - p.y) + (y - p.y) * (q.x - p.x);
            const std::int64_t den = q.y - p.y;
            crossings.push_back(num / den + (num % den > 0 ? 1 : 0));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
            canvas.span(y, crossings[i], crossings[i + 1], color);
    }
}

// The brush inside the path, then the pen along it segment by segment.
std::string gdi_picture(int width, int height, const Rect& box, int pen) {
    return render(width, height, [&](Canvas& c) {
        const std::vector<Point> path = gdi_path(box);
        fill_path(c, path, kBrush);
        for (std::size_t i = 0; i < path.size(); ++i) {
            if (pen <= 1) {
                thin_line(c, path[i], path[(i + 1) % path.size()], kInk);
            } else {
                wide_line(c, path[i], path[(i + 1) % path.size()], pen, kInk);
            }
        }
    });
}

TEST(RasterEllipse, MatchesGdisConstructionStepByStep) {
    for (int w = 1; w <= 60; ++w) {
        for (int h = 1; h <= 60; ++h) {
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            const Rect box{2, 2, 2 + w, 2 + h};
            ASSERT_EQ(ellipse_picture(w + 4, h + 4, box, 1), gdi_picture(w + 4, h + 4, box, 1));
        }
    }
    std::mt19937_64 rng(5003);
    for (int n = 0; n < 60; ++n) {
        const int w = std::uniform_int_distribution<int>(61, 700)(rng);
        const int h = std::uniform_int_distribution<int>(3, 700)(rng);
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        const Rect box{1, 1, 1 + w, 1 + h};
        ASSERT_EQ(ellipse_picture(w + 2, h + 2, box, 1), gdi_picture(w + 2, h + 2, box, 1));
    }
}

TEST(RasterEllipse, WidePenIsThePenAlongThePath) {
    for (int pen = 2; pen <= 12; pen += (pen < 6 ? 1 : 6)) {
        for (int w = 1; w <= 26; ++w) {
            for (int h = 1; h <= 26; h += (h < 8 ? 1 : 3)) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << " pen " << pen);
                const Rect box{pen + 1, pen + 1, pen + 1 + w, pen + 1 + h};
                const int side = 2 * pen + 2;
                ASSERT_EQ(ellipse_picture(w + side, h + side, box, pen),
                          gdi_picture(w + side, h + side, box, pen));
            }
        }
    }
}

// Any box, pen, position and clip: the same pixels as the construction, including the parts of
// the outline and its pen that the clip cuts off or that lie beyond the canvas.
TEST(RasterEllipse, RandomBoxesPensAndClipsMatchTheConstruction) {
    std::mt19937_64 rng(7411);
    const auto pick = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    constexpr int kWidth = 96;
    constexpr int kHeight = 80;
    for (int n = 0; n < 408; ++n) {
        // A few boxes wider or higher than 2^15, traced with 128-bit arithmetic.
        const bool huge = n >= 400;
        const int w = huge && n % 2 == 0 ? pick(32768, 40000) : pick(0, 300);
        const int h = huge && n % 2 == 1 ? pick(32768, 40000) : pick(0, 300);
        const int pen = pick(1, 12);
        const int left = pick(-w - 14, kWidth + 14);
        const int top = pick(-h - 14, kHeight + 14);
        const Rect box{left, top, left + w, top + h};
        const int clip_left = pick(0, kWidth - 1);
        const int clip_top = pick(0, kHeight - 1);
        const Rect clip{clip_left, clip_top, pick(clip_left + 1, kWidth),
                        pick(clip_top + 1, kHeight)};
        SCOPED_TRACE(testing::Message() << "box " << left << "," << top << " " << w << "x" << h
                                        << " pen " << pen << " clip " << clip.left << ","
                                        << clip.top << "-" << clip.right << "," << clip.bottom);
        const auto clipped = [&](auto&& draw) {
            Framebuffer fb(kWidth, kHeight, kPaper);
            Canvas canvas(fb, Region(clip));
            draw(canvas);
            return picture(fb);
        };
        const std::string drawn = clipped([&](Canvas& c) {
            ellipse(c, box, Pen{pen, kInk}, kBrush);
        });
        if (w == 0 || h == 0) {
            ASSERT_EQ(drawn, clipped([](Canvas&) {}));
            continue;
        }
        const std::string built = clipped([&](Canvas& c) {
            const std::vector<Point> path = gdi_path(box);
            fill_path(c, path, kBrush);
            for (std::size_t i = 0; i < path.size(); ++i) {
                if (pen <= 1) {
                    thin_line(c, path[i], path[(i + 1) % path.size()], kInk);
                } else {
                    wide_line(c, path[i], path[(i + 1) % path.size()], pen, kInk);
                }
            }
        });
        ASSERT_EQ(drawn, built);
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
    // Off-canvas, but the wide pen reaches column 0 (GDI's picture).
    EXPECT_EQ(ellipse_picture(3, 6, {-9, 0, 0, 7}, 4), art("#..|#..|#..|#..|#..|..."));
    // Entirely off-canvas.
    EXPECT_EQ(ellipse_picture(4, 3, {-big, -big, -5, big}, 10), art("....|....|...."));
}

} // namespace
} // namespace kv::raster::test
