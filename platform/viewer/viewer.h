// The one viewer every window shares: the backend the window manager talks to on the desktop and
// in the page. It keeps the clock the application sees (pause, single step, slow and fast motion)
// and carries out the actions of the program's table, each by the part whose job it is: the
// readout and the program's layer and panel over the picture, the captures (PNG, GIF, CSV), the
// sound, the focus ring. What is the window system's own (events, pixels, zoom, where files go)
// it leaves to its Screen.
#pragma once

#include "viewer/captures.h"
#include "viewer/clock.h"
#include "viewer/focus_ring.h"
#include "viewer/layer_work.h"
#include "viewer/program.h"
#include "viewer/readout_box.h"
#include "viewer/rows_panel.h"
#include "viewer/screen.h"
#include "viewer/sound.h"
#include "viewer/toolbar.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kv::viewer {

class Viewer final : public Backend {
  public:
    Viewer(Screen& screen, Program program);
    // Its parts keep references to the program it holds.
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    bool open_window(const std::string& title, int client_width, int client_height,
                     std::string& why) override;
    void close_window() override;
    std::uint64_t now_ms() override { return clock_.now(screen_.now_ms()); }
    void poll(std::vector<InputEvent>& out) override;
    void wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) override;
    void present(const Framebuffer& fb, const Region& changed) override;
    void message_box(const std::string& caption, const std::string& text, unsigned type) override {
        screen_.message_box(caption, text, type);
    }
    bool timers_run() override { return clock_.ticks_run(); }
    void timer_delivered(std::uint64_t now_ms, std::uint64_t period_ms) override;

    std::span<const ActionInfo> actions() const { return program_.actions; }
    // Carries out an action; false when it let the keyboard's focus leave the picture.
    bool act(Action action);
    // A key for the program's panel while it shows; false when the panel does not take it.
    bool panel_key(const KeyPress& press);
    // A click on row `row` of the panel: chooses it and steps it by `step` (-1, +1; 0: no step).
    void panel_click(std::size_t row, int step);
    // The keyboard's focus comes to the picture: onto its first part, or its last one when it
    // comes backwards (Shift Tab); or it leaves it.
    void focus_in(bool backwards) { focus_.focus_in(backwards); }
    void focus_out() { focus_.focus_out(); }
    // The viewer's own texts in `lang`, chosen elsewhere than by its key (the page's buttons).
    void set_language(Lang lang);

  private:
    // The Tick handed out last has run: the program's hook, then what follows each Tick.
    void finish_tick();
    // Whether the application's next Tick may run now: a step asked for, the rest of a fast
    // period's Ticks, or its deadline reached on the wall clock.
    bool tick_due(std::optional<std::uint64_t> deadline_ms, std::uint64_t wall);
    // The wall time to wait until for the Tick at `deadline_ms` (none: for input alone), brought
    // forward for what the viewer has to do before: a readout, a message to take away, a slice
    // of work between Ticks.
    std::optional<std::uint64_t> wake_time(std::optional<std::uint64_t> deadline_ms,
                                           std::uint64_t wall);
    void act_on_clock(Action action);
    // What shows over the picture (the readout, the layer, the list of keys, the panel) and how
    // large the picture is.
    void act_over_picture(Action action);
    void toggle_panel();
    void show_panel();
    // The list of keys (F1), in the viewer's language, or none.
    void show_help(bool shown);
    // The badge and the toolbar as the viewer stands.
    void update_status();
    // The badge shows `message` for a few seconds; nothing to say, nothing changes.
    void say(const std::optional<std::string>& message);
    void take_message_away(std::uint64_t wall);

    Screen& screen_;
    Program program_;
    ViewerClock clock_;
    Status status_;
    std::vector<ToolbarButton> toolbar_; // as the screen shows it
    std::uint64_t message_until_ms_ = 0; // wall clock
    bool tick_running_ = false;
    bool help_ = false;
    RowsPanel panel_;
    ReadoutBox readout_{screen_, program_, clock_};
    LayerWork layer_{screen_, program_, readout_};
    Captures captures_{screen_, program_};
    Sound sound_{screen_, program_};
    FocusRing focus_{screen_, program_};
};

} // namespace kv::viewer
