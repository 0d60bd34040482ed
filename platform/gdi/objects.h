// GDI objects behind the handles the application holds: pens, brushes and device contexts. Win32
// keeps them in one process-wide handle table; so do we, built on first use so that pens created
// during static initialisation (before main) work.
#pragma once

#include "core/canvas.h"
#include "raster/raster.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace kv::gdi {

struct PenObject {
    int width = 1; // 0 and 1: the one-pixel cosmetic pen
    Color color = 0;
    // The last ellipse drawn with this pen, kept because programs draw the same one again and
    // again (a disc wiped every frame): drawn again, it costs only its fills.
    mutable std::optional<raster::EllipseShape> last_ellipse;
    // Its wide segments, kept by offset: a turning picture draws the same ones again.
    mutable raster::SegmentCache segments;
};

struct BrushObject {
    Color color = 0;
};

// A device context: a canvas plus the state Win32 keeps per DC. Starts from Win32's defaults.
struct DcObject {
    explicit DcObject(Canvas c);
    Canvas canvas;
    HGDIOBJ pen;
    HGDIOBJ brush;
    Color text_color = 0x000000;
    Color background_color = 0xFFFFFF;
    int background_mode = OPAQUE;

    // Adds a drawing call's bounds to what was drawn through this DC. Inline: twice a call, and
    // most often empty.
    void add_drawn(const Rect& r) {
        if (!r.empty()) drawn_.add(r);
    }
    // What was drawn: the drawing calls' boxes, and whatever went straight to the canvas.
    Region drawn() const;

  private:
    Region drawn_;
};

class ObjectTable {
  public:
    // Inline: every GDI call starts here.
    static ObjectTable& instance() {
        static ObjectTable table;
        return table;
    }

    using Object = std::variant<std::monostate, PenObject, BrushObject, std::unique_ptr<DcObject>>;
    // A new handle for a pen, a brush or a DC (null when the table is full). Stock objects are
    // never freed.
    void* add(Object object, bool stock = false);

    const PenObject* pen(HGDIOBJ handle) const;
    const BrushObject* brush(HGDIOBJ handle) const;
    DcObject* dc(HDC handle);

    // Frees a pen or brush. Stock objects and objects selected in a live DC are kept (false).
    bool remove_object(HGDIOBJ handle);
    // Frees a DC; returns what was drawn through it, or nothing for a bad handle.
    std::optional<Region> remove_dc(HDC handle);

    HGDIOBJ black_pen() const { return black_pen_; }
    HGDIOBJ white_brush() const { return white_brush_; }

  private:
    ObjectTable();
    struct Slot {
        Object object;
        std::uint32_t generation = 0;
        bool stock = false;
    };
    Slot* find(const void* handle);
    const Slot* find(const void* handle) const;
    bool selected_in_live_dc(const void* handle) const;

    std::vector<Slot> slots_;
    std::vector<std::uint32_t> free_;
    HGDIOBJ black_pen_ = nullptr;
    HGDIOBJ white_brush_ = nullptr;
};

} // namespace kv::gdi
