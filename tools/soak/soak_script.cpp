#include "tools/soak/soak_script.h"

#include "tools/soak/random_source.h"

#include <algorithm>

namespace kv::soak {

namespace {

// The script language's coordinate range.
constexpr std::int64_t kMinCoordinate = -32768;
constexpr std::int64_t kMaxCoordinate = 65535;

// The client area the program opens with.
constexpr std::int64_t kStartWidth = 780;
constexpr std::int64_t kStartHeight = 557;

class SoakWriter {
  public:
    SoakWriter(std::int64_t ticks, std::uint64_t seed, SoakSummary& summary)
        : total_(ticks), random_(seed), summary_(summary) {}

    std::string write() {
        line("# KORVELINE soak: " + std::to_string(total_) + " Ticks of random input");
        // The largest window first, from nothing and back to nothing, then the start size.
        resize(0, 0);
        tick(1);
        exposed("expose");
        resize(8192, 8192);
        tick(1);
        click_at(true, 8191, 8191);
        exposed("expose 8000 8000 192 192");
        resize(0, 0);
        tick(1);
        resize(kStartWidth, kStartHeight);
        click_at(true, 25, 25); // supply on
        resized_ = false;

        while (remaining() > 0) {
            tick(random_.between(1, 7));
            click();
            if (random_.one_in(10)) expose();
            if (random_.one_in(200)) {
                line("pixel " + std::to_string(random_.between(kMinCoordinate, kMaxCoordinate)) +
                     ' ' + std::to_string(random_.between(-1, height_)));
            }
            if (resized_ && random_.one_in(30)) {
                resize(kStartWidth, kStartHeight);
                resized_ = false;
            } else if (!resized_ && random_.one_in(400)) {
                ordinary_resize();
                resized_ = true;
            }
            if (random_.one_in(20000)) large_excursion();
        }
        line("state");
        return text_;
    }

  private:
    std::int64_t remaining() const { return total_ - summary_.ticks; }
    void line(const std::string& text) { text_ += text + '\n'; }

    void tick(std::int64_t n) {
        n = std::min(n, remaining());
        if (n <= 0) return;
        line(n == 1 ? "tick" : "tick " + std::to_string(n));
        summary_.ticks += n;
    }

    void click_at(bool left, std::int64_t x, std::int64_t y) {
        line(std::string("click ") + (left ? "left " : "right ") + std::to_string(x) + ' ' +
             std::to_string(y));
        ++(left ? summary_.left_clicks : summary_.right_clicks);
    }

    // Half the clicks land in the client area, where the regions are; a third just around it; the
    // rest anywhere the script allows, which wraps through 16 bits on the way to the program.
    void click() {
        const bool left = random_.one_in(2);
        const std::int64_t where = random_.between(0, 99);
        std::int64_t x = 0;
        std::int64_t y = 0;
        if (where < 50 && width_ > 0 && height_ > 0) {
            x = random_.between(0, width_ - 1);
            y = random_.between(0, height_ - 1);
        } else if (where < 85) {
            x = random_.between(-64, width_ + 63);
            y = random_.between(-64, height_ + 63);
        } else {
            x = random_.between(kMinCoordinate, kMaxCoordinate);
            y = random_.between(kMinCoordinate, kMaxCoordinate);
        }
        click_at(left, x, y);
    }

    void expose() {
        if (random_.one_in(8)) {
            exposed("expose");
            return;
        }
        const std::int64_t x = random_.between(-200, width_ + 200);
        const std::int64_t y = random_.between(-200, height_ + 200);
        const std::int64_t w = random_.between(0, 1200);
        const std::int64_t h = random_.between(0, 1200);
        exposed("expose " + std::to_string(x) + ' ' + std::to_string(y) + ' ' + std::to_string(w) +
                ' ' + std::to_string(h));
    }

    void exposed(const std::string& command) {
        line(command);
        ++summary_.exposes;
    }

    void resize(std::int64_t width, std::int64_t height) {
        line("resize " + std::to_string(width) + ' ' + std::to_string(height));
        width_ = width;
        height_ = height;
        ++summary_.resizes;
        summary_.largest_area = std::max(summary_.largest_area, width * height);
    }

    // Up to 2048 x 2048, empty and one-sided sizes included.
    void ordinary_resize() {
        const std::int64_t kind = random_.between(0, 9);
        if (kind == 0) {
            resize(0, 0);
        } else if (kind == 1) {
            if (random_.one_in(2)) {
                resize(0, random_.between(1, 2048));
            } else {
                resize(random_.between(1, 2048), 0);
            }
        } else if (kind < 8) {
            resize(random_.between(1, 1024), random_.between(1, 1024));
        } else {
            resize(random_.between(1, 2048), random_.between(1, 2048));
        }
    }

    // A large window is reached from, and left for, 0 x 0: while it is made, no other framebuffer
    // is alive beside it, so no excursion needs more memory than the first one.
    void large_excursion() {
        const std::int64_t back_w = width_;
        const std::int64_t back_h = height_;
        resize(0, 0);
        resize(random_.between(4096, 8192), random_.between(4096, 8192));
        tick(1);
        click_at(true, random_.between(0, width_ - 1), random_.between(0, height_ - 1));
        expose();
        resize(0, 0);
        resize(back_w, back_h);
    }

    std::int64_t total_;
    RandomSource random_;
    SoakSummary& summary_;
    std::string text_;
    std::int64_t width_ = kStartWidth;
    std::int64_t height_ = kStartHeight;
    bool resized_ = false; // away from the start size
};

} // namespace

std::string soak_script(std::int64_t ticks, std::uint64_t seed, SoakSummary& summary) {
    summary = SoakSummary{};
    return SoakWriter(ticks, seed, summary).write();
}

} // namespace kv::soak
