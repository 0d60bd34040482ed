// The keyboard's way into the picture: a ring over one of the parts the program names (Tab and
// Shift Tab move it), and a press and release in its middle (Enter, Shift Enter), handed over with
// the screen's input as a mouse makes them.
#pragma once

#include "viewer/actions.h"
#include "viewer/program.h"
#include "viewer/screen.h"

#include <cstddef>
#include <vector>

namespace kv::viewer {

class FocusRing {
  public:
    FocusRing(Screen& screen, const Program& program) : screen_(screen), program_(program) {}

    // FocusNext, FocusPrevious, FocusClick, FocusRightClick; false when the focus leaves the
    // picture past its end.
    bool act(Action action);
    // The keyboard's focus comes to the picture: onto its first part, or its last one when it
    // comes backwards (Shift Tab); or it leaves it.
    void focus_in(bool backwards);
    void focus_out();
    bool shown() const { return ring_; }
    // The ring again, named in the viewer's language of the moment.
    void show();
    // The clicks made since the last call, appended to `out`; false when there were none.
    bool take_clicks(std::vector<InputEvent>& out);

  private:
    // Tab, Shift Tab: the ring on the next part (shown first where the focus stands); false when
    // the focus leaves the picture past its end.
    bool move(bool forward);
    void click(InputEvent::Button button);

    Screen& screen_;
    const Program& program_;
    std::size_t focus_ = 0;          // of program_.focus_regions
    bool ring_ = false;              // the ring shows
    std::vector<InputEvent> clicks_; // made by keys, handed over with the screen's input
};

} // namespace kv::viewer
