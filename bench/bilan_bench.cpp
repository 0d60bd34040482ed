// What the power balance costs the programs after each Tick (its update: one Tick's powers, kept
// in the ring) beside the model's step, and what an average over a period costs the readout.
#include "model/bilan.h"
#include "model/constantes.h"

#include <benchmark/benchmark.h>

namespace {

void BalanceAfterTick(benchmark::State& state) {
    const tagLabo labo;
    tagMas mas(0.0, 0.0);
    tagBilanPeriode bilan;
    double phase = 0, forces[3], torque;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        phase += PAS_PHASE_NOMINAL;
        const tagMas avant = mas;
        mas.CalculMas(AMPLITUDE_ALIMENTATION, phase, 0.0, forces, &torque);
        bilan.Ajoute(PuissancesDuTick(avant, mas, labo, AMPLITUDE_ALIMENTATION, phase), labo);
    }
    benchmark::DoNotOptimize(bilan.Moyenne().transmise);
}
BENCHMARK(BalanceAfterTick);

void BalanceAverage(benchmark::State& state) {
    tagLabo labo;
    labo.frequence = 10; // the longest period: 1000 Ticks
    tagBilanPeriode bilan;
    for (int n = 0; n < tagBilanPeriode::CAPACITE; n++)
        bilan.Ajoute(tagPuissances{1, 2, 3, 4, 5, 6, 7}, labo);
    for (auto _ : state) // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        benchmark::DoNotOptimize(bilan.Moyenne().transmise);
}
BENCHMARK(BalanceAverage);

} // namespace
