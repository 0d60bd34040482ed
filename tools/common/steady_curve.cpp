#include "tools/common/steady_curve.h"

#include "model/mas.h"
#include "tools/common/synchronous_speed.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// The rotor's circuit forgets its past by a factor 1 / (1 + R) a Tick (L = h, R = 0.01 x the
// setting): what settling to `fraction` of a disturbance takes. Counted rather than taken from
// logarithms, whose tables would weigh on the page.
int SettlingTicks(const tagLabo& settings, double fraction) {
    const double factor = 1 / (1 + 0.01 * settings.resistance);
    int ticks = 0;
    double left = 1;
    while (left > fraction) {
        left *= factor;
        ++ticks;
    }
    return ticks;
}

// The model with its speed held: the brake and Newton's step have no say.
class HeldRotor {
  public:
    explicit HeldRotor(const tagLabo& settings)
        : settings_(settings), pas_phase_(settings.PasPhase(alim.phase_step)),
          sync_(kv::tools::SynchronousOmega(settings)), mas_(0.0, 0.0) {
        // Whole supply periods, at least a few hundred Ticks, for the averages.
        const double period = 2 * 3.141592653589793 / std::fabs(pas_phase_);
        const double periods = std::ceil(300 / period);
        average_ticks_ = std::max(1, static_cast<int>(std::lround(periods * period)));
    }

    // Runs `settle` Ticks at this slip, then averages over whole periods.
    SteadyPoint Measure(double slip, int settle) {
        const double omega = (1 - slip) * sync_;
        for (int n = 0; n < settle; ++n)
            Step(omega);
        double torque = 0;
        double em = 0;
        double squares = 0;
        for (int n = 0; n < average_ticks_; ++n) {
            const Forces f = Step(omega);
            torque += f.torque;
            em += f.forces[0] + f.forces[1] + f.forces[2];
            squares += mas_.i1 * mas_.i1 + mas_.i2 * mas_.i2 + mas_.i3 * mas_.i3;
        }
        SteadyPoint p;
        p.slip = slip;
        p.omega = omega;
        p.torque = torque / average_ticks_;
        p.em_torque = em / average_ticks_;
        p.rotor_current = std::sqrt(2.0 / 3.0 * squares / average_ticks_);
        return p;
    }

    double sync() const { return sync_; }

  private:
    struct Forces {
        double forces[3];
        double torque;
    };

    Forces Step(double omega) {
        Forces f{};
        phase_ = phase_ + pas_phase_;
        mas_.omega = omega;
        PasModele(mas_, settings_, kSupplyOnAmplitude, phase_, pas_phase_, 0.0, f.forces,
                  &f.torque);
        return f;
    }

    tagLabo settings_;
    double pas_phase_;
    double sync_;
    tagMas mas_;
    double phase_ = 0;
    int average_ticks_ = 1;
};

// The torque in the motor's own direction, whichever way the field turns.
double Driving(double torque, double sync) {
    return sync < 0 ? torque : -torque;
}

// Golden-section search for the largest `value` between two slips, each point measured from the
// rotor as the grid left it near there.
template <typename Value>
SteadyPoint Peak(const HeldRotor& near, double low, double high, int settle, Value value) {
    constexpr double kRatio = 0.6180339887498949;
    const auto measure = [&](double slip) {
        HeldRotor rotor = near;
        return rotor.Measure(slip, settle);
    };
    double a = low;
    double b = high;
    SteadyPoint c = measure(b - kRatio * (b - a));
    SteadyPoint d = measure(a + kRatio * (b - a));
    for (int n = 0; n < 16; ++n) {
        if (value(c) > value(d)) {
            b = d.slip;
            d = c;
            c = measure(b - kRatio * (b - a));
        } else {
            a = c.slip;
            c = d;
            d = measure(a + kRatio * (b - a));
        }
    }
    return value(c) > value(d) ? c : d;
}

} // namespace

SteadyPoint HeldSpeedPoint(const tagLabo& settings, double slip) {
    HeldRotor rotor(settings);
    return rotor.Measure(slip, SettlingTicks(settings, 1e-7));
}

SteadyCurve ComputeSteadyCurve(const tagLabo& settings) {
    std::vector<double> slips;
    for (int k = -5; k < 0; ++k)
        slips.push_back(0.01 * k);
    constexpr int kSteps = 100;
    for (int k = 0; k <= kSteps; ++k) {
        const double t = static_cast<double>(k) / kSteps;
        slips.push_back(t * t);
    }

    HeldRotor rotor(settings);
    SteadyCurve curve;
    curve.sync_omega = rotor.sync();
    // The first point starts from rest; each next one from the last, a small change.
    const int settle = SettlingTicks(settings, 1e-4);
    std::vector<HeldRotor> states;
    for (std::size_t k = 0; k < slips.size(); ++k) {
        curve.points.push_back(
            rotor.Measure(slips[k], k == 0 ? SettlingTicks(settings, 1e-7) : settle));
        states.push_back(rotor);
    }

    const auto useful = [&](const SteadyPoint& p) { return Driving(p.torque, curve.sync_omega); };
    const auto em = [&](const SteadyPoint& p) { return Driving(p.em_torque, curve.sync_omega); };
    const auto refine = [&](auto value) {
        const auto best = std::max_element(
            curve.points.begin(), curve.points.end(),
            [&](const SteadyPoint& a, const SteadyPoint& b) { return value(a) < value(b); });
        const auto at = static_cast<std::size_t>(best - curve.points.begin());
        if (at == 0 || at + 1 == curve.points.size()) return *best;
        const SteadyPoint peak =
            Peak(states[at], curve.points[at - 1].slip, curve.points[at + 1].slip, settle, value);
        return value(peak) > value(*best) ? peak : *best;
    };
    curve.pull_out = refine(useful);
    curve.em_pull_out = refine(em);
    for (SteadyPoint& p : curve.points)
        p.stable = p.slip <= curve.pull_out.slip;
    curve.pull_out.stable = true;
    curve.em_pull_out.stable = curve.em_pull_out.slip <= curve.pull_out.slip;
    return curve;
}
