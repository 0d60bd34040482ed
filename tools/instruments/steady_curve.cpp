#include "tools/instruments/steady_curve.h"

#include "model/mas.h"
#include "tools/instruments/synchronous_speed.h"

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

} // namespace

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

namespace {

// The useful torque, or the electromagnetic one, in the motor's own direction, whichever way the
// field turns.
double Valued(const SteadyPoint& p, bool electromagnetic, double sync) {
    const double torque = electromagnetic ? p.em_torque : p.torque;
    return sync < 0 ? torque : -torque;
}

} // namespace

bool SameSteadyCurve(const tagLabo& a, const tagLabo& b) {
    return a.ordre_inverse == b.ordre_inverse && a.ligne_ouverte == b.ligne_ouverte &&
           a.frequence == b.frequence && a.tension == b.tension && a.resistance == b.resistance;
}

SteadyPoint HeldSpeedPoint(const tagLabo& settings, double slip) {
    HeldRotor rotor(settings);
    return rotor.Measure(slip, SettlingTicks(settings, 1e-7));
}

// Golden-section search for the largest value between two slips, each point measured from the
// rotor as the grid left it near there: two points, then one a round.
struct SteadyCurveMeasurement::Search {
    static constexpr double kRatio = 0.6180339887498949;
    static constexpr int kRounds = 16;
    HeldRotor near;
    bool electromagnetic = false;
    double a = 0;
    double b = 0;
    SteadyPoint c;
    SteadyPoint d;
    SteadyPoint best; // the grid's
    int measured = 0;
};

SteadyCurveMeasurement::SteadyCurveMeasurement(const tagLabo& settings) : settings_(settings) {
    for (int k = -5; k < 0; ++k)
        slips_.push_back(0.01 * k);
    constexpr int kSteps = 100;
    for (int k = 0; k <= kSteps; ++k) {
        const double t = static_cast<double>(k) / kSteps;
        slips_.push_back(t * t);
    }
    rotor_ = std::make_unique<HeldRotor>(settings);
    curve_.sync_omega = rotor_->sync();
    settle_ = SettlingTicks(settings, 1e-4);
}

SteadyCurveMeasurement::~SteadyCurveMeasurement() = default;

bool SteadyCurveMeasurement::Step() {
    const std::size_t k = curve_.points.size();
    if (k < slips_.size()) {
        // The first point starts from rest; each next one from the last, a small change.
        curve_.points.push_back(
            rotor_->Measure(slips_[k], k == 0 ? SettlingTicks(settings_, 1e-7) : settle_));
        states_.push_back(*rotor_);
        if (curve_.points.size() == slips_.size()) StartSearch(false);
        return true;
    }
    if (!search_) return false;
    Search& s = *search_;
    const auto measure = [&](double slip) {
        HeldRotor rotor = s.near;
        return rotor.Measure(slip, settle_);
    };
    const auto value = [&](const SteadyPoint& p) {
        return Valued(p, s.electromagnetic, curve_.sync_omega);
    };
    if (s.measured == 0) {
        s.c = measure(s.b - Search::kRatio * (s.b - s.a));
    } else if (s.measured == 1) {
        s.d = measure(s.a + Search::kRatio * (s.b - s.a));
    } else if (value(s.c) > value(s.d)) {
        s.b = s.d.slip;
        s.d = s.c;
        s.c = measure(s.b - Search::kRatio * (s.b - s.a));
    } else {
        s.a = s.c.slip;
        s.c = s.d;
        s.d = measure(s.a + Search::kRatio * (s.b - s.a));
    }
    if (++s.measured < 2 + Search::kRounds) return true;
    const SteadyPoint peak = value(s.c) > value(s.d) ? s.c : s.d;
    EndSearch(value(peak) > value(s.best) ? peak : s.best);
    return true;
}

void SteadyCurveMeasurement::StartSearch(bool electromagnetic) {
    const auto value = [&](const SteadyPoint& p) {
        return Valued(p, electromagnetic, curve_.sync_omega);
    };
    const auto best = std::max_element(
        curve_.points.begin(), curve_.points.end(),
        [&](const SteadyPoint& a, const SteadyPoint& b) { return value(a) < value(b); });
    const auto at = static_cast<std::size_t>(best - curve_.points.begin());
    search_ = std::make_unique<Search>(Search{states_[at], electromagnetic, 0, 0, {}, {}, *best});
    // At the grid's ends there is nothing to search between.
    if (at == 0 || at + 1 == curve_.points.size()) {
        EndSearch(*best);
        return;
    }
    search_->a = curve_.points[at - 1].slip;
    search_->b = curve_.points[at + 1].slip;
}

void SteadyCurveMeasurement::EndSearch(const SteadyPoint& peak) {
    const bool electromagnetic = search_->electromagnetic;
    search_.reset();
    if (!electromagnetic) {
        curve_.pull_out = peak;
        StartSearch(true);
        return;
    }
    curve_.em_pull_out = peak;
    for (SteadyPoint& p : curve_.points)
        p.stable = p.slip <= curve_.pull_out.slip;
    curve_.pull_out.stable = true;
    curve_.em_pull_out.stable = curve_.em_pull_out.slip <= curve_.pull_out.slip;
}

SteadyCurve ComputeSteadyCurve(const tagLabo& settings) {
    SteadyCurveMeasurement measurement(settings);
    while (measurement.Step()) {
    }
    return measurement.Curve();
}
