// Commands written back as script text, each on the line it came from.
#pragma once

#include "backends/headless/script.h"

#include <string>
#include <vector>

namespace kvfuzz {

// Reads back through parse_script as the same commands, line numbers included.
std::string script_text(const std::vector<kv::headless::Command>& commands);

} // namespace kvfuzz
