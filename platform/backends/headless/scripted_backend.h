// A backend that plays a script in virtual time, for tests and recordings. Nothing here sleeps or
// reads the wall clock: each `tick` moves the clock on to the application's next timer, one
// period as SetTimer set it.
//
// The window manager calls wait() only when the application is idle (every queued message,
// paint included, has been handled), so wait() is where the script moves on: it runs commands
// until one of them hands input or a tick back to the application.
#pragma once

#include "backends/headless/script.h"
#include "user/backend.h"
#include "user/tick_hooks.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kv::image {
class GifWriter;
class OutputFile;
} // namespace kv::image

namespace kv::headless {

// What the runner prints and writes; each may be left empty.
struct ScriptOutput {
    std::ostream* out = nullptr;        // `pixel` and `state` lines
    std::ostream* err = nullptr;        // message boxes
    std::function<std::string()> state; // the line `state` prints
    // `trace`: the file's first line, then after each Tick the line for it, in the French
    // convention when the command asks for it.
    std::function<std::string(bool french)> trace_header{};
    std::function<std::string(bool french)> trace_row{};
    // After each Tick of a `tick` or `record` command: Ticks done of the command's total (first
    // called with 0 before the first Tick, last with done == total).
    std::function<void(std::int64_t done, std::int64_t total)> progress{};
    // `lab`: one command's settings, in order, between two Ticks. Returns what is wrong, or an
    // empty string.
    std::function<std::string(const std::vector<Command::Setting>&)> lab{};
    // `record`: the text of the GIF's comment, or an empty string for none.
    std::function<std::string()> recording_comment{};
};

class ScriptedBackend final : public Backend {
  public:
    ScriptedBackend(std::vector<Command> script, ScriptOutput output, TickHooks hooks = {});
    ~ScriptedBackend() override;
    ScriptedBackend(const ScriptedBackend&) = delete;
    ScriptedBackend& operator=(const ScriptedBackend&) = delete;

    // open_window will then fail, giving `why` as the reason.
    void set_window_creation_failure(std::string why);

    // The window as opened (later resizes come from the script, not from here).
    const std::string& window_title() const { return title_; }
    int window_width() const { return width_; }
    int window_height() const { return height_; }
    bool window_open() const { return open_; }

    bool open_window(const std::string& title, int client_width, int client_height,
                     std::string& why) override;
    void close_window() override;
    std::uint64_t now_ms() override { return now_ms_; }
    void poll(std::vector<InputEvent>& out) override;
    void wait(std::optional<std::uint64_t> deadline_ms, std::vector<InputEvent>& out) override;
    void present(const Framebuffer& fb, const Region& changed) override;
    void message_box(const std::string& caption, const std::string& text, unsigned type) override;
    void timer_delivered(std::uint64_t now_ms, std::uint64_t period_ms) override;

  private:
    // Runs one command; true when it gave the application something to handle.
    bool play(const Command& command, std::optional<std::uint64_t> deadline_ms,
              std::vector<InputEvent>& out);
    // `tick` and `record`: one Tick handed out (the clock moved on to `deadline_ms`, when the
    // application's timer is due), or the command's end.
    bool play_ticks(const Command& command, std::optional<std::uint64_t> deadline_ms);
    // The application has handled the Tick handed out last: its trace row, its frame.
    void after_tick();
    void start_trace(const Command& command);
    void stop_trace();
    void set_lab(const Command& command);
    void print_pixel(const Command& command);
    void print_state(const Command& command);

    std::vector<Command> script_;
    ScriptOutput output_;
    TickHooks hooks_;
    std::optional<std::string> creation_failure_;
    std::string title_;
    int width_ = 0;
    int height_ = 0;
    bool open_ = false;

    std::size_t next_ = 0;        // the command playing or next to play
    std::int64_t ticks_done_ = 0; // of the current `tick` command
    bool close_sent_ = false;
    std::uint64_t now_ms_ = 0;
    std::uint64_t period_ms_ = 0; // of the timer behind the last Tick
    const Framebuffer* presented_ = nullptr;
    bool tick_pending_ = false; // a Tick was handed out and has not been seen through after_tick

    struct Trace {
        std::unique_ptr<image::OutputFile> file;
        int line = 0; // of the `trace` command
        bool french = false;
    };
    std::optional<Trace> trace_;
    std::unique_ptr<image::GifWriter> recording_; // while a `record` plays
};

} // namespace kv::headless
