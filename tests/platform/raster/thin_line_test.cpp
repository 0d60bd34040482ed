#include "platform/raster/raster_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace kv::raster::test {
namespace {

// The rule exactly as Windows documents it, walking every step with no clipping.
std::vector<Point> reference_thin_line(Point a, Point b) {
    std::vector<Point> out;
    const std::int64_t dx = b.x - a.x;
    const std::int64_t dy = b.y - a.y;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    const std::int64_t sx = dx < 0 ? -1 : 1;
    const std::int64_t sy = dy < 0 ? -1 : 1;
    std::int64_t x = a.x;
    std::int64_t y = a.y;
    if (adx >= ady) {
        const std::int64_t bias = dy < 0 ? 1 : 0;
        std::int64_t err = 2 * ady - adx;
        for (std::int64_t i = 0; i < adx; ++i) {
            out.push_back({x, y});
            if (err + bias > 0) {
                y += sy;
                err += 2 * ady - 2 * adx;
            } else {
                err += 2 * ady;
            }
            x += sx;
        }
    } else {
        const std::int64_t bias = dx < 0 ? 1 : 0;
        std::int64_t err = 2 * adx - ady;
        for (std::int64_t i = 0; i < ady; ++i) {
            out.push_back({x, y});
            if (err + bias > 0) {
                x += sx;
                err += 2 * adx - 2 * ady;
            } else {
                err += 2 * adx;
            }
            y += sy;
        }
    }
    return out;
}

std::string reference_picture(int width, int height, Point a, Point b) {
    Framebuffer fb(width, height, kPaper);
    for (const Point& p : reference_thin_line(a, b))
        fb.set(p.x, p.y, kInk);
    return picture(fb);
}

std::string thin_picture(int width, int height, Point a, Point b) {
    return render(width, height, [&](Canvas& c) { thin_line(c, a, b, kInk); });
}

TEST(RasterThinLine, DrawsFirstPixelNotLastAndBiasDependsOnDirection) {
    EXPECT_EQ(thin_picture(6, 3, {0, 0}, {4, 2}), art(R"(
        ##....
        ..##..
        ......)"));
    EXPECT_EQ(thin_picture(6, 3, {4, 2}, {0, 0}), art(R"(
        .#....
        ..##..
        ....#.)"));
}

TEST(RasterThinLine, EqualPointsDrawNothing) {
    const std::string blank = render(4, 4, [](Canvas&) {});
    EXPECT_EQ(thin_picture(4, 4, {1, 1}, {1, 1}), blank);
    EXPECT_EQ(thin_picture(4, 4, {-1, -1}, {-1, -1}), blank);
}

TEST(RasterThinLine, SixteenDirectionsBothWaysMatchTheReference) {
    // Half-slopes included: they hit the ties the bias decides.
    const Point directions[] = {{8, 0},  {8, 4},  {8, 8},  {4, 8},   {0, 8},   {-4, 8},
                                {-8, 8}, {-8, 4}, {-8, 0}, {-8, -4}, {-8, -8}, {-4, -8},
                                {0, -8}, {4, -8}, {8, -8}, {8, -4}};
    const Point centre{10, 10};
    for (const Point& d : directions) {
        const Point end = shifted(centre, d.x, d.y);
        for (const auto& [a, b] : {std::pair{centre, end}, std::pair{end, centre}}) {
            SCOPED_TRACE(testing::Message()
                         << "(" << a.x << "," << a.y << ") -> (" << b.x << "," << b.y << ")");
            EXPECT_EQ(thin_picture(21, 21, a, b), reference_picture(21, 21, a, b));
            Framebuffer fb(21, 21, kPaper);
            Canvas canvas(fb, Region(fb.bounds()));
            thin_line(canvas, a, b, kInk);
            EXPECT_EQ(fb.get(a.x, a.y), kInk);
            EXPECT_EQ(fb.get(b.x, b.y), kPaper);
        }
    }
}

TEST(RasterThinLine, ClippedWalkMatchesTheUnclippedReferenceOnRandomLines) {
    std::mt19937_64 rng(20240611);
    auto uniform = [&rng](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    for (int n = 0; n < 600; ++n) {
        Point a;
        Point b;
        switch (n % 3) {
        case 0: // short, around and across the buffer
            a = {uniform(-10, 34), uniform(-10, 34)};
            b = {uniform(-10, 34), uniform(-10, 34)};
            break;
        case 1: // long, anywhere
            a = {uniform(-40000, 70000), uniform(-40000, 70000)};
            b = {uniform(-40000, 70000), uniform(-40000, 70000)};
            break;
        default: { // long, through a pixel of the buffer
            const Point through{uniform(0, 23), uniform(0, 23)};
            const std::int64_t dx = uniform(-500, 500);
            const std::int64_t dy = uniform(-500, 500);
            a = shifted(through, -dx * uniform(1, 80), -dy * uniform(1, 80));
            b = shifted(through, dx * uniform(1, 80), dy * uniform(1, 80));
        }
        }
        SCOPED_TRACE(testing::Message()
                     << "(" << a.x << "," << a.y << ") -> (" << b.x << "," << b.y << ")");
        ASSERT_EQ(thin_picture(24, 24, a, b), reference_picture(24, 24, a, b));
    }
}

TEST(RasterThinLine, LinesFromTheEdgeOfTheCoordinateRangeMatchTheirShortTwins) {
    // A line from c - N*(q, p) to c + N*(q, p) lights the same pixels near c for every N >= 1, so
    // a line reaching 2^31 away must look like a short one that the reference can walk.
    const Point slopes[] = {{1, 0}, {3, 1},  {2, 1},  {1, 1},  {1, 2},  {5, 7},
                            {0, 1}, {-3, 1}, {-2, 1}, {-1, 1}, {-1, 3}, {-7, 5}};
    const Point c{12, 12};
    for (const Point& s : slopes) {
        for (const int sign : {1, -1}) {
            const std::int64_t q = sign * s.x;
            const std::int64_t p = sign * s.y;
            const std::int64_t longest = std::max(q < 0 ? -q : q, p < 0 ? -p : p);
            const std::int64_t huge = ((std::int64_t{1} << 31) - 24) / longest;
            const std::int64_t small = 24 / longest + 1;
            SCOPED_TRACE(testing::Message() << "slope (" << q << "," << p << ")");
            EXPECT_EQ(thin_picture(24, 24, shifted(c, -q * huge, -p * huge),
                                   shifted(c, q * huge, p * huge)),
                      reference_picture(24, 24, shifted(c, -q * small, -p * small),
                                        shifted(c, q * small, p * small)));
        }
    }
}

} // namespace
} // namespace kv::raster::test
