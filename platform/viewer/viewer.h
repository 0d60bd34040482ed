// The one viewer every window shares: the backend the window manager talks to on the desktop and
// in the page. It keeps the clock the application sees (pause, single step, slow and fast motion),
// carries out the actions of viewer/actions.h, lays its boxes over the picture and makes the
// captures (PNG, GIF, CSV). What is the window system's own (events, pixels, zoom, where files
// go) it leaves to its Screen.
#pragma once

#include "image/gif_writer.h"
#include "viewer/clock.h"
#include "viewer/hum.h"
#include "viewer/lab_panel.h"
#include "viewer/screen.h"
#include "user/tick_hooks.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv::viewer {

// A part of the picture the keyboard reaches: a click in its middle acts on it.
struct FocusRegion {
    Text name;
    Rect rect; // client pixels
};

// What the layer over the picture shows.
struct LayerWanted {
    bool scales = false;       // the plot's scales, with the readout
    bool steady_curve = false; // the steady torque/speed curve
};

// What the program adds: it hears of the Ticks, and gives the run's data and the readout's rows.
struct Tools {
    std::string file_stem = "capture"; // captures are STEM-date-time.png, .gif, .csv
    TickHooks ticks;
    // Ctrl E: the run's data so far, to `out`. Throws std::exception saying why not.
    std::function<void(image::Output& out)> write_data;
    // Key I: asked again after every Tick while the readout shows.
    std::function<std::string()> readout_title;
    // Given the clock's pace against the program's own: 0.25 at x1/4, 8 at x8.
    std::function<std::vector<BoxRow>(double pace)> readout;
    // Over the plot: its scales while the readout shows, the steady curve while its action is on.
    // Asked after every Tick, every action and every slice of work between Ticks; gives a new
    // layer, or none while the one shown still holds.
    std::function<std::optional<Layer>(const LayerWanted& wanted)> layer = {};
    // Work done between Ticks a slice at a time (a steady curve measured): it goes on while
    // `time_left()`, and says whether some remains. Asked again after every Tick and action.
    std::function<bool(const std::function<bool()>& time_left)> between_ticks = {};
    // Keys L and A: the program asks for the picture's next language or look, keeping the run;
    // next_language answers with the language asked for. Unset, the keys do nothing.
    std::function<Lang()> next_language = {};
    std::function<void()> next_look = {};
    // Key M: the two frequencies the sound plays, asked after every Tick while it is on; none
    // while there is nothing to hear. Unset, the sound is silent.
    std::function<std::optional<Hum>()> hum = {};
    Lang language = Lang::En; // of the viewer's own texts
    // The parts of the picture Tab goes through, in its order; the focus starts on the first.
    std::vector<FocusRegion> focus_regions = {};
    // Key F2: the laboratory panel over the picture; or, where the program shows its settings
    // itself (the page's Lab panel), open_lab.
    LabRows lab = {};
    std::function<void()> open_lab = {};
    // Ctrl R: what a recording says it was made with (its comment extension); unset, nothing.
    std::function<std::string()> recording_comment = {};
};

class Viewer final : public Backend {
  public:
    Viewer(Screen& screen, Tools tools);

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

    // Carries out an action; false when it let the keyboard's focus leave the picture.
    bool act(Action action);
    // A key for the laboratory panel while it shows; false when the panel does not take it.
    bool panel_key(const KeyPress& press);
    // The keyboard's focus comes to the picture: onto its first part, or its last one when it
    // comes backwards (Shift Tab); or it leaves it.
    void focus_in(bool backwards);
    void focus_out();
    // The viewer's own texts in `lang`, chosen elsewhere than by its key (the page's buttons).
    void set_language(Lang lang);

  private:
    // Tab, Shift Tab: the ring on the next part (shown first where the focus stands); false when
    // the focus leaves the picture past its end.
    bool move_focus(bool forward);
    // A press and release in the middle of the focused part, as a mouse makes them.
    void click_focused(InputEvent::Button button);
    void show_focus();
    void take_clicks(std::vector<InputEvent>& out);
    // The Tick handed out last has run: the program's hook, a frame, the readout.
    void finish_tick();
    void show_readout();
    void show_layer();
    // A slice of the work between Ticks, when some is left and `until` leaves time for it;
    // returns the wall time to wait until.
    std::optional<std::uint64_t> work_between_ticks(std::optional<std::uint64_t> until);
    void show_lab();
    // The list of keys (F1), in the viewer's language, or none.
    void show_help();
    void update_status();
    // The badge shows `message` for a few seconds.
    void say(const std::string& message);
    // Makes a capture (`capture` returns where it went) and tells where, or why not.
    template <class Capture> void tell(const Capture& capture);
    void start_recording();
    // Key M opens or closes the screen's sound; while it is on, the tones follow every Tick and
    // the pause.
    void toggle_sound();
    Tones hum_tones() const;
    void play_sound();
    // A GIF frame shows for the period of the application's timer, in 1/100 s.
    int frame_delay_cs() const { return static_cast<int>((period_ms_ + 5) / 10); }

    Screen& screen_;
    Tools tools_;
    ViewerClock clock_;
    Status status_;
    bool help_ = false;
    LabPanel lab_;
    const Framebuffer* fb_ = nullptr; // the window manager's, while the window is open
    std::unique_ptr<image::GifWriter> recording_;
    bool tick_running_ = false;
    bool work_left_ = false;             // between Ticks
    std::uint64_t period_ms_ = 0;        // of the timer behind the last Tick
    std::uint64_t message_until_ms_ = 0; // wall clock
    std::size_t focus_ = 0;              // of tools_.focus_regions
    bool ring_ = false;                  // the focus ring shows
    std::vector<InputEvent> clicks_;     // made by keys, handed over with the screen's input
    bool sound_ = false;
    bool readout_stale_ = false;       // a Tick ran since the readout last showed
    std::uint64_t readout_due_ms_ = 0; // wall clock: when it may show again
    Tones tones_;                      // playing while sound_
};

} // namespace kv::viewer
