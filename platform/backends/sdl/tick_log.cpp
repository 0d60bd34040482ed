#include "backends/sdl/tick_log.h"

#include <iostream>

namespace kv::sdl {

TickLog::TickLog(const std::string& path) : start_(std::chrono::steady_clock::now()) {
    if (path.empty()) return;
    file_.open(path, std::ios::binary | std::ios::trunc);
    if (!file_) std::cerr << "cannot write the tick log '" << path << "'\n";
    // Twenty lines a second for a long run: keep appends from reallocating.
    text_.reserve(std::size_t{64} * 1024);
}

TickLog::~TickLog() {
    if (!file_.is_open()) return;
    file_ << text_;
    file_.close();
}

std::uint64_t TickLog::elapsed_ms() const {
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void TickLog::tick() {
    if (!enabled()) return;
    text_ += std::to_string(elapsed_ms());
    text_ += '\n';
}

void TickLog::frame_presented() {
    if (!enabled() || presented_) return;
    presented_ = true;
    text_ += "# first frame " + std::to_string(elapsed_ms()) + '\n';
}

} // namespace kv::sdl
