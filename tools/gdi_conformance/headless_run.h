// Runs the conformance program's WinMain on our layer, with the headless backend: one timer
// Tick, in which the table is drawn and dumped.
#pragma once

#include <string>

namespace gdi_conformance {

// The program's exit code (0 when the dump was written).
int RunHeadless(const std::string& dump_path);

} // namespace gdi_conformance
