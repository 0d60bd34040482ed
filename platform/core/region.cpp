#include "core/region.h"

namespace kv {

std::vector<Rect> subtract(const Rect& r, const Rect& hole) {
    const Rect cut = intersect(r, hole);
    if (cut.empty()) return r.empty() ? std::vector<Rect>{} : std::vector<Rect>{r};
    std::vector<Rect> out;
    auto keep = [&out](Rect piece) {
        if (!piece.empty()) out.push_back(piece);
    };
    keep({r.left, r.top, r.right, cut.top});
    keep({r.left, cut.bottom, r.right, r.bottom});
    keep({r.left, cut.top, cut.left, cut.bottom});
    keep({cut.right, cut.top, r.right, cut.bottom});
    return out;
}

bool Region::contains(std::int64_t x, std::int64_t y) const {
    for (const Rect& r : rects_) {
        if (r.contains(x, y)) return true;
    }
    return false;
}

Rect Region::bounds() const {
    Rect b;
    for (const Rect& r : rects_)
        b = bounding_union(b, r);
    return b;
}

void Region::add(const Rect& r) {
    if (r.empty()) return;
    // Most rectangles added lie inside one already there or meet none: the cuts below would give
    // nothing or r itself.
    bool meets = false;
    for (const Rect& existing : rects_) {
        const Rect common = kv::intersect(r, existing);
        if (common == r) return;
        meets = meets || !common.empty();
    }
    if (!meets) {
        rects_.push_back(r);
    } else {
        std::vector<Rect> pieces{r};
        for (const Rect& existing : rects_) {
            std::vector<Rect> next;
            for (const Rect& piece : pieces) {
                for (const Rect& part : subtract(piece, existing))
                    next.push_back(part);
            }
            pieces = std::move(next);
            if (pieces.empty()) return;
        }
        rects_.insert(rects_.end(), pieces.begin(), pieces.end());
    }
    if (rects_.size() > kMaxRects) {
        const Rect all = bounds();
        rects_.assign(1, all);
    }
}

void Region::add(const Region& other) {
    for (const Rect& r : other.rects_)
        add(r);
}

void Region::intersect(const Rect& clip) {
    std::vector<Rect> kept;
    for (const Rect& r : rects_) {
        const Rect piece = kv::intersect(r, clip);
        if (!piece.empty()) kept.push_back(piece);
    }
    rects_ = std::move(kept);
}

} // namespace kv
