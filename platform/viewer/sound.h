// Key M: the screen's sound opened or closed; while it is on, the program's two hums follow every
// Tick and the pause.
#pragma once

#include "viewer/hum.h"
#include "viewer/program.h"
#include "viewer/screen.h"

#include <optional>
#include <string>

namespace kv::viewer {

class Sound {
  public:
    Sound(Screen& screen, const Program& program) : screen_(screen), program_(program) {}

    bool on() const { return on_; }
    // On or off; what the badge says when the screen has no sound to open.
    std::optional<std::string> toggle(bool paused);
    // While on: the tones of the moment, when they changed.
    void follow(bool paused);

  private:
    Tones tones(bool paused) const;

    Screen& screen_;
    const Program& program_;
    bool on_ = false;
    Tones playing_; // while on_
};

} // namespace kv::viewer
