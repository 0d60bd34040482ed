// Numbers that documents quote from the program's runs. A quoted number is written
// VALUE<!--kv:NAME--> (the marker does not show in rendered Markdown) and must be the measurement
// NAME rounded to the decimals written; a decimal comma counts as a point.
#pragma once

#include <map>
#include <string>

namespace kvtest {

// A number of a `state` line: the value after "KEY":.
double Field(const std::string& state, const std::string& key);

// Checks every quoted number of `doc` (a path below the source folder) against `measured`: each
// must equal its measurement as written, each name must be measured, and each measurement must be
// quoted at least once. Only the names that begin with `prefix` are looked at. Failures are
// reported as test failures.
void CheckQuoted(const std::string& doc, const std::map<std::string, double>& measured,
                 const std::string& prefix = "");

} // namespace kvtest
