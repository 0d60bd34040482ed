#include "gdi/memory_dc.h"

#include "gdi/objects.h"

#include <memory>

namespace kv::gdi {

HDC create_dc(Framebuffer& fb, Region clip) {
    return static_cast<HDC>(
        ObjectTable::instance().add(std::make_unique<DcObject>(Canvas(fb, std::move(clip)))));
}

std::optional<Region> release_dc(HDC hdc) {
    return ObjectTable::instance().remove_dc(hdc);
}

bool fill_clip(HDC hdc, HBRUSH brush) {
    ObjectTable& table = ObjectTable::instance();
    DcObject* dc = table.dc(hdc);
    const BrushObject* b = table.brush(brush);
    if (!dc || !b) return false;
    for (const Rect& r : dc->canvas.clip().rects()) {
        for (std::int64_t y = r.top; y < r.bottom; ++y)
            dc->canvas.span(y, r.left, r.right, b->color);
    }
    return true;
}

ScopedDC::ScopedDC(Framebuffer& fb) : ScopedDC(fb, Region(fb.bounds())) {}
ScopedDC::ScopedDC(Framebuffer& fb, Region clip) : hdc_(create_dc(fb, std::move(clip))) {}
ScopedDC::~ScopedDC() {
    release_dc(hdc_);
}

} // namespace kv::gdi
