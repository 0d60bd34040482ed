// KORVELINE's table of actions, as the viewer takes it: the viewer's own rows, with the program's
// words where a row shows the motor, and the program's rows (the steady curve, the language, the
// look, the laboratory). The desktop's keys and help box, korveline --help, the page's keys,
// toolbar and help come from it; tests hold the README and the manual page to it.
#pragma once

#include "viewer/actions.h"

#include <span>

namespace kv::tools {

std::span<const viewer::ActionInfo> ActionTable();

} // namespace kv::tools
