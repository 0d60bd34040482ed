#include "platform/raster/raster_test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace kv::raster::test {
namespace {

__extension__ typedef __int128 i128;

// The capsule rule pixel by pixel: the point (2px + s, 2py + s) within sqrt(w(w-1)) of the
// doubled segment. Exact for the small coordinates used here.
bool reference_covers(Point a, Point b, int width, std::int64_t px, std::int64_t py) {
    const i128 s = width % 2 == 0 ? 1 : 0;
    const i128 radius_sq = i128{width} * (width - 1);
    const i128 qx = 2 * px + s - 2 * a.x;
    const i128 qy = 2 * py + s - 2 * a.y;
    const i128 dx = 2 * (b.x - a.x);
    const i128 dy = 2 * (b.y - a.y);
    const i128 length_sq = dx * dx + dy * dy;
    const i128 along = qx * dx + qy * dy;
    if (length_sq == 0 || along <= 0) return qx * qx + qy * qy <= radius_sq;
    if (along >= length_sq) {
        const i128 ex = qx - dx;
        const i128 ey = qy - dy;
        return ex * ex + ey * ey <= radius_sq;
    }
    const i128 across = qx * dy - qy * dx;
    return across * across <= radius_sq * length_sq;
}

std::string reference_picture(int size, Point a, Point b, int width) {
    Framebuffer fb(size, size, kPaper);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (reference_covers(a, b, width, x, y)) fb.set(x, y, kInk);
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

TEST(RasterWideLine, DiagonalWidthFour) {
    EXPECT_EQ(wide_picture(9, {3, 3}, {6, 6}, 4), art(R"(
        .........
        ..##.....
        .####....
        .#####...
        ..#####..
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

TEST(RasterWideLine, WidthOneIsTheThinLine) {
    for (const int width : {0, 1}) {
        EXPECT_EQ(wide_picture(8, {1, 1}, {6, 3}, width), render(8, 8, [](Canvas& c) {
                      thin_line(c, {1, 1}, {6, 3}, kInk);
                  }));
    }
}

} // namespace
} // namespace kv::raster::test
