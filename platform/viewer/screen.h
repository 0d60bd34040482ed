// What the viewer asks of a window system (the SDL window, the page's canvas): the backend
// contract on the wall clock (now_ms() is wall time; wait() blocks until input arrives or the wall
// clock reaches its deadline), and what only a screen can do: show the viewer's boxes and status,
// zoom, and put a capture where the user finds it.
#pragma once

#include "image/output_file.h"
#include "user/backend.h"
#include "viewer/actions.h"
#include "viewer/boxes.h"
#include "viewer/hum.h"
#include "viewer/layer.h"
#include "viewer/status.h"
#include "viewer/toolbar.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kv::viewer {

// The viewer's boxes over the picture, from the bottom one up.
enum class Slot { Readout, Help, Panel };

class Viewer;

class Screen : public Backend {
  public:
    // Where the screen's keys and buttons send the viewer's actions.
    void connect(Viewer& viewer) { viewer_ = &viewer; }

    // A box appears, changes or goes (empty).
    virtual void show(Slot slot, const Box& box) = 0;
    virtual void show_status(const Status& status) = 0;
    // The toolbar's buttons, from the first call on (before the window opens, so that it opens
    // with room for them); a screen whose page has a toolbar of its own ignores them.
    virtual void show_toolbar(const std::vector<ToolbarButton>& /*buttons*/) {}
    // The layer over the picture appears, changes or goes (empty).
    virtual void show_layer(const Layer& layer) = 0;
    // ZoomIn, ZoomOut, ZoomReset, ToggleFullscreen.
    virtual void zoom(Action action) = 0;
    // The picture as PNG, and a new capture (GIF, CSV), named after `stem`; where it goes is
    // the screen's. save_picture returns where it went ("": nothing to say), or throws
    // std::exception saying why not.
    virtual std::string save_picture(const Framebuffer& fb, const std::string& stem) = 0;
    virtual std::unique_ptr<image::Output> new_capture(const std::string& stem,
                                                       const std::string& extension) = 0;
    // The keyboard's focus ring around this client rectangle (over the picture, never in it), or
    // none.
    virtual void show_focus(const std::optional<Rect>& around) = 0;
    // The ringed part's name in the viewer's language (UTF-8; empty: no ring), for a screen reader.
    virtual void name_focus(const std::string& /*name*/) {}
    // Whether Tab past the picture's last part moves the keyboard on to other controls (the
    // page's); if not (the desktop window has none), it comes round to the first part again: a
    // ring gone nowhere would leave its user lost.
    virtual bool focus_moves_on() const { return false; }
    // While Ticks run, the readout is shown again at most this often (0: after every Tick); the
    // last one always shows once they stop.
    virtual std::uint64_t readout_every_ms() const { return 0; }
    // Sound: the first call opens the screen's sound, then each plays `tones` from now on, with
    // no click between them; none closes it. False, saying why, when there is no sound to open.
    virtual bool sound(const std::optional<Tones>& tones, std::string& why) {
        why = "no sound here";
        return !tones;
    }

    // What the screen's keys and buttons ask for; false when the keyboard's focus leaves the
    // picture (the screen then lets it go on).
    bool act(Action action) const;
    // A key the program's panel takes while it shows (before the table's actions); false: not
    // taken.
    bool panel_key(const KeyPress& press) const;
    // A click on row `row` of the program's panel (counted as its box shows them): chooses it,
    // and steps it by `step` (-1, +1; 0: no step).
    void panel_click(std::size_t row, int step) const;
    // The program's table of actions, and the action of a key press in it (none: not the viewer's).
    std::span<const ActionInfo> actions() const;
    std::optional<Action> action_for_key(const KeyPress& press) const;
    // The keyboard's focus comes to the picture (backwards: by Shift Tab), or leaves it.
    void focus_in(bool backwards) const;
    void focus_out() const;
    // The viewer's own texts (the list of keys) in `lang`, as the screen's language control chose.
    void language(Lang lang) const;

  private:
    Viewer* viewer_ = nullptr;
};

} // namespace kv::viewer
