// Numbers that documents quote from the program's runs. A quoted number is written
// VALUE<!--kv:NAME--> (the marker does not show in rendered Markdown) and must be the measurement
// NAME rounded to the decimals written; a decimal comma counts as a point, and thousands may be
// grouped by a narrow no-break space.
#pragma once

#include "model/labo.h"
#include "model/caracteristique.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace kvtest {

// A number of a `state` line: the value after "KEY":.
double Field(const std::string& state, const std::string& key);

// Checks every quoted number of `doc` (a path below the source folder) against `measured`: each
// must equal its measurement as written, each name must be measured, and each measurement must be
// quoted at least once. Only the names that begin with `prefix` are looked at. Failures are
// reported as test failures.
void CheckQuoted(const std::string& doc, const std::map<std::string, double>& measured,
                 const std::string& prefix = "");

// One row of a `trace` CSV: the columns the documents' numbers use. Speeds and torques are signed
// in the direction the field turns, whichever order the phases have.
struct TraceRow {
    double tick;
    double phase;
    double speed; // rad per Tick, positive in the driving direction
    double slip;
    double torque; // useful torque
    double brake;
    double electromagnetic; // the three turns' forces summed: useful torque plus friction
    double rotor_current;   // a turn's peak current, sqrt(2/3 of the sum of the squares)
    double largest_current; // the largest of the three turns' currents at this Tick, in magnitude
    double load;            // the brake's torque under its law
    double rpm;
    double rotor_hz;
    // The power balance, model units per second.
    double air_gap;
    double copper;
    double mechanical;
    double friction;
    // The start's step (1 the first, 0 once over) and the voltage the starter applies, % of the
    // setting's.
    double start_stage;
    double applied_voltage;
};

std::vector<TraceRow> ReadTrace(const std::string& path);

// A steady operating point no longer moves: over the 400 Ticks (20 s) up to `rows[at]` its slip
// changed by less than 1e-5 (0.001 %), and the useful torque meets the load within 1e-3. With
// `average` > 1, slip and torque are means over the `average` rows up to each end, for a motor
// whose torque pulsates (a line open).
void ExpectSteady(const std::vector<TraceRow>& rows, std::size_t at, const std::string& what,
                  std::size_t average = 1);

// The mean of `field` over the `count` rows up to and including `rows[at]`.
double MeanOver(const std::vector<TraceRow>& rows, std::size_t at, std::size_t count,
                double TraceRow::*field);

// Laboratory settings as `lab` takes them ("open=1 frequency=50"), and the steady curve at held
// speeds the viewer draws for them.
tagLabo LabFor(const std::string& pairs);
tagCaracteristique CurveFor(const std::string& pairs);

} // namespace kvtest
