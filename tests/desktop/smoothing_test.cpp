// How the picture is smoothed between whole zooms, on the picture itself (text, one-pixel lines)
// at a projector's 1920 x 1080 (x 1.94): nearest neighbour, linear, and zoomed by a whole factor
// by nearest neighbour then scaled linearly (by 1, the largest whole zoom that fits: linear
// again; by 2, the one just above: what the window does). Crops of each are written to the test's
// folder for the eye.
#include "backends/desktop/presenter.h"
#include "desktop/desktop_session.h"
#include "image/png_reader.h"
#include "image/png_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <utility>
#include <set>
#include <vector>

namespace {

using kv::Color;
using kv::Framebuffer;
using kv::Rect;
using kv::viewer::Size;

// The picture scaled to fill `screen` with `smoothing`, as a framebuffer of window pixels.
Framebuffer scaled(const Framebuffer& picture, Size screen, int smoothing) {
    const kv::viewer::ZoomLayout layout = kv::viewer::fit_layout(screen, {780, 557});
    std::vector<std::uint32_t> pixels(std::size_t(screen.width) * screen.height);
    kv::desktop::PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()),
                                    std::int64_t{screen.width} * 4,
                                    screen.width,
                                    screen.height,
                                    {}};
    kv::desktop::Scaler(layout, smoothing).draw(picture, layout.picture(), target);
    Framebuffer out(screen.width, screen.height);
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x)
            out.set(x, y, kv::desktop::target_pixel(target, x, y));
    return out;
}

Framebuffer crop(const Framebuffer& fb, const Rect& r) {
    Framebuffer out(static_cast<int>(r.width()), static_cast<int>(r.height()));
    for (std::int64_t y = r.top; y < r.bottom; ++y)
        for (std::int64_t x = r.left; x < r.right; ++x)
            out.set(x - r.left, y - r.top, fb.get(x, y));
    return out;
}

// Of the window pixels, the share (per cent) that show one of the picture's own colours: the
// rest are blends, which blur edges.
int pure_share(const Framebuffer& picture, const Framebuffer& shown, const Rect& area) {
    const std::set<Color> own(picture.pixels().begin(), picture.pixels().end());
    int pure = 0;
    for (std::int64_t y = area.top; y < area.bottom; ++y)
        for (std::int64_t x = area.left; x < area.right; ++x)
            pure += own.count(shown.get(x, y)) != 0;
    return static_cast<int>(100 * std::int64_t{pure} / (area.width() * area.height()));
}

// Along a window column crossing black one-pixel lines on the background (green 200), how much
// ink each line gets, in hundredths of a window pixel: the smallest and the largest. A line
// scaled by 1.94 should get 1.94 pixels of ink whatever row it is on.
std::pair<int, int> ink_per_line(const Framebuffer& shown, std::int64_t x, std::int64_t top,
                                 std::int64_t bottom) {
    int least = 1 << 30, most = 0, ink = 0;
    for (std::int64_t y = top; y < bottom; ++y) {
        const int darkness = 200 - kv::green_of(shown.get(x, y));
        if (darkness > 0) {
            ink += darkness;
        } else if (ink > 0) {
            least = std::min(least, ink / 2);
            most = std::max(most, ink / 2);
            ink = 0;
        }
    }
    return {least, most};
}

TEST(Smoothing, TheChosenOneKeepsEdgesSharpAndOnePixelLinesEven) {
    const Framebuffer picture =
        kv::image::read_png(KORVELINE_SOURCE_DIR "/tests/golden/running.png");
    ASSERT_EQ(picture.width(), 780);
    const std::string dir = kvtest::scratch_dir();
    const Size projector{1920, 1080};
    // The instructions' text and the lines's grid, in window pixels of the scaled picture.
    const Rect text{204 + 860, 720, 204 + 1440, 1000};
    const Rect lines{204, 0, 204 + 500, 120}; // ALIM and the supply's wires

    struct Filter {
        const char* name;
        int smoothing;
    };
    for (const Filter f : {Filter{"nearest", kv::desktop::kNearest}, Filter{"linear", 1},
                           Filter{"x2-then-linear", 2}, Filter{"chosen", -1}}) {
        const int smoothing =
            f.smoothing >= 0
                ? f.smoothing
                : kv::desktop::smoothing_for(kv::viewer::fit_layout(projector, {780, 557}));
        const Framebuffer shown = scaled(picture, projector, smoothing);
        kv::image::write_png(crop(shown, text), dir + "/" + f.name + "-text.png");
        kv::image::write_png(crop(shown, lines), dir + "/" + f.name + "-lines.png");
        // Black one-pixel lines every fourth row, all over the picture.
        Framebuffer ruled(780, 557, kv::rgb(0, 200, 200));
        for (int y = 2; y < 557; y += 4)
            ruled.fill_span(y, 0, 780, 0);
        const auto [least, most] = ink_per_line(scaled(ruled, projector, smoothing), 960, 0, 1080);
        std::printf("%-20s pure colours %3d %% (text), %3d %% (lines); ink of a one-pixel line "
                    "%d.%02d to %d.%02d pixels\n",
                    f.name, pure_share(picture, shown, text), pure_share(picture, shown, lines),
                    least / 100, least % 100, most / 100, most % 100);
        if (f.smoothing < 0) {
            // Edges stay sharp (most pixels show the picture's own colours), and every line gets
            // as much ink as the next.
            EXPECT_EQ(smoothing, 2);
            EXPECT_GE(pure_share(picture, shown, text), 85);
            EXPECT_LE(most - least, 10);
        }
    }
    std::printf("crops in %s\n", dir.c_str());
}

} // namespace
