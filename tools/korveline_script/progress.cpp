#include "tools/korveline_script/progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kBarWidth = 30;
constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(250);

// "0:07", "12:34", "1:02:03".
std::string duration(double seconds) {
    const auto s = static_cast<long long>(std::ceil(seconds));
    char buffer[40];
    if (s >= 3600) {
        std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    } else {
        std::snprintf(buffer, sizeof buffer, "%lld:%02lld", s / 60, s % 60);
    }
    return buffer;
}

} // namespace

std::string ProgressLine(std::int64_t done, std::int64_t total, double seconds) {
    total = std::max<std::int64_t>(total, 1);
    done = std::clamp<std::int64_t>(done, 0, total);
    const double fraction = static_cast<double>(done) / static_cast<double>(total);
    const auto filled = static_cast<int>(fraction * kBarWidth);
    // Appended piece by piece: gcc 12 at -O3 misreads `"[" + string` as an overlapping copy.
    std::string line = "[";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(kBarWidth - filled), '-');
    line += ']';

    char buffer[160];
    std::snprintf(buffer, sizeof buffer, " %3d%%  %lld/%lld Ticks",
                  static_cast<int>(fraction * 100), static_cast<long long>(done),
                  static_cast<long long>(total));
    line += buffer;
    if (seconds > 0 && done > 0) {
        const double rate = static_cast<double>(done) / seconds;
        std::snprintf(buffer, sizeof buffer, "  %.0f Ticks/s", rate);
        line.append(buffer).append("  ");
        line.append(duration(static_cast<double>(total - done) / rate)).append(" left");
    } else {
        line += "  -- Ticks/s  --:-- left";
    }
    return line;
}

void ProgressBar::Update(std::int64_t done, std::int64_t total) {
    if (!enabled_) return;
    const Clock::time_point now = Clock::now();
    if (done == 0) {
        start_ = now;
        shown_ = false;
        return;
    }
    if (done >= total) {
        if (shown_) out_ << "\r\x1b[K" << std::flush; // the finished bar leaves no trace
        shown_ = false;
        return;
    }
    if (now - start_ < kQuietStart || (shown_ && now - last_draw_ < kRedrawEvery)) return;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    out_ << '\r' << ProgressLine(done, total, seconds) << "\x1b[K" << std::flush;
    shown_ = true;
    last_draw_ = now;
}
