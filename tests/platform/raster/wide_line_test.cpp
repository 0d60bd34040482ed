#include "platform/raster/raster_test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace kv::raster::test {
namespace {

__extension__ typedef __int128 i128;

// GDI's round tip, built the way GDI builds it: the elliptic region of the (w + 1)-pixel square
// whose corner is w / 2 up and left of the centre, its rows spanning the outline that the
// region's error walk traces (Zingl's walk; a column moves only when twice the error reaches the
// column increment). Returns the covered columns, relative to the centre, per row from the top.
std::vector<std::pair<int, int>> tip_rows(int width) {
    const std::int64_t d = width - 1;
    const std::int64_t odd = d & 1;
    std::int64_t dx = 4 * (1 - d) * d * d;
    std::int64_t dy = 4 * (odd + 1) * d * d;
    std::int64_t err = dx + dy + odd * d * d;
    std::int64_t x0 = 0, x1 = d;
    std::int64_t y0 = (d + 1) / 2, y1 = y0 - odd;
    std::vector<std::pair<int, int>> rows(static_cast<std::size_t>(width), {1, 0});
    const auto put = [&](std::int64_t x, std::int64_t y) {
        auto& r = rows[static_cast<std::size_t>(y)];
        const int px = static_cast<int>(x) - width / 2;
        r = r.first > r.second ? std::pair{px, px}
                               : std::pair{std::min(r.first, px), std::max(r.second, px)};
    };
    do {
        put(x0, y0), put(x1, y0), put(x0, y1), put(x1, y1);
        const std::int64_t e2 = 2 * err;
        const bool column = e2 >= dx;
        if (e2 <= dy) {
            ++y0, --y1;
            dy += 8 * d * d;
            err += dy;
        }
        if (column) {
            ++x0, --x1;
            dx += 8 * d * d;
            err += dx;
        }
    } while (x0 <= x1);
    while (y0 - y1 < d) {
        put(x0 - 1, y0), put(x1 + 1, y0++);
        put(x0 - 1, y1), put(x1 + 1, y1--);
    }
    return rows;
}

bool tip_covers(const std::vector<std::pair<int, int>>& tip, int width, Point c, std::int64_t px,
                std::int64_t py) {
    const i128 row = i128{py} - c.y + width / 2;
    if (row < 0 || row >= width) return false;
    const auto [lo, hi] = tip[static_cast<std::size_t>(row)];
    const i128 dx = i128{px} - c.x;
    return lo <= dx && dx <= hi;
}

// The body between the tips. Level and upright segments: w rows (columns) from w / 2 before the
// line, from the smaller end to the larger one, excluded. Slanted ones: the quadrilateral through
// the end points offset across the line as GDI computes it in floating point (half widths
// rounded, the larger one towards larger x), filled by the polygon rule: a pixel is in when its
// centre lies on or right of the left edge and left of the right edge, on a row from the top
// corner's included to the bottom corner's excluded.
bool body_covers(Point a, Point b, int width, std::int64_t px, std::int64_t py) {
    const std::int64_t dx = b.x - a.x;
    const std::int64_t dy = b.y - a.y;
    if (dx == 0 && dy == 0) return false;
    if (dy == 0) {
        return py >= a.y - width / 2 && py < a.y - width / 2 + width && px >= std::min(a.x, b.x) &&
               px < std::max(a.x, b.x);
    }
    if (dx == 0) {
        return px >= a.x - width / 2 && px < a.x - width / 2 + width && py >= std::min(a.y, b.y) &&
               py < std::max(a.y, b.y);
    }
    const double length = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    const double across_x = width * static_cast<double>(std::abs(dy)) / length;
    const double across_y = width * static_cast<double>(std::abs(dx)) / length;
    const auto round = [](double v) { return static_cast<i128>(std::floor(v + 0.5)); };
    const i128 s = (dx > 0) == (dy > 0) ? 1 : -1;
    const i128 rx = round((across_x + 1) / 2), ry = -s * round((across_y + 1) / 2);
    const i128 lx = -round(across_x / 2), ly = s * round(across_y / 2);
    const std::array<std::array<i128, 2>, 4> quad{
        {{a.x + lx, a.y + ly}, {a.x + rx, a.y + ry}, {b.x + rx, b.y + ry}, {b.x + lx, b.y + ly}}};
    // Even-odd over the crossings left of the pixel centre: each counts for [top, bottom) rows,
    // and a crossing exactly at the centre counts as left of it.
    int crossings = 0;
    for (std::size_t i = 0; i < quad.size(); ++i) {
        auto p = quad[i];
        auto q = quad[(i + 1) % quad.size()];
        if (p[1] == q[1]) continue;
        if (p[1] > q[1]) std::swap(p, q);
        if (py < p[1] || py >= q[1]) continue;
        // Crossing x <= px  <=>  p.x (q.y - p.y) + (py - p.y) (q.x - p.x) <= px (q.y - p.y).
        if (p[0] * (q[1] - p[1]) + (py - p[1]) * (q[0] - p[0]) <= i128{px} * (q[1] - p[1]))
            ++crossings;
    }
    return crossings % 2 == 1;
}

std::string reference_picture(int size, Point a, Point b, int width) {
    const auto tip = tip_rows(width);
    Framebuffer fb(size, size, kPaper);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (tip_covers(tip, width, a, x, y) || tip_covers(tip, width, b, x, y) ||
                body_covers(a, b, width, x, y))
                fb.set(x, y, kInk);
        }
    }
    return picture(fb);
}

