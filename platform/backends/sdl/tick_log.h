// The optional record of when each Tick happened, for measuring the timer's period on a real
// display: one line per WM_TIMER with the wall-clock milliseconds since the program started, and
// a comment line with the time of the first frame shown. Kept in memory and written at exit, so
// that logging costs no I/O while the program runs.
#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>

namespace kv::sdl {

class TickLog {
  public:
    // Logs nothing when `path` is empty. The file is created now and filled at destruction.
    explicit TickLog(const std::string& path);
    ~TickLog();
    TickLog(const TickLog&) = delete;
    TickLog& operator=(const TickLog&) = delete;

    bool enabled() const { return file_.is_open(); }

    void tick();
    // Only the first call counts.
    void frame_presented();

  private:
    std::uint64_t elapsed_ms() const;

    std::chrono::steady_clock::time_point start_;
    std::ofstream file_;
    std::string text_;
    bool presented_ = false;
};

} // namespace kv::sdl
