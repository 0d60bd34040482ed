// The window's toolbar: a button for each row of the program's table that has one, in the table's
// order, labelled in the viewer's language, showing how it stands (Reprendre while paused, a
// toggle that is on, Step greyed out while the clock runs). Drawn in the boxes' colours with the
// built-in font, beside the picture and never in it; where the buttons lie is the screen's.
#pragma once

#include "core/framebuffer.h"
#include "viewer/actions.h"
#include "viewer/status.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kv::viewer {

struct ToolbarButton {
    Action action = Action::TogglePause;
    std::string label; // ISO 8859-1, as it shows now
    int width = 0;     // its widest label, on or off, in either language: it never moves another
    bool on = false;   // a toggle without a label of its own for "on" (the readout, the sound)
    bool enabled = true;
    bool operator==(const ToolbarButton&) const = default;
};

inline constexpr int kButtonHeight = 24;
inline constexpr Color kButtonOn = rgb(27, 94, 32);          // the page's pressed buttons' green
inline constexpr Color kButtonDisabled = rgb(128, 128, 128); // a disabled button's text

std::vector<ToolbarButton> toolbar_buttons(std::span<const ActionInfo> table, Lang lang,
                                           const Status& status);
// The button, its label in the middle, `button.width` x kButtonHeight.
Framebuffer render_button(const ToolbarButton& button);

} // namespace kv::viewer
