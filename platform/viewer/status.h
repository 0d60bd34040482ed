// How the viewer stands: what the desktop's badge says, what the toolbars show.
#pragma once

#include "viewer/actions.h"

#include <optional>
#include <string>

namespace kv::viewer {

struct Status {
    bool paused = false;
    bool recording = false;
    bool readout = false;
    bool layer = false; // the program's layer over the picture
    bool sound = false;
    bool help = false;                // the list of keys
    bool panel = false;               // the program's panel, where the viewer shows it
    std::optional<std::string> clock; // "PAUSE", "x1/4" ... "x8"; none at x1
    std::string message;              // a saved file, or what went wrong, for a few seconds

    // The badge: the message while there is one, else "REC" and the clock's.
    std::optional<std::string> badge() const;
    // Whether a toggle is on (none: no toggle), and whether an action can act now.
    std::optional<bool> on(Action action) const;
    bool enabled(Action action) const { return action != Action::Step || paused; }
};

} // namespace kv::viewer
