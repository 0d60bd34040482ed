// What a mouse button does in a desktop window, the same in SDL's and in Win32's: over the
// picture, it is the application's, in client pixels, as a click on its own window would be; over
// the toolbar and the laboratory panel, beside the picture, it is the viewer's, and never reaches
// the application.
#pragma once

#include "backends/desktop/presenter.h"
#include "viewer/screen.h"

#include <cstdint>
#include <vector>

namespace kv::desktop {

// A button pressed (ButtonDown) or released (ButtonUp) at window pixel (x, y): over the picture,
// the event for the application, appended to `out`; pressed with the left button over an enabled
// toolbar button, its action, and over a row of the panel, the row chosen and stepped, through
// `screen`. Anywhere else, nothing.
void mouse_button(const Presenter& presenter, const viewer::Screen& screen, InputEvent::Kind kind,
                  InputEvent::Button button, std::int64_t x, std::int64_t y,
                  std::vector<InputEvent>& out);

} // namespace kv::desktop