std::string wide_picture(int size, Point a, Point b, int width) {
    return render(size, size, [&](Canvas& c) { wide_line(c, a, b, width, kInk); });
}

TEST(RasterWideLine, ZeroLengthLeavesThePensDot) {
    // Each dot is centred on the middle pixel (size / 2, size / 2).
    const struct {
        int width;
        int size;
        const char* expected;
    } cases[] = {{2, 4, R"(
        ....
        .##.
        .##.
        ....)"},
                 {3, 5, R"(
        .....
        ..#..
        .###.
        ..#..
        .....)"},
                 {4, 6, R"(
        ......
        ..##..
        .####.
        .####.
        ..##..
        ......)"},
                 // GDI's dot of 8 is rounder than a disc of radius sqrt(w (w - 1)) / 2.
                 {8, 10, R"(
        ..........
        ...####...
        ..######..
        .########.
        .########.
        .########.
        .########.
        ..######..
        ...####...
        ..........)"},
                 {10, 10, R"(
        ...####...
        ..######..
        .########.
        ##########
        ##########
        ##########
        ##########
        .########.
        ..######..
        ...####...)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width);
        const Point centre{c.size / 2, c.size / 2};
        EXPECT_EQ(wide_picture(c.size, centre, centre, c.width), art(c.expected));
    }
}

TEST(RasterWideLine, HorizontalWidthThreeCoversTheSegmentAndRoundCaps) {
    // (10, 10) -> (14, 10) seen through x 8..16, y 8..12: rows 9 and 11 cover x 10..14, row 10
    // covers x 9..15.
    const auto seen = [](Point from, Point to) {
        return render(9, 5, [&](Canvas& c) {
            wide_line(c, shifted(from, -8, -8), shifted(to, -8, -8), 3, kInk);
        });
    };
    const std::string expected = art(R"(
        .........
        ..#####..
        .#######.
        ..#####..
        .........)");
    EXPECT_EQ(seen({10, 10}, {14, 10}), expected);
    EXPECT_EQ(seen({14, 10}, {10, 10}), expected);
}

// GDI's picture: the band between the tips reaches one pixel further on its right side.
TEST(RasterWideLine, DiagonalWidthFour) {
    EXPECT_EQ(wide_picture(9, {3, 3}, {6, 6}, 4), art(R"(
        .........
        ..##.....
        .#####...
        .######..
        ..######.
        ...#####.
        ....####.
        .....##..
        .........)"));
}

TEST(RasterWideLine, MatchesThePixelRuleOnRandomSegmentsAndIsSymmetric) {
    std::mt19937_64 rng(7001);
    auto uniform = [&rng](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    for (int n = 0; n < 400; ++n) {
        const std::int64_t spread = n % 4 == 0 ? 100000 : 40; // some end points far off-canvas
        const Point a{uniform(-spread, 24 + spread), uniform(-spread, 24 + spread)};
        const Point b = n % 7 == 0 ? a : Point{uniform(-10, 34), uniform(-10, 34)};
        const int width = static_cast<int>(uniform(2, 13));
        SCOPED_TRACE(testing::Message() << "(" << a.x << "," << a.y << ") -> (" << b.x << "," << b.y
                                        << ") width " << width);
        const std::string drawn = wide_picture(24, a, b, width);
        ASSERT_EQ(drawn, reference_picture(24, a, b, width));
        ASSERT_EQ(wide_picture(24, b, a, width), drawn);
    }
}

// Long segments, drawn a batch of rows at a time through the canvas's area writer: the same pixels
// as the pixel rule, and the canvas's drawn bounds hold every pixel written, within a pen's width
// of the end points.
TEST(RasterWideLine, LongSegmentsMatchThePixelRuleAndReportWhatTheyDrew) {
    std::mt19937_64 rng(20261209);
    auto uniform = [&rng](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    constexpr int kSize = 160;
    for (int n = 0; n < 60; ++n) {
        const int width = static_cast<int>(uniform(2, n % 3 == 0 ? 40 : 6));
        const std::int64_t margin = width + 1;
        const Point a{uniform(margin, kSize - 1 - margin), uniform(margin, kSize - 1 - margin)};
        const Point b{uniform(margin, kSize - 1 - margin), uniform(margin, kSize - 1 - margin)};
        SCOPED_TRACE(testing::Message() << "(" << a.x << "," << a.y << ") -> (" << b.x << "," << b.y
                                        << ") width " << width);
        Framebuffer fb(kSize, kSize, kPaper);
        Canvas canvas(fb, Region(fb.bounds()));
        wide_line(canvas, a, b, width, kInk);
        ASSERT_EQ(picture(fb), reference_picture(kSize, a, b, width));
        Rect inked;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                if (fb.get(x, y) == kInk) inked = bounding_union(inked, Rect{x, y, x + 1, y + 1});
            }
        }
        const Rect reach{std::min(a.x, b.x) - width, std::min(a.y, b.y) - width,
                         std::max(a.x, b.x) + width + 1, std::max(a.y, b.y) + width + 1};
        ASSERT_EQ(bounding_union(canvas.drawn(), inked), canvas.drawn());
        ASSERT_EQ(bounding_union(canvas.drawn(), reach), reach);
    }
}

TEST(RasterWideLine, WidthOneIsTheThinLine) {
    for (const int width : {0, 1}) {
        EXPECT_EQ(wide_picture(8, {1, 1}, {6, 3}, width), render(8, 8, [](Canvas& c) {
                      thin_line(c, {1, 1}, {6, 3}, kInk);
                  }));
    }
}

} // namespace
} // namespace kv::raster::test
