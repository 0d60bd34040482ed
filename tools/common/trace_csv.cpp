#include "tools/common/trace_csv.h"

#include "backends/headless/run_error.h"
#include "shell/scene.h"
#include "tools/common/synchronous_speed.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

const char* const kTraceHeader =
    "tick,time_s,phase_rad,theta_rad,omega_rad_per_tick,speed_over_sync,slip,motor_torque,"
    "brake_torque,force1,force2,force3,current1,current2,current3,flux1,flux2,flux3";

namespace {

constexpr double kSecondsPerTick = 0.05;

// memcpy rather than std::bit_cast, which the WebAssembly build's C++ library lacks.
bool same_bits(double a, double b) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

// As `state` prints them: 17 significant digits read back to the same double.
void append(std::string& row, double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, ",%.17g", v);
    row += buffer;
}

} // namespace

void TraceSampler::BeforeTick() {
    before_ = Mas;
}

TraceSample TraceSampler::Sample(std::uint64_t tick) const {
    using kv::headless::RunError;
    if (!before_) throw RunError("the trace has no state from before Tick " + std::to_string(tick));
    tagMas replay = *before_;
    double forces[3];
    double torque;
    replay.CalculMas(alim.amplitude, alim.phase, frein.couple, forces, &torque);
    const bool same = same_bits(replay.theta, Mas.theta) && same_bits(replay.omega, Mas.omega) &&
                      same_bits(replay.i1, Mas.i1) && same_bits(replay.i2, Mas.i2) &&
                      same_bits(replay.i3, Mas.i3) && same_bits(replay.phi1, Mas.phi1) &&
                      same_bits(replay.phi2, Mas.phi2) && same_bits(replay.phi3, Mas.phi3) &&
                      same_bits(torque, courbe.last_torque);
    if (!same) {
        throw RunError("the trace cannot follow the model at Tick " + std::to_string(tick) +
                       ": its replayed step differs from the program's");
    }

    const double speed_over_sync = Mas.omega / kv::tools::SynchronousOmega();
    return TraceSample{tick,
                       {static_cast<double>(tick) * kSecondsPerTick, alim.phase, Mas.theta,
                        Mas.omega, speed_over_sync, 1.0 - speed_over_sync, courbe.last_torque,
                        frein.couple, forces[0], forces[1], forces[2], Mas.i1, Mas.i2, Mas.i3,
                        Mas.phi1, Mas.phi2, Mas.phi3}};
}

std::string TraceRow(const TraceSample& sample) {
    std::string row = std::to_string(sample.tick);
    for (const double v : sample.values)
        append(row, v);
    return row;
}
