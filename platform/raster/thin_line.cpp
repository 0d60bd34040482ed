// One-pixel lines: Bresenham's walk with Win32's bias, started at the first visible step.
#include "raster/coordinates.h"
#include "raster/exact_math.h"
#include "raster/raster.h"

namespace kv::raster {

namespace {

using detail::i128;
using detail::Range;

// Win32's diamond-exit rule breaks ties towards the start of the line: an x-major line going up or
// a y-major line going left steps on the minor axis as soon as the error reaches zero.
int diamond_exit_bias(bool x_major, std::int64_t dx, std::int64_t dy) {
    return (x_major ? dy < 0 : dx < 0) ? 1 : 0;
}

// A line seen along its major axis: step i (0 <= i < run) is at major = start + step * i and
// minor = minor_start + minor_step * k(i), k(i) = floor((2 rise i + run + bias - 1) / (2 run)),
// which is the closed form of the error-term walk.
struct MajorWalk {
    std::int64_t start, minor_start;
    std::int64_t run, rise; // absolute lengths along the major and minor axes, run >= rise
    int step, minor_step, bias;

    // Steps i whose position first + direction * i lies in [lo, hi).
    static Range steps_within(std::int64_t first, int direction, std::int64_t lo, std::int64_t hi) {
        return direction > 0 ? Range{i128{lo} - first, i128{hi} - first}
                             : Range{i128{first} - hi + 1, i128{first} - lo + 1};
    }

    // Steps whose minor offset k(i) lies in [k.lo, k.hi); k(i) never decreases.
    Range steps_with_minor_offset(Range k) const {
        if (k.empty()) return {};
        if (rise == 0) return k.contains(0) ? detail::all_integers() : Range{};
        const i128 twice_run = i128{2} * run;
        const i128 twice_rise = i128{2} * rise;
        return {detail::ceil_div(twice_run * k.lo - run - bias + 1, twice_rise),
                detail::floor_div(twice_run * k.hi - run - bias, twice_rise) + 1};
    }

    Range visible_steps(std::int64_t major_lo, std::int64_t major_hi, std::int64_t minor_lo,
                        std::int64_t minor_hi) const {
        Range steps = meet(Range{0, i128{run}}, steps_within(start, step, major_lo, major_hi));
        steps = meet(steps, steps_with_minor_offset(
                                steps_within(minor_start, minor_step, minor_lo, minor_hi)));
        return steps;
    }

    // Walks steps [steps.lo, steps.hi), jumping the error term straight to the first of them.
    template <typename Plot> void walk(Range steps, Plot&& plot) const {
        const i128 twice_run = i128{2} * run;
        const i128 k = detail::floor_div(i128{2} * rise * steps.lo + run + bias - 1, twice_run);
        auto err = static_cast<std::int64_t>(i128{2} * rise * (steps.lo + 1) - run - twice_run * k);
        auto major = static_cast<std::int64_t>(start + step * steps.lo);
        auto minor = static_cast<std::int64_t>(minor_start + minor_step * k);
        for (i128 i = steps.lo; i < steps.hi; ++i) {
            plot(major, minor);
            if (err + bias > 0) {
                minor += minor_step;
                err += 2 * rise - 2 * run;
            } else {
                err += 2 * rise;
            }
            major += step;
        }
    }
};

} // namespace

void thin_line(Canvas& canvas, Point from, Point to, Color color) {
    from = detail::clamp_point(from);
    to = detail::clamp_point(to);
    const Rect& clip = canvas.clip_bounds();
    if (from == to || clip.empty()) return;

    const std::int64_t dx = to.x - from.x;
    const std::int64_t dy = to.y - from.y;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    const std::int64_t run_x = dx < 0 ? -dx : dx;
    const std::int64_t run_y = dy < 0 ? -dy : dy;
    const bool x_major = run_x >= run_y;
    const int bias = diamond_exit_bias(x_major, dx, dy);

    if (x_major) {
        const MajorWalk line{from.x, from.y, run_x, run_y, sx, sy, bias};
        const Range steps = line.visible_steps(clip.left, clip.right, clip.top, clip.bottom);
        if (steps.empty()) return;
        line.walk(steps, [&](std::int64_t x, std::int64_t y) { canvas.plot(x, y, color); });
    } else {
        const MajorWalk line{from.y, from.x, run_y, run_x, sy, sx, bias};
        const Range steps = line.visible_steps(clip.top, clip.bottom, clip.left, clip.right);
        if (steps.empty()) return;
        line.walk(steps, [&](std::int64_t y, std::int64_t x) { canvas.plot(x, y, color); });
    }
}

} // namespace kv::raster
