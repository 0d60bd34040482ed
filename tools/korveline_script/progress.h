// The progress bar of long runs, on a terminal only.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

// One line: "[#######-------]  33%  1234/20000 Ticks  5120 Ticks/s  0:03 left". `seconds` is
// the time spent on the `done` Ticks so far.
std::string ProgressLine(std::int64_t done, std::int64_t total, double seconds);

// Draws ProgressLine over itself on `out` while Ticks run, for runs that last long enough to
// need it (half a second), at most four times a second; wipes it at the end. Silent when not
// `enabled` (a pipe or a file: nothing there redraws a line).
class ProgressBar {
  public:
    ProgressBar(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}

    // As ScriptOutput::progress: 0 at the start, done == total at the end.
    void Update(std::int64_t done, std::int64_t total);

  private:
    using Clock = std::chrono::steady_clock;

    std::ostream& out_;
    bool enabled_;
    bool shown_ = false;
    Clock::time_point start_;
    Clock::time_point last_draw_;
};
