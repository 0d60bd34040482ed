#include "tools/gdi_conformance/scene_compare.h"

#include <cstdint>

namespace gdi_conformance {

namespace {

constexpr kv::Color kRed = 0x0000FF;

// How far into the screenshot the client area may start: Wine's frame and caption.
constexpr int kMaxOrigin = 64;

long Agreement(const kv::Framebuffer& screenshot, const kv::Framebuffer& ours, int ox, int oy,
               int step, bool moving) {
    long same = 0;
    for (int y = 0; y < ours.height(); y += step) {
        for (int x = 0; x < ours.width(); x += step) {
            if (Masked(x, y, moving)) continue;
            same += screenshot.get(x + ox, y + oy) == ours.get(x, y);
        }
    }
    return same;
}

} // namespace

const std::vector<Mask>& SceneMasks() {
    static const std::vector<Mask> masks{
        {kv::Rect{2, 2, 48, 38}, "\"ALIM\" at (10, 15), inside the box's outline"},
        {kv::Rect{462, 1, 510, 26}, "\"Tu\" at (465, 5)"},
        {kv::Rect{770, 185, 800, 212}, "\"n\" at (780, 190)"},
        {kv::Rect{734, 338, 800, 366}, "\"R a Z\" at (740, 343)"},
        {kv::Rect{236, 456, 276, 481}, "\"Frein\" at (240, 460), inside the brake box"},
        {kv::Rect{444, 366, 800, 545}, "the instructions, ten lines at x = 450, y = 370 .. 522"},
        {kv::Rect{449, 169, 472, 192}, "the operating point, at the plot's origin (460, 180)"},
    };
    return masks;
}

bool Masked(std::int64_t x, std::int64_t y, bool moving) {
    // The central disc that every Tick wipes and draws again, pen included.
    const std::int64_t dx = x - 260;
    const std::int64_t dy = y - 290;
    if (moving && dx * dx + dy * dy <= std::int64_t{112} * 112) return true;
    const auto& masks = SceneMasks();
    const std::size_t count = moving ? masks.size() : masks.size() - 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (masks[i].area.contains(x, y)) return true;
    }
    return false;
}

SceneComparison CompareScene(const kv::Framebuffer& screenshot, const kv::Framebuffer& ours,
                             bool leave_out_moving) {
    SceneComparison result;
    // A coarse search over every offset, then the best offset is confirmed on every pixel.
    long best = -1;
    for (int oy = 0; oy <= kMaxOrigin; ++oy) {
        for (int ox = 0; ox <= kMaxOrigin; ++ox) {
            const long same = Agreement(screenshot, ours, ox, oy, 5, leave_out_moving);
            if (same > best) {
                best = same;
                result.origin_x = ox;
                result.origin_y = oy;
            }
        }
    }
    result.difference = kv::Framebuffer(ours.width(), ours.height());
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            const kv::Color mine = ours.get(x, y);
            const bool masked = Masked(x, y, leave_out_moving);
            // Faded towards white, masked parts more so.
            const kv::Color faded = ((mine >> 2) & 0x3F3F3F) + (masked ? 0xBFBFBF : 0x9F9F9F);
            result.difference.set(x, y, faded);
            if (masked) continue;
            ++result.compared;
            if (screenshot.get(x + result.origin_x, y + result.origin_y) == mine) {
                ++result.identical;
            } else {
                result.differing.push_back({x, y});
                result.difference.set(x, y, kRed);
            }
        }
    }
    return result;
}

} // namespace gdi_conformance
