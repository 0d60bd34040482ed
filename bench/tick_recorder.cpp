#include "bench/tick_recorder.h"

#include "gdi/objects.h"

#include <windows.h>

// The application's calls reach these wrappers instead of our GDI (-Wl,--wrap with the mangled
// names, see CMakeLists.txt); the __real_ symbols are our GDI's own entry points. Those names are
// the linker's, reserved as they are.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" {
BOOL __real__Z8PolylineP5HDC__PK8tagPOINTi(HDC hdc, const POINT* points, int count);
BOOL __real__Z7EllipseP5HDC__iiii(HDC hdc, int left, int top, int right, int bottom);
BOOL __wrap__Z8PolylineP5HDC__PK8tagPOINTi(HDC hdc, const POINT* points, int count);
BOOL __wrap__Z7EllipseP5HDC__iiii(HDC hdc, int left, int top, int right, int bottom);
}
// NOLINTEND(bugprone-reserved-identifier)

namespace bench {
namespace {

std::vector<Primitive>* recording = nullptr;

// The DC's pen and brush as the raster will see them.
void describe(HDC hdc, Primitive& p) {
    auto& table = kv::gdi::ObjectTable::instance();
    const kv::gdi::DcObject* dc = table.dc(hdc);
    if (dc == nullptr) return;
    if (const kv::gdi::PenObject* pen = table.pen(dc->pen)) {
        p.pen_width = pen->width;
        p.pen = pen->color;
    }
    if (const kv::gdi::BrushObject* brush = table.brush(dc->brush)) {
        p.filled = true;
        p.brush = brush->color;
    }
}

} // namespace

TickRecorder::TickRecorder() {
    recording = &primitives_;
}
TickRecorder::~TickRecorder() {
    recording = nullptr;
}

} // namespace bench

// NOLINTBEGIN(bugprone-reserved-identifier)
BOOL __wrap__Z8PolylineP5HDC__PK8tagPOINTi(HDC hdc, const POINT* points, int count) {
    if (bench::recording != nullptr && points != nullptr) {
        for (int i = 1; i < count; ++i) {
            bench::Primitive p;
            p.x0 = points[i - 1].x;
            p.y0 = points[i - 1].y;
            p.x1 = points[i].x;
            p.y1 = points[i].y;
            bench::describe(hdc, p);
            p.filled = false;
            bench::recording->push_back(p);
        }
    }
    return __real__Z8PolylineP5HDC__PK8tagPOINTi(hdc, points, count);
}

BOOL __wrap__Z7EllipseP5HDC__iiii(HDC hdc, int left, int top, int right, int bottom) {
    if (bench::recording != nullptr) {
        bench::Primitive p{bench::Primitive::Kind::Ellipse, left, top, right, bottom};
        bench::describe(hdc, p);
        bench::recording->push_back(p);
    }
    return __real__Z7EllipseP5HDC__iiii(hdc, left, top, right, bottom);
}
// NOLINTEND(bugprone-reserved-identifier)
