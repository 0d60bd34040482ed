// The GDI entry points: pens, brushes, selection, lines, shapes, text and pixels.
#include "font/system_font.h"
#include "gdi/objects.h"
#include "gdi/primitive_canvas.h"
#include "raster/raster.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <span>
#include <utility>
#include <vector>

using kv::gdi::DcObject;
using kv::gdi::ObjectTable;

namespace {

// Win32 ignores the top byte of a COLORREF when drawing.
constexpr kv::Color to_color(COLORREF c) {
    return c & 0x00FFFFFFu;
}

// Wider pens than this are clamped: they would cover any client area anyway, and the clamp keeps
// the raster's integer arithmetic far from overflow.
constexpr int kWidestCreatedPen = 1 << 14;

// The DC's pen, or none when its handle was deleted: then a one-pixel black line is drawn.
const kv::gdi::PenObject* current_pen(const DcObject& dc) {
    return ObjectTable::instance().pen(dc.pen);
}
kv::raster::Pen raster_pen(const kv::gdi::PenObject* pen) {
    return pen ? kv::raster::Pen{pen->width, pen->color} : kv::raster::Pen{1, 0};
}

std::optional<kv::Color> current_brush(const DcObject& dc) {
    const kv::gdi::BrushObject* brush = ObjectTable::instance().brush(dc.brush);
    if (!brush) return std::nullopt;
    return brush->color;
}

} // namespace

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    if (style != PS_SOLID) return nullptr; // the only style this layer draws
    const int w = std::clamp(width < 0 ? -width : width, 1, kWidestCreatedPen);
    return static_cast<HPEN>(
        ObjectTable::instance().add(kv::gdi::PenObject{w, to_color(color), std::nullopt, {}}));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(ObjectTable::instance().add(kv::gdi::BrushObject{to_color(color)}));
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object) {
    ObjectTable& table = ObjectTable::instance();
    DcObject* dc = table.dc(hdc);
    if (!dc) return nullptr;
    if (table.pen(object)) return std::exchange(dc->pen, object);
    if (table.brush(object)) return std::exchange(dc->brush, object);
    return nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    return ObjectTable::instance().remove_object(object) ? TRUE : FALSE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* points, int count) {
    DcObject* dc = ObjectTable::instance().dc(hdc);
    if (!dc || !points || count < 2) return FALSE;
    // Short paths (most are single segments) on the stack, longer ones on the heap. Few points
    // on the stack: they are all set to zero first, on every call.
    constexpr std::size_t kShort = 4;
    std::array<kv::Point, kShort> short_path;
    std::vector<kv::Point> long_path;
    const auto n = static_cast<std::size_t>(count);
    if (n > kShort) long_path.resize(n);
    const std::span<kv::Point> path =
        n > kShort ? std::span<kv::Point>(long_path) : std::span<kv::Point>(short_path).first(n);
    for (std::size_t i = 0; i < n; ++i)
        path[i] = {points[i].x, points[i].y};
    const kv::gdi::PenObject* pen = current_pen(*dc);
    kv::gdi::PrimitiveCanvas canvas(*dc);
    kv::raster::polyline(canvas.get(), path, raster_pen(pen), pen ? &pen->segments : nullptr);
    return TRUE;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    DcObject* dc = ObjectTable::instance().dc(hdc);
    if (!dc) return FALSE;
    kv::gdi::PrimitiveCanvas canvas(*dc);
    kv::raster::rectangle(canvas.get(), kv::Rect{left, top, right, bottom},
                          raster_pen(current_pen(*dc)), current_brush(*dc));
    return TRUE;
}

// The pen keeps the shape of its last ellipse: the same box drawn again with the same pen, brush
// or none, and clip bounds is the same shape (it is a function of those alone), drawn in the
// colours of the moment.
BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    DcObject* dc = ObjectTable::instance().dc(hdc);
    if (!dc) return FALSE;
    const kv::Rect b{left, top, right, bottom};
    const kv::gdi::PenObject* pen_object = current_pen(*dc);
    const kv::raster::Pen pen = raster_pen(pen_object);
    const std::optional<kv::Color> brush = current_brush(*dc);
    kv::gdi::PrimitiveCanvas canvas(*dc);
    if (!pen_object) {
        kv::raster::ellipse(canvas.get(), b, pen, brush);
        return TRUE;
    }
    std::optional<kv::raster::EllipseShape>& shape = pen_object->last_ellipse;
    const kv::Rect& clip = canvas.get().clip_bounds();
    if (!shape || !shape->traced_for(b, pen.width, brush.has_value(), clip))
        shape.emplace(b, pen.width, brush.has_value(), clip);
    shape->draw(canvas.get(), pen.color, brush);
    return TRUE;
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
    DcObject* dc = ObjectTable::instance().dc(hdc);
    if (!dc || length < 0 || (length > 0 && !text)) return FALSE;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::optional<kv::Color> background = dc->background_mode == OPAQUE
                                                    ? std::optional<kv::Color>(dc->background_color)
                                                    : std::nullopt;
    kv::gdi::PrimitiveCanvas canvas(*dc);
    kv::font::draw_text(canvas.get(), x, y, {bytes, static_cast<std::size_t>(length)},
                        dc->text_color, background);
    return TRUE;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    DcObject* dc = ObjectTable::instance().dc(hdc);
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->text_color, to_color(color));
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    DcObject* dc = ObjectTable::instance().dc(hdc);
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->background_color, to_color(color));
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    DcObject* dc = ObjectTable::instance().dc(hdc);
    if (!dc || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
    return std::exchange(dc->background_mode, mode);
}

// SetPixel outside the clip region, or with CLR_INVALID, writes nothing and fails.
COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DcObject* dc = ObjectTable::instance().dc(hdc);
    if (!dc || color == CLR_INVALID) return CLR_INVALID;
    if (dc->canvas.read(x, y) == kv::kInvalidColor) return CLR_INVALID;
    dc->canvas.plot(x, y, to_color(color));
    return to_color(color);
}

// GetPixel outside the clip region returns CLR_INVALID.
COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    DcObject* dc = ObjectTable::instance().dc(hdc);
    if (!dc) return CLR_INVALID;
    return dc->canvas.read(x, y);
}
