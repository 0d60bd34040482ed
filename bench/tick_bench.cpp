// What one Tick and one paint cost: a whole Tick through the window procedure, next to the floor
// it cannot beat (filling the central disc it repaints), korveline-script's Ticks per second, the
// model step alone, the drawing of the moving parts with everything shown, and the repaint of
// the fixed scene, on a client-sized framebuffer.
#include "bench/app_window.h"

#include "backends/headless/script.h"
#include "gdi/memory_dc.h"
#include "panels/central.h"
#include "panels/mode_emploi.h"
#include "shell/scene.h"
#include "user/session.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr kv::Color kBackground = 0x00C8C800; // the window's and the disc's colour

// A whole Tick as the timer runs it: the model step and the drawing, through WndProc and a DC of
// the window, with the supply on, the resultant, the forces and one coil's field shown.
void Tick(benchmark::State& state) {
    bench::AppWindow window;
    for (auto _ : state) // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        window.tick();
}
BENCHMARK(Tick)->Unit(benchmark::kMicrosecond);

// The pixels of the central disc that every Tick repaints, as spans: what CentralPaint covers.
struct DiscSpan {
    std::int64_t y, x0, x1;
};
std::vector<DiscSpan> disc_spans() {
    constexpr kv::Color kUntouched = 0;
    kv::Framebuffer fb(780, 557, kUntouched);
    {
        kv::gdi::ScopedDC dc(fb);
        CentralPaint(dc.get(), 107);
    }
    std::vector<DiscSpan> spans;
    for (int y = 0; y < fb.height(); ++y) {
        for (int x = 0; x < fb.width();) {
            if (fb.get(x, y) == kUntouched) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < fb.width() && fb.get(x, y) != kUntouched)
                ++x;
            spans.push_back({y, start, x});
        }
    }
    return spans;
}

// The floor: those same pixels filled by plain span fills, nothing else.
void Floor(benchmark::State& state) {
    const std::vector<DiscSpan> spans = disc_spans();
    kv::Framebuffer fb(780, 557, kBackground);
    std::int64_t pixels = 0;
    for (const DiscSpan& s : spans)
        pixels += s.x1 - s.x0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        for (const DiscSpan& s : spans)
            fb.fill_span(s.y, s.x0, s.x1, kBackground);
        benchmark::DoNotOptimize(fb.pixels().data());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = static_cast<double>(pixels);
}
BENCHMARK(Floor)->Unit(benchmark::kMicrosecond);

// korveline-script's own run: WinMain on the scripted backend, everything shown, then Ticks in
// virtual time. Start-up is counted too, spread over the Ticks.
void HeadlessTicks(benchmark::State& state) {
    constexpr std::int64_t kTicks = 5000;
    const std::string text =
        std::string(bench::kEverythingShownScript) + "tick " + std::to_string(kTicks) + "\n";
    auto parsed = kv::headless::parse_script(text);
    if (!std::holds_alternative<std::vector<kv::headless::Command>>(parsed))
        throw std::logic_error("the benchmark's script does not parse");
    const auto& script = std::get<std::vector<kv::headless::Command>>(parsed);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        bench::hide_fields();
        kv::headless::ScriptedBackend backend(script, {&std::cout, &std::cerr, {}});
        kv::Session session(backend);
        static char no_command_line[] = "";
        benchmark::DoNotOptimize(WinMain(nullptr, nullptr, no_command_line, SW_SHOWDEFAULT));
    }
    state.SetItemsProcessed(state.iterations() * kTicks);
}
BENCHMARK(HeadlessTicks)->Unit(benchmark::kMillisecond);

void ModelStep(benchmark::State& state) {
    tagMas mas(0.0, 0.0);
    double phase = 0, forces[3], torque;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        phase += -0.06283185307179587;
        mas.CalculMas(0.075, phase, 0.0, forces, &torque);
        benchmark::DoNotOptimize(torque);
    }
}
BENCHMARK(ModelStep);

// The drawing half of a Tick, with every field, the resultant and the forces shown.
void TickDrawing(benchmark::State& state) {
    kv::Framebuffer fb(780, 557, 0x00C8C800);
    masdessin.show_field1 = masdessin.show_field2 = masdessin.show_field3 = true;
    masdessin.show_resultant = true;
    double theta = 0, phase = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        kv::gdi::ScopedDC dc(fb);
        theta += -0.0627;
        phase += -0.06283185307179587;
        CentralPaint(dc.get(), 107);
        masdessin.RotorTourneTotal(dc.get(), theta);
        masdessin.ChampsTotal(dc.get(), phase, 5.0);
        masdessin.ForceLaplaceTotal(dc.get(), theta, 3.0, -2.0, 1.0);
        courbe.TraceCourbe(dc.get(), -0.0627, 1.0);
    }
}
BENCHMARK(TickDrawing);

// A full repaint of the fixed parts, as after the window is uncovered.
void Repaint(benchmark::State& state) {
    kv::Framebuffer fb(780, 557, 0x00C8C800);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        kv::gdi::ScopedDC dc(fb);
        alim.CreateAlim(dc.get(), 2);
        masdessin.CreateBobine1(dc.get());
        masdessin.CreateBobine2(dc.get());
        masdessin.CreateBobine3(dc.get());
        CreateAxe(dc.get());
        frein.CreateFrein(dc.get());
        ModeEmploi(dc.get());
    }
}
BENCHMARK(Repaint);

} // namespace
