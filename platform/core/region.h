// A region as a union of disjoint rectangles: the update region of a window and the clip region of
// a device context.
#pragma once

#include "core/geometry.h"

#include <cstddef>
#include <vector>

namespace kv {

class Region {
  public:
    Region() = default;
    explicit Region(const Rect& r) { add(r); }

    bool empty() const { return rects_.empty(); }
    bool contains(std::int64_t x, std::int64_t y) const;
    Rect bounds() const;
    const std::vector<Rect>& rects() const { return rects_; }

    // Adds the part of r not yet covered. Past kMaxRects pieces the region becomes its bounding
    // rectangle: it may then cover more than was added, never less.
    void add(const Rect& r);
    void add(const Region& other);
    void intersect(const Rect& clip);
    void clear() { rects_.clear(); }

    static constexpr std::size_t kMaxRects = 64;

  private:
    std::vector<Rect> rects_;
};

// The parts of r outside `hole`, as at most four disjoint rectangles.
std::vector<Rect> subtract(const Rect& r, const Rect& hole);

} // namespace kv
