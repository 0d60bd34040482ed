// korveline on a real X server for the tests: a private Xvfb, the program started on it, and
// what a user does (click, press keys, close the window) and sees (screenshots), through
// xdotool and ImageMagick's import.
#pragma once

#include "core/framebuffer.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kvtest {

struct ShellRun {
    int status = -1;
    std::string out;
};
// Runs a command through sh; its exit status and standard output.
ShellRun shell(const std::string& command);

// Whether `program` is on the PATH.
bool installed(const std::string& program);

// The program under test; KORVELINE may name another build of it.
std::string korveline_program();

// A fresh, empty directory for one test's files.
std::string scratch_dir();

std::string read_file(const std::string& path);

// A child process with its output in files. Stopped (SIGTERM, then SIGKILL) if still running at
// destruction.
class Process {
  public:
    // `environment`: "NAME=VALUE" to set, "NAME" alone to remove, on top of this process's.
    // `fd3`, when not -1, becomes the child's file descriptor 3.
    Process(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            const std::string& out_path, const std::string& err_path, int fd3 = -1);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return pid_ > 0; }
    bool running();
    // The exit code (128 + signal when killed by one), or none if still running after `within`.
    std::optional<int> wait_exit(std::chrono::milliseconds within);

  private:
    pid_t pid_ = -1;
    std::optional<int> exit_code_;
};

// Xvfb with one screen (1024 x 768 unless said), on the first free display from :90; its output
// in `dir`; `options` go on its command line (e.g. "-extension", "MIT-SHM").
// Every X tool the tests run is bounded by a timeout: a server that dies under a test (or one
// grabbed by a stuck client) fails the test instead of hanging it.
class XServer {
  public:
    explicit XServer(const std::string& dir, const std::string& screen = "1024x768",
                     const std::vector<std::string>& options = {});
    bool ok() const { return xvfb_ != nullptr; }
    const std::string& display() const { return display_; }
    const std::string& failure() const { return failure_; }

  private:
    std::unique_ptr<Process> xvfb_;
    std::string display_;
    std::string failure_;
};

// `environment` plus what makes a sanitized build ignore leaks in SDL's own libraries.
std::vector<std::string> with_leak_suppressions(std::vector<std::string> environment);

// korveline running on an X server, its window found.
class Desktop {
  public:
    Desktop(const XServer& x, const std::string& dir,
            const std::vector<std::string>& environment = {});

    bool ok() const { return !window_.empty(); }
    const std::string& window() const { return window_; }

    // xdotool with this display; its standard output.
    std::string xdotool(const std::string& arguments) const;
    // A press and release at client (x, y): 1 left, 3 right.
    void click(int x, int y, int button = 1) const;
    // xdotool key names, e.g. "space", "Right", "ctrl+plus", with the pointer in the window
    // (a bare X server gives the keyboard to the window under the pointer).
    void key(const std::string& keys) const;
    // The window's size as "WIDTHxHEIGHT".
    std::string geometry() const;
    // What the window shows on the screen (the part inside the screen).
    kv::Framebuffer screenshot() const;
    // The window's icon as the window manager reads it (_NET_WM_ICON): width, height and
    // 0xAARRGGBB pixels, the first icon only; empty when it has none.
    std::vector<std::uint32_t> icon() const;
    // Closes the window as a window manager's close button does.
    void close() const;

    std::optional<int> wait_exit(std::chrono::milliseconds within) {
        return process_->wait_exit(within);
    }
    std::string err() const { return read_file(err_path_); }

  private:
    std::string display_;
    std::string dir_;
    std::string err_path_;
    std::unique_ptr<Process> process_;
    std::string window_;
    mutable int shots_ = 0;
};

// Calls `check` on fresh screenshots until it holds or `within` has passed; the last result.
// A check that holds returns at once, so the time allowed only matters when something is wrong:
// with the suite's two jobs on a loaded machine, a screenshot of a 2560 x 1440 display and its
// comparison can take over a second each, and 3 s left one or two tries (seen to fail so).
bool eventually(const Desktop& desktop, const std::function<bool(const kv::Framebuffer&)>& check,
                std::chrono::milliseconds within = std::chrono::seconds(10));

} // namespace kvtest
