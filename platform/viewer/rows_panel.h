// The program's panel over the picture: rows the program gives (its settings, say), one of them
// chosen. Up and Down choose a row, Left and Right (or - and +) step it, Escape closes the panel;
// a click on a row chooses it, and steps it where the screen says (its value's < and >).
// The viewer knows nothing of what a row holds: the rows and what a step does are the program's.
#pragma once

#include "viewer/actions.h"
#include "viewer/boxes.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kv::viewer {

// What the program gives for the panel.
struct PanelRows {
    std::function<std::string(Lang)> title;              // ISO 8859-1
    std::function<std::vector<BoxRow>(Lang)> rows;       // as they stand now
    std::function<bool(std::size_t row, int step)> step; // -1 or +1; false: at its end already
    explicit operator bool() const { return rows && step; }
};

class RowsPanel {
  public:
    bool shown() const { return shown_; }
    void toggle() { shown_ = !shown_; }
    // Takes a key while the panel shows (Ctrl and Alt chords never); false: not the panel's.
    bool key(const KeyPress& press, const PanelRows& panel, Lang lang);
    // A click on row `row` of the box: chooses it, and steps it by `step` (-1, +1; 0: no step);
    // false when the panel does not show or has no such row (the keys' rows).
    bool click(std::size_t row, int step, const PanelRows& panel, Lang lang);
    // The box: its rows with the chosen one marked, then the keys; empty while hidden.
    Box box(const PanelRows& panel, Lang lang) const;

  private:
    bool shown_ = false;
    std::size_t chosen_ = 0;
};

} // namespace kv::viewer
