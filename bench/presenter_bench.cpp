// What a Tick's frame costs the desktop window: the presenter writing what the Tick drew into
// 32-bit window pixels, scaled, with a box over the picture, at zoom 1, at zoom 2, and full
// screen on a 1920 x 1080 projector (x 1.94). The Tick itself runs outside the timing.
#include "bench/app_window.h"

#include "backends/desktop/presenter.h"
#include "user/window_manager.h"
#include "viewer/boxes.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

using kv::viewer::Size;

void Present(benchmark::State& state, const kv::viewer::ZoomLayout& layout) {
    bench::AppWindow app;
    kv::Window& window = *kv::WindowManager::current()->window(app.hwnd());
    std::vector<std::uint32_t> pixels(std::size_t(layout.output.width) * layout.output.height);
    kv::desktop::PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()),
                                    std::int64_t{layout.output.width} * 4,
                                    layout.output.width,
                                    layout.output.height,
                                    {}};
    kv::desktop::Presenter presenter;
    presenter.set_layout(layout);
    presenter.set_badge("REC");
    presenter.draw_all(window.framebuffer, target);
    window.framebuffer.presented();
    std::vector<kv::Rect> written;
    std::int64_t sent = 0, frames = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        state.PauseTiming();
        app.tick();
        written.clear();
        state.ResumeTiming();
        presenter.draw_changes(window.framebuffer, window.changed, target, written);
        state.PauseTiming();
        window.changed.clear();
        window.framebuffer.presented();
        for (const kv::Rect& r : written)
            sent += r.width() * r.height();
        ++frames;
        state.ResumeTiming();
    }
    state.counters["pixels_sent"] = static_cast<double>(sent) / static_cast<double>(frames);
}

void PresentZoom1(benchmark::State& state) {
    Present(state, kv::viewer::corner_layout(Size{780, 557}, Size{780, 557}, 1));
}
void PresentZoom2(benchmark::State& state) {
    Present(state, kv::viewer::corner_layout(Size{1560, 1114}, Size{780, 557}, 2));
}
void PresentFullScreen1080p(benchmark::State& state) {
    Present(state, kv::viewer::fit_layout(Size{1920, 1080}, Size{780, 557}));
}
BENCHMARK(PresentZoom1)->Unit(benchmark::kMicrosecond);
BENCHMARK(PresentZoom2)->Unit(benchmark::kMicrosecond);
BENCHMARK(PresentFullScreen1080p)->Unit(benchmark::kMicrosecond);

} // namespace
