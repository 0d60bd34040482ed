#include "backends/sdl/shown_frame.h"

#include <algorithm>
#include <cstring>

namespace kv::sdl {

namespace {

// Rectangles that grow downwards as rows with changes nearby come in.
class RectGrower {
  public:
    void add(std::int64_t y, std::int64_t left, std::int64_t right) {
        for (Rect& r : open_) {
            // bottom == y + 1: an earlier piece of this same row already joined it.
            const bool touches = r.bottom == y || r.bottom == y + 1;
            if (touches && left < r.right + ShownFrame::kJoinGap &&
                right + ShownFrame::kJoinGap > r.left) {
                r = Rect{std::min(r.left, left), r.top, std::max(r.right, right), y + 1};
                return;
            }
        }
        open_.push_back(Rect{left, y, right, y + 1});
    }
    // Rectangles that did not reach row y can grow no more.
    void close_before(std::int64_t y, std::vector<Rect>& out) {
        std::erase_if(open_, [&](const Rect& r) {
            if (r.bottom >= y) return false;
            out.push_back(r);
            return true;
        });
    }
    void close_all(std::vector<Rect>& out) {
        out.insert(out.end(), open_.begin(), open_.end());
        open_.clear();
    }

  private:
    std::vector<Rect> open_;
};

// Pixels compared at once while looking for the next change: large enough for memcmp's vector
// loop to pay off.
constexpr std::int64_t kSkipBlock = 64;

bool same(const Color* a, const Color* b, std::int64_t count) {
    return std::memcmp(a, b, static_cast<std::size_t>(count) * sizeof(Color)) == 0;
}

} // namespace

void ShownFrame::assign(const Framebuffer& fb) {
    width_ = fb.width();
    height_ = fb.height();
    pixels_ = fb.pixels();
}

std::vector<Rect> ShownFrame::take_changes(const Framebuffer& fb, const Rect& rect) {
    const Rect r = intersect(rect, fb.bounds());
    if (r.empty()) return {};
    if (fb.width() != width_ || fb.height() != height_) {
        assign(fb);
        return {r};
    }
    std::vector<Rect> changes;
    RectGrower grower;
    const auto count = static_cast<std::size_t>(r.width());
    for (std::int64_t y = r.top; y < r.bottom; ++y) {
        const Color* now = fb.row(static_cast<int>(y)) + r.left;
        Color* shown = pixels_.data() + y * width_ + r.left;
        grower.close_before(y, changes);
        if (std::memcmp(now, shown, count * sizeof(Color)) == 0) continue;
        const auto n = static_cast<std::int64_t>(count);
        std::int64_t x = 0;
        while (x < n) {
            // Most of a Tick's bounding box is unchanged: skip it a block at a time.
            if (same(now + x, shown + x, std::min(kSkipBlock, n - x))) {
                x += kSkipBlock;
                continue;
            }
            while (now[x] == shown[x])
                ++x;
            // A run of changes, ending where kJoinGap unchanged pixels (or the row's end) follow.
            const std::int64_t start = x;
            std::int64_t end = x + 1;
            for (;;) {
                const std::int64_t ahead = std::min(kJoinGap, n - end);
                if (ahead == 0 || same(now + end, shown + end, ahead)) {
                    x = end + ahead;
                    break;
                }
                std::int64_t last = end + ahead - 1;
                while (now[last] == shown[last])
                    --last;
                end = last + 1;
            }
            std::copy(now + start, now + end, shown + start);
            grower.add(y, r.left + start, r.left + end);
        }
    }
    grower.close_all(changes);
    return changes;
}

} // namespace kv::sdl
