#include "tools/instruments/layer_drawing.h"

#include "font/system_font.h"
#include "raster/raster.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace kv::tools {

namespace {

constexpr Color kHalo = rgb(255, 255, 255);

std::span<const unsigned char> bytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

} // namespace

LayerPen::LayerPen(const Rect& place) {
    layer_.left = place.left;
    layer_.top = place.top;
    layer_.image = Framebuffer(static_cast<int>(place.width()), static_cast<int>(place.height()),
                               viewer::kClear);
}

int LayerPen::text_width(std::string_view text) {
    return font::text_extent(bytes(text));
}

int LayerPen::text_height() {
    return font::kCellHeight;
}

Point LayerPen::local(const Point& p) const {
    return Point{p.x - layer_.left, p.y - layer_.top};
}

bool LayerPen::text(std::int64_t x, std::int64_t y, std::string_view text, Color color) {
    // The cell, whose blank rows and columns hold the halo; the halo may touch the layer's edge.
    const Rect box{x, y, x + text_width(text), y + text_height()};
    const Rect inside{layer_.place().left + 1, layer_.place().top + 1, layer_.place().right - 1,
                      layer_.place().bottom - 1};
    if (intersect(box, inside) != box) return false;
    for (const Rect& placed : texts_) {
        if (!intersect(placed, box).empty()) return false;
    }
    texts_.push_back(box);
    Canvas canvas(layer_.image, Region(layer_.image.bounds()));
    const Point at = local(Point{x, y});
    // The halo: the glyphs in white a pixel off each way, then the glyphs.
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            font::draw_text(canvas, at.x + dx, at.y + dy, bytes(text), kHalo, std::nullopt);
    font::draw_text(canvas, at.x, at.y, bytes(text), color, std::nullopt);
    return true;
}

void LayerPen::line(std::span<const Point> points, int width, Color color) {
    std::vector<Point> here;
    for (const Point& p : points)
        here.push_back(local(p));
    Canvas canvas(layer_.image, Region(layer_.image.bounds()));
    raster::polyline(canvas, here, raster::Pen{width, color});
}

void LayerPen::dashed(std::span<const Point> points, int width, Color color, int on, int off) {
    // Along the line, pixel by pixel of its length: drawn while the pattern is on.
    const double period = on + off;
    double along = 0;
    for (std::size_t k = 1; k < points.size(); ++k) {
        const Point a = points[k - 1], b = points[k];
        const double length =
            std::hypot(static_cast<double>(b.x - a.x), static_cast<double>(b.y - a.y));
        const int steps = std::max(1, static_cast<int>(std::ceil(length)));
        for (int s = 0; s < steps; ++s) {
            const double t0 = double(s) / steps, t1 = double(s + 1) / steps;
            if (std::fmod(along + length * (t0 + t1) / 2, period) < on) {
                const auto at = [&](double t) {
                    return Point{a.x + std::llround(static_cast<double>(b.x - a.x) * t),
                                 a.y + std::llround(static_cast<double>(b.y - a.y) * t)};
                };
                const Point p[2] = {at(t0), at(t1)};
                line(p, width, color);
            }
        }
        along += length;
    }
}

void LayerPen::dot(Point centre, int r, Color color) {
    Canvas canvas(layer_.image, Region(layer_.image.bounds()));
    const Point c = local(centre);
    raster::ellipse(canvas, Rect{c.x - r - 1, c.y - r - 1, c.x + r + 2, c.y + r + 2},
                    raster::Pen{1, kHalo}, color);
}

viewer::Layer LayerPen::take() {
    return std::move(layer_);
}

std::string number_text(double value, int decimals, bool french) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    // Never "-0", nor "-0.0" for a small negative value.
    const bool zero = std::strpbrk(buffer, "123456789") == nullptr;
    const char* digits = buffer[0] == '-' ? buffer + 1 : buffer;
    const char* sign = zero ? digits : buffer;
    std::size_t whole = 0;
    while (digits[whole] >= '0' && digits[whole] <= '9')
        ++whole;
    std::string text(sign, static_cast<std::size_t>(digits - sign));
    for (std::size_t k = 0; digits[k] != '\0'; ++k) {
        if (french && k > 0 && k < whole && (whole - k) % 3 == 0) text += ' ';
        text += digits[k] == '.' ? (french ? ',' : '.') : digits[k];
    }
    return text;
}

} // namespace kv::tools
