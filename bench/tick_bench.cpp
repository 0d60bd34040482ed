// What one Tick and one paint cost: the model step alone, the drawing of the moving parts with
// everything shown, and the repaint of the fixed scene, on a client-sized framebuffer.
#include "gdi/memory_dc.h"
#include "panels/central.h"
#include "panels/mode_emploi.h"
#include "shell/scene.h"

#include <benchmark/benchmark.h>

namespace {

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
