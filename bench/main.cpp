// Runs the benchmarks as usual, then sets the Tick beside its floor and its peer: Tick / floor,
// cairo / Tick, and korveline-script's Ticks per second. With --benchmark_repetitions the medians
// are compared. CPU time, since the machine may be shared: time spent waiting for a core is not
// the program's cost.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Result {
    double cpu_us = 0;
    double items_per_second = 0;
    bool median = false;
};

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Colours on a terminal only, as the library's own reporter does.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            Result& r = results_[run.run_name.function_name];
            if (r.median && !median) continue;
            const double to_us = 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            r.cpu_us = run.GetAdjustedCPUTime() * to_us;
            const auto items = run.counters.find("items_per_second");
            if (items != run.counters.end()) r.items_per_second = items->second.value;
            r.median = median;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const Result* tick = find("Tick");
        const Result* floor = find("Floor");
        const Result* cairo = find("CairoTick");
        const Result* headless = find("HeadlessTicks");
        std::printf("\nTick beside its floor and its peer (CPU time%s):\n",
                    tick != nullptr && tick->median ? ", medians" : "");
        if (tick != nullptr) std::printf("  Tick                 %9.2f us\n", tick->cpu_us);
        if (floor != nullptr) std::printf("  floor (disc fill)    %9.2f us\n", floor->cpu_us);
        if (cairo != nullptr) std::printf("  cairo, same Tick     %9.2f us\n", cairo->cpu_us);
        if (tick != nullptr && floor != nullptr)
            std::printf("  Tick / floor         %9.2f   (goal <= 2)\n",
                        tick->cpu_us / floor->cpu_us);
        if (tick != nullptr && cairo != nullptr)
            std::printf("  cairo / Tick         %9.2f   (goal >= 4)\n",
                        cairo->cpu_us / tick->cpu_us);
        if (cairo == nullptr) std::printf("  cairo / Tick         skipped: cairo not found\n");
        if (headless != nullptr)
            std::printf("  korveline-script     %9.0f Ticks per second (goal >= 80000)\n",
                        headless->items_per_second);
    }

  private:
    const Result* find(const std::string& name) const {
        const auto it = results_.find(name);
        return it == results_.end() ? nullptr : &it->second;
    }
    std::map<std::string, Result> results_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
