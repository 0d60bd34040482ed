// Drawing on a layer over the picture (viewer/layer.h) in client coordinates: text with a white
// halo, which stays readable over the plot's trail and lines, lines whole or dashed, and numbers
// as each language writes them.
#pragma once

#include "core/canvas.h"
#include "viewer/layer.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::tools {

class LayerPen {
  public:
    // A layer of clear pixels over the client rectangle `place`.
    explicit LayerPen(const Rect& place);

    // The width a text takes (ISO 8859-1), and its height.
    static int text_width(std::string_view text);
    static int text_height();
    // `text` with its top-left corner at (x, y), unless it would cover a text already placed (or
    // reach out of the layer): then nothing, and false.
    bool text(std::int64_t x, std::int64_t y, std::string_view text, Color color);
    // A line `width` pixels wide, through `points`; dashed: drawn `on` pixels, left `off`.
    void line(std::span<const Point> points, int width, Color color);
    void dashed(std::span<const Point> points, int width, Color color, int on, int off);
    // A filled disc of radius `r` with a white rim.
    void dot(Point centre, int r, Color color);

    viewer::Layer take();

  private:
    Point local(const Point& p) const;

    viewer::Layer layer_;
    std::vector<Rect> texts_; // where the texts lie, with their halo
};

// `value` with `decimals` decimals, French (decimal comma, a space between thousands) or English.
std::string number_text(double value, int decimals, bool french);

} // namespace kv::tools
