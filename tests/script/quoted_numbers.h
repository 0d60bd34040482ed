// Numbers that documents quote from the program's runs. A quoted number is written
// VALUE<!--kv:NAME--> (the marker does not show in rendered Markdown) and must be the measurement
// NAME rounded to the decimals written; a decimal comma counts as a point.
#pragma once

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

// One row of a `trace` CSV: the columns the documents' numbers use.
struct TraceRow {
    double tick;
    double phase;
    double speed; // rad per Tick, positive in the driving direction
    double slip;
    double torque; // useful torque
    double brake;
    double electromagnetic; // the three turns' forces summed: useful torque plus friction
};

std::vector<TraceRow> ReadTrace(const std::string& path);

// A steady operating point no longer moves: over the 400 Ticks (20 s) up to `rows[at]` its slip
// changed by less than 1e-5 (0.001 %), and the useful torque meets the brake within 1e-3.
void ExpectSteady(const std::vector<TraceRow>& rows, std::size_t at, const std::string& what);

} // namespace kvtest
