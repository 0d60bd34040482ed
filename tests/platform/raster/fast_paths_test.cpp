// The raster's 64-bit shortcuts against its 128-bit general path, over many random inputs. A wide
// band's rows follow it when it is moved (its corners move by whole pixels), so the same segment
// near the origin (64-bit arithmetic) and moved past 2^30 (128-bit) must give the same rows, moved;
// and walking the band edge by edge must give the rows that dividing gives.
#include "core/framebuffer.h"
#include "core/canvas.h"
#include "raster/band_rows.h"
#include "raster/raster.h"
#include "raster/segment_cache.h"
#include "raster/wide_band.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <random>
#include <vector>

namespace kv::raster::test {
namespace {

using detail::i128;

TEST(RasterFastPaths, WideBandRowsAreTheSameIn64And128BitArithmetic) {
    std::mt19937_64 rng(20261208);
    auto uniform = [&rng](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    const Point far{(std::int64_t{1} << 30) + 12345, -(std::int64_t{1} << 30) - 678};
    int rows_checked = 0;
    for (int n = 0; n < 3000; ++n) {
        const std::int64_t spread = n % 3 == 0 ? 3000 : 60;
        const Point a{uniform(-spread, spread), uniform(-spread, spread)};
        const Point b{uniform(-spread, spread), uniform(-spread, spread)};
        if (a.x == b.x || a.y == b.y) continue; // level and upright segments have no band
        const int width = static_cast<int>(uniform(2, n % 5 == 0 ? 400 : 16));
        const detail::WideBand near_band(a, b, width);
        const detail::WideBand far_band({a.x + far.x, a.y + far.y}, {b.x + far.x, b.y + far.y},
                                        width);
        const std::int64_t reach = width + 2;
        // The same rows walked edge by edge, in batches of a random size.
        const std::int64_t first = std::min(a.y, b.y) - reach;
        detail::BandRows walked(near_band, first);
        std::vector<Span> walked_rows;
        while (walked_rows.size() <
               static_cast<std::size_t>(std::max(a.y, b.y) + reach + 1 - first)) {
            // Rubbish in every row first: each batch must be written whole.
            std::vector<Span> batch(static_cast<std::size_t>(uniform(1, 70)), Span{-77, 77});
            walked.next(batch);
            walked_rows.insert(walked_rows.end(), batch.begin(), batch.end());
        }
        for (std::int64_t y = std::min(a.y, b.y) - reach; y <= std::max(a.y, b.y) + reach; ++y) {
            const detail::Range near_row = near_band.row(y);
            const Span walked_row = walked_rows[static_cast<std::size_t>(y - first)];
            ASSERT_EQ(near_row.empty(), walked_row.empty()) << n << " row " << y;
            if (!near_row.empty()) {
                ASSERT_EQ(near_row.lo, walked_row.lo) << n << " row " << y;
                ASSERT_EQ(near_row.hi, walked_row.hi) << n << " row " << y;
            }
            const detail::Range far_row = far_band.row(i128{y} + far.y);
            ASSERT_EQ(near_row.empty(), far_row.empty()) << n << " row " << y;
            if (near_row.empty()) continue;
            ASSERT_EQ(near_row.lo + far.x, far_row.lo) << n << " row " << y;
            ASSERT_EQ(near_row.hi + far.x, far_row.hi) << n << " row " << y;
            ++rows_checked;
        }
    }
    EXPECT_GT(rows_checked, 100000);
}

// Spans of every length from every alignment: exactly their pixels, whatever the stores that
// cover them, through both the clipped and the area writer's entry.
TEST(RasterFastPaths, SpansOfEveryLengthFillExactlyTheirPixels) {
    constexpr Color kOld = 5, kNew = 9;
    constexpr int kWidth = 48;
    for (const bool inside : {false, true}) {
        for (int x0 = 0; x0 < 8; ++x0) {
            for (int x1 = x0 + 1; x1 <= kWidth; ++x1) {
                Framebuffer fb(kWidth, 3, kOld);
                if (inside)
                    fb.fill_span_inside(1, x0, x1, kNew);
                else
                    fb.fill_span(1, x0, x1, kNew);
                for (int y = 0; y < 3; ++y) {
                    for (int x = 0; x < kWidth; ++x) {
                        const bool in = y == 1 && x0 <= x && x < x1;
                        ASSERT_EQ(fb.get(x, y), in ? kNew : kOld)
                            << "[" << x0 << ", " << x1 << ") pixel " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(RasterFastPaths, HalfWidthsAreTheSameIn64And128BitArithmetic) {
    std::mt19937_64 rng(42);
    auto uniform = [&rng](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    for (int n = 0; n < 100000; ++n) {
        const i128 width = uniform(2, (1 << 14) - 1);
        const i128 dx = uniform(0, 11000), dy = uniform(1, 11000);
        const i128 length_sq = dx * dx + dy * dy;
        const detail::HalfWidths fast = detail::half_widths(width, dx, length_sq);
        const detail::HalfWidths general = detail::half_widths_in<i128>(width, dx, length_sq);
        ASSERT_TRUE(fast.narrow == general.narrow && fast.wide == general.wide)
            << "width " << static_cast<long long>(width) << " along " << static_cast<long long>(dx)
            << " length_sq " << static_cast<long long>(length_sq);
    }
}

TEST(RasterFastPaths, SquareRootsFromTheHardwareAreTheIntegerOnes) {
    std::mt19937_64 rng(7);
    auto check = [](std::uint64_t n) {
        ASSERT_EQ(detail::isqrt_by_double(n), detail::newton_isqrt(n, 64 - std::countl_zero(n)))
            << n;
    };
    for (std::uint64_t n = 2; n < 100000; ++n)
        check(n);
    for (int i = 0; i < 200000; ++i) {
        // Near perfect squares, where a rounded root would be off by one, up to 2^52.
        const std::uint64_t r = std::uniform_int_distribution<std::uint64_t>(2, 1u << 26)(rng);
        for (const std::uint64_t n : {r * r - 1, r * r, r * r + 1})
            if (n < (std::uint64_t{1} << 52)) check(n);
        check(std::uniform_int_distribution<std::uint64_t>(2, (std::uint64_t{1} << 52) - 1)(rng));
    }
}

// Segments drawn from a cache of kept runs, against the same segments drawn afresh: the same
// pixels and the same drawn bounds, wherever the offset is drawn again. Few offsets, so that most
// draws find theirs kept; some cut by the clip (a rectangle or a region in pieces), which are
// drawn afresh and not kept; a small cache, so that it starts afresh many times on the way (too
// many runs, or too many segments).
TEST(RasterFastPaths, KeptSegmentsGiveThePixelsOfFreshOnes) {
    std::mt19937_64 rng(20261210);
    auto uniform = [&rng](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    struct Offset {
        Point d;
        int width;
    };
    std::array<Offset, 24> offsets;
    for (Offset& o : offsets) {
        const std::int64_t reach = uniform(0, 3) == 0 ? 60 : 12;
        o = {{uniform(-reach, reach), uniform(-reach, reach)},
             static_cast<int>(uniform(2, uniform(0, 5) == 0 ? 40 : 6))};
    }
    offsets[0].d = {};                                 // the pen's dot
    offsets[1].d = {17, 0};                            // level
    offsets[2].d = {0, -9};                            // upright
    offsets[3].width = 33;                             // a pen too wide for the tabled tips
    offsets[4] = {offsets[5].d, offsets[5].width + 1}; // one offset drawn with two widths
    const std::array<Region, 2> clips{Region(Rect{0, 0, 120, 120}), [] {
                                          Region r(Rect{0, 0, 50, 120});
                                          r.add(Rect{70, 10, 120, 100});
                                          return r;
                                      }()};
    SegmentCache cache(4000, 20);
    Framebuffer kept_fb(120, 120, 0), fresh_fb(120, 120, 0);
    int found = 0;
    for (int n = 0; n < 3000; ++n) {
        const Offset& o = offsets[static_cast<std::size_t>(uniform(0, offsets.size() - 1))];
        const Point from{uniform(-20, 140), uniform(-20, 140)};
        const Point to{from.x + o.d.x, from.y + o.d.y};
        const Region& clip = clips[n % 7 == 0 ? 1 : 0];
        const Color colour = static_cast<Color>(uniform(1, 5));
        found += cache.find(o.d.x, o.d.y, o.width) != nullptr ? 1 : 0;
        Canvas kept_canvas(kept_fb, clip), fresh_canvas(fresh_fb, clip);
        wide_line(kept_canvas, from, to, o.width, colour, &cache);
        wide_line(fresh_canvas, from, to, o.width, colour);
        ASSERT_TRUE(std::ranges::equal(kept_fb.pixels(), fresh_fb.pixels()))
            << n << ": (" << from.x << "," << from.y << ") -> (" << to.x << "," << to.y
            << ") width " << o.width;
        ASSERT_EQ(kept_canvas.drawn(), fresh_canvas.drawn()) << n;
    }
    EXPECT_GT(found, 1500); // most draws came from kept runs
}

// Notes on what was written are the buffer's own: a copy or a buffer moved in counts as written
// everywhere (a repaint must not trust notes about other pixels), and one moved from is empty.
TEST(RasterFastPaths, ACopiedOrMovedBufferCountsAsWrittenEverywhere) {
    const PaintKey key{{1, 2, 3}};
    // The columns a repaint of `key` over rows [0, 5) would be asked to paint again.
    const auto needed = [&](Framebuffer& buffer) {
        std::vector<Span> rows;
        buffer.repaint(key, 0, 5, [&](const auto& columns) {
            for (int y = 0; y < 5; ++y)
                rows.push_back(columns(y));
        });
        return rows;
    };
    Framebuffer fb(12, 5, rgb(9, 9, 9));
    needed(fb);
    fb.fill_span(2, 3, 4, rgb(1, 2, 3));
    fb.presented();
    ASSERT_EQ(fb.unpresented(0), Span{});
    Framebuffer held = fb;
    needed(held);
    held.fill_span(2, 3, 4, rgb(1, 2, 3));
    ASSERT_EQ(needed(held), (std::vector<Span>{{}, {}, {3, 4}, {}, {}}));

    Framebuffer assigned(3, 3);
    assigned = fb;
    Framebuffer copied(fb);
    Framebuffer moved_from(fb);
    Framebuffer moved(std::move(moved_from));
    for (Framebuffer* other : {&assigned, &copied, &moved}) {
        EXPECT_EQ(other->get(3, 2), rgb(1, 2, 3));
        for (int y = 0; y < 5; ++y)
            EXPECT_EQ(other->unpresented(y), (Span{0, 12}));
        EXPECT_EQ(needed(*other), std::vector<Span>(5, Span{0, 12}));
    }
    EXPECT_EQ(moved_from.width(), 0); // NOLINT(bugprone-use-after-move): left empty on purpose
    EXPECT_EQ(moved_from.height(), 0);
    EXPECT_EQ(moved_from.get(0, 0), kInvalidColor);
    moved_from.presented(); // an empty buffer has nothing to forget
    EXPECT_EQ(moved_from.unpresented(0), Span{});
}

} // namespace
} // namespace kv::raster::test
