// What the steady torque/speed curve costs for a set of settings: the model held at some hundred
// speeds, each until its currents settle. Slowest where the rotor forgets slowest (a low rotor
// resistance) and where a supply period is longest (a low frequency).
#include "model/caracteristique.h"

#include <benchmark/benchmark.h>

namespace {

void Curve(benchmark::State& state, const tagLabo& settings) {
    for (auto _ : state) // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        benchmark::DoNotOptimize(MesureCaracteristique(settings).decrochage.couple);
}

tagLabo With(double frequency, double voltage, double resistance, int open) {
    tagLabo l;
    l.frequence = frequency;
    l.tension = voltage;
    l.resistance = resistance;
    l.ligne_ouverte = open;
    return l;
}

BENCHMARK_CAPTURE(Curve, original, tagLabo())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Curve, open_line, With(100, 100, 1, 1))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Curve, resistance_quarter, With(100, 100, 0.25, 0))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Curve, frequency_10, With(10, 10, 1, 0))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Curve, slowest, With(10, 10, 0.25, 2))->Unit(benchmark::kMillisecond);

} // namespace
