// What a program gives the viewer that shows it: its table of actions, what the viewer's boxes,
// layer and sound show of it, its hooks around the Ticks and between them, the parts of its
// picture the keyboard reaches, and the names of its captures. All of it optional: a program that
// gives nothing gets the viewer's own actions over its bare picture.
#pragma once

#include "image/output_file.h"
#include "user/tick_hooks.h"
#include "viewer/actions.h"
#include "viewer/boxes.h"
#include "viewer/hum.h"
#include "viewer/layer.h"
#include "viewer/own_actions.h"
#include "viewer/rows_panel.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kv::viewer {

// A part of the picture the keyboard reaches: a click in its middle acts on it.
struct FocusRegion {
    Text name;
    Rect rect; // client pixels
};

// What the program's layer over the picture is asked for: what goes with the readout while the
// readout shows, and what the layer's own action shows while that is on.
struct LayerWanted {
    bool with_readout = false;
    bool on = false;
};

struct Program {
    std::string file_stem = "capture"; // captures are STEM-date-time.png, .gif, .csv
    TickHooks ticks = {};
    // Ctrl E: the run's data so far, to `out`. Throws std::exception saying why not.
    std::function<void(image::Output& out)> write_data = {};
    // Key I: asked again after every Tick while the readout shows.
    std::function<std::string()> readout_title = {};
    // Given the clock's pace against the program's own: 0.25 at x1/4, 8 at x8.
    std::function<std::vector<BoxRow>(double pace)> readout = {};
    // Over the picture. Asked after every Tick, every action and every slice of work between
    // Ticks; gives a new layer, or none while the one shown still holds.
    std::function<std::optional<Layer>(const LayerWanted& wanted)> layer = {};
    // Work done between Ticks a slice at a time (what the layer will show): it goes on while
    // `time_left()`, and says whether some remains. Asked again after every Tick and action.
    std::function<bool(const std::function<bool()>& time_left)> between_ticks = {};
    // The program asks for its picture's next language or look, keeping the run; next_language
    // answers with the language asked for. Unset, the actions do nothing.
    std::function<Lang()> next_language = {};
    std::function<void()> next_look = {};
    // Key M: the two frequencies the sound plays, asked after every Tick while it is on; none
    // while there is nothing to hear. Unset, the sound is silent.
    std::function<std::optional<Hum>()> hum = {};
    Lang language = Lang::En; // of the viewer's own texts
    // The parts of the picture Tab goes through, in its order; the focus starts on the first.
    std::vector<FocusRegion> focus_regions = {};
    // The panel over the picture; or, where the program shows its panel itself (beside the
    // picture, in a page), open_panel.
    PanelRows panel = {};
    std::function<void()> open_panel = {};
    // Ctrl R: what a recording says it was made with (its comment extension); unset, nothing.
    std::function<std::string()> recording_comment = {};
    // The list of keys' title begins with it.
    std::string name = {};
    // The table of actions, in the order the list of keys and the page's toolbar show them.
    std::span<const ActionInfo> actions = own_actions();
};

} // namespace kv::viewer
