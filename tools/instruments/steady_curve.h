// The steady torque/speed curve for a set of laboratory settings, measured as on a test bench:
// the model itself run at held speeds, each until its currents have settled, the torque averaged
// over whole supply periods. It takes milliseconds: compute it when the settings change, never
// on the Tick path.
#pragma once

#include "model/labo.h"

#include <cstddef>
#include <memory>
#include <vector>

// Speeds and torques are signed as the model's. The plot (courbe) shows them in the direction the
// rotor turns: a point goes on it at (k * omega, k * torque), k = settings.SensDuTrace(omega), as
// the Tick puts the operating point there.
struct SteadyPoint {
    double slip = 0;          // 1 - speed / synchronous speed
    double omega = 0;         // radians per Tick, signed as the model's
    double torque = 0;        // useful torque, as the plot shows it: friction taken, signed as
                              // the model's (positive drives towards negative speeds)
    double em_torque = 0;     // electromagnetic torque: the forces alone, signed alike
    double rotor_current = 0; // a turn's peak current: sqrt(2/3 of the mean sum of squares)
    bool stable = false;      // on the branch where the useful torque falls as the speed rises
};

struct SteadyCurve {
    double sync_omega = 0;           // the field's speed, radians per Tick, signed
    std::vector<SteadyPoint> points; // by slip, from a little above synchronism to standstill
    SteadyPoint pull_out;            // the largest useful torque in the motor's direction
    SteadyPoint em_pull_out;         // the largest electromagnetic torque (friction apart)
};

// The supply's amplitude while switched on: the bench runs with the supply on.
inline constexpr double kSupplyOnAmplitude = 0.075;

// Whether two sets of settings give the same curve: the load law and the pole pairs reach neither
// the model's currents nor its torques at a held speed (only the brake and the rpm shown).
bool SameSteadyCurve(const tagLabo& a, const tagLabo& b);

// One point measured from scratch: the rotor held at this slip from a standing start.
SteadyPoint HeldSpeedPoint(const tagLabo& settings, double slip);

// The whole curve. Slips run from -0.05 to 1, finest near synchronism where the stable branch is
// steep; the pull-out points are searched between the grid's points.
SteadyCurve ComputeSteadyCurve(const tagLabo& settings);

class HeldRotor;

// The same, measured a point at a time, so that a window can spread it between its Ticks:
// ComputeSteadyCurve is Step() until it is done.
class SteadyCurveMeasurement {
  public:
    explicit SteadyCurveMeasurement(const tagLabo& settings);
    ~SteadyCurveMeasurement();

    // Measures one more point; false once the curve is whole.
    bool Step();
    // The curve, whole once Step() returns false.
    const SteadyCurve& Curve() const { return curve_; }
    const tagLabo& Settings() const { return settings_; }

  private:
    struct Search;
    // The search for the largest useful torque, then the largest electromagnetic one, around the
    // grid's best point.
    void StartSearch(bool electromagnetic);
    void EndSearch(const SteadyPoint& peak);

    tagLabo settings_;
    std::vector<double> slips_;
    std::unique_ptr<HeldRotor> rotor_;
    std::vector<HeldRotor> states_; // the rotor after each grid point
    int settle_ = 0;
    std::unique_ptr<Search> search_;
    SteadyCurve curve_;
};
