// The laboratory panel over the picture: the program's settings, a row each, one of them chosen.
// Up and Down choose a row, Left and Right (or - and +) change its value, Escape closes it. The
// viewer knows no setting: the rows and what a step does are the program's.
#pragma once

#include "viewer/actions.h"
#include "viewer/screen.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kv::viewer {

// What the program gives for the panel.
struct LabRows {
    std::function<std::string(Lang)> title;              // ISO 8859-1
    std::function<std::vector<BoxRow>(Lang)> rows;       // a row a setting, as they stand now
    std::function<bool(std::size_t row, int step)> step; // -1 or +1; false: at its end already
    explicit operator bool() const { return rows && step; }
};

class LabPanel {
  public:
    void toggle() { shown_ = !shown_; }
    // Takes a key while the panel shows (Ctrl and Alt chords never); false: not the panel's.
    bool key(const KeyPress& press, const LabRows& lab, Lang lang);
    // The box: its rows with the chosen one marked, then the keys; empty while hidden.
    Box box(const LabRows& lab, Lang lang) const;

  private:
    bool shown_ = false;
    std::size_t chosen_ = 0;
};

} // namespace kv::viewer
