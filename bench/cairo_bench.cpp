// Our peer: cairo drawing the primitives of the same Ticks, aliased, into an image of the client
// area's size. The primitives are recorded from the application's own Ticks, then replayed.
#include "bench/app_window.h"
#include "bench/tick_recorder.h"

#include <benchmark/benchmark.h>

#if KORVELINE_HAVE_CAIRO
#include <cairo.h>
#endif

#include <cstddef>
#include <vector>

namespace {

#if KORVELINE_HAVE_CAIRO

void set_colour(cairo_t* cr, kv::Color c) {
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                         ((c >> 16) & 0xFF) / 255.0);
}

// Pixel centres as GDI addresses them: a path through (x, y) runs through the pixel's middle.
void draw(cairo_t* cr, const bench::Primitive& p) {
    cairo_set_line_width(cr, p.pen_width);
    if (p.kind == bench::Primitive::Kind::Line) {
        cairo_move_to(cr, p.x0 + 0.5, p.y0 + 0.5);
        cairo_line_to(cr, p.x1 + 0.5, p.y1 + 0.5);
        set_colour(cr, p.pen);
        cairo_stroke(cr);
        return;
    }
    // The ellipse through the centres of the box's outer pixels (right and bottom exclusive).
    const double rx = (p.x1 - p.x0 - 1) / 2.0;
    const double ry = (p.y1 - p.y0 - 1) / 2.0;
    cairo_save(cr);
    cairo_translate(cr, p.x0 + 0.5 + rx, p.y0 + 0.5 + ry);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 6.283185307179586);
    cairo_restore(cr);
    if (p.filled) {
        set_colour(cr, p.brush);
        cairo_fill_preserve(cr);
    }
    set_colour(cr, p.pen);
    cairo_stroke(cr);
}

void CairoTick(benchmark::State& state) {
    // Consecutive Ticks, so that the shapes move as they do on screen.
    constexpr int kRecorded = 64;
    std::vector<std::vector<bench::Primitive>> ticks;
    {
        bench::AppWindow window;
        for (int i = 0; i < kRecorded; ++i) {
            const bench::TickRecorder recorder;
            window.tick();
            ticks.push_back(recorder.primitives());
        }
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 780, 557);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    std::size_t next = 0;
    std::size_t primitives = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        for (const bench::Primitive& p : ticks[next])
            draw(cr, p);
        cairo_surface_flush(surface);
        primitives += ticks[next].size();
        next = (next + 1) % ticks.size();
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    state.counters["primitives"] =
        static_cast<double>(primitives) / static_cast<double>(state.iterations());
}

#else

void CairoTick(benchmark::State& state) {
    state.SkipWithError("cairo not found at configure time (pkg-config cairo): no peer to compare");
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
    }
}

#endif

} // namespace

BENCHMARK(CairoTick)->Unit(benchmark::kMicrosecond);
