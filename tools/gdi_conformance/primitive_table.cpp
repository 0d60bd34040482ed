#include "tools/gdi_conformance/primitive_table.h"

#include <array>
#include <initializer_list>
#include <iterator>
#include <optional>

namespace gdi_conformance {

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGray = RGB(170, 170, 170);
constexpr COLORREF kCopper = RGB(255, 110, 0);
constexpr COLORREF kPurple = RGB(100, 0, 100);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

// A pen or brush selected for one primitive; the DC's previous object comes back before the new
// one is deleted, since GDI does not delete a selected object.
class Selected {
  public:
    Selected(HDC hdc, HGDIOBJ object)
        : hdc_(hdc), object_(object), previous_(SelectObject(hdc, object)) {}
    ~Selected() {
        SelectObject(hdc_, previous_);
        DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    HDC hdc_;
    HGDIOBJ object_;
    HGDIOBJ previous_;
};

RECT Box(int x, int y, int width, int height) {
    return RECT{x, y, x + width, y + height};
}

// Appends piece by piece: gcc 12's -Wrestrict misreads some inlined `"text" + string` at -O3.
std::string Join(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& part : parts)
        text += part;
    return text;
}

void Line(HDC hdc, int x1, int y1, int x2, int y2) {
    const POINT points[2] = {{x1, y1}, {x2, y2}};
    Polyline(hdc, points, 2);
}

constexpr int kLineCell = 32;

// Zero-length lines, the way the application draws a point: pens 1 to 10, one cell each.
void Dots(HDC hdc, std::vector<Cell>& cells) {
    for (int width = 1; width <= 10; ++width) {
        const int x = 4 + (width - 1) * kLineCell;
        const int y = 4;
        Selected pen(hdc, CreatePen(PS_SOLID, width, kPurple));
        Line(hdc, x + 16, y + 16, x + 16, y + 16);
        cells.push_back({"zero-length lines", Join({"pen ", std::to_string(width)}),
                         Box(x, y, kLineCell, kLineCell)});
    }
}

// Sixteen directions over half a turn, about 14 pixels long; the other half comes from drawing
// each one in both orders of its end points.
constexpr POINT kDirections[] = {{14, 0},   {14, 3},  {13, 5},  {12, 8},  {10, 10}, {8, 12},
                                 {5, 13},   {3, 14},  {0, 14},  {-3, 14}, {-5, 13}, {-8, 12},
                                 {-10, 10}, {-12, 8}, {-13, 5}, {-14, 3}};
constexpr std::array<int, 6> kLineWidths{1, 2, 3, 4, 5, 10};

void Lines(HDC hdc, std::vector<Cell>& cells) {
    for (std::size_t w = 0; w < kLineWidths.size(); ++w) {
        const int width = kLineWidths[w];
        const COLORREF color = width == 1 ? kBlack : (width == 4 ? kCopper : kPurple);
        Selected pen(hdc, CreatePen(PS_SOLID, width, color));
        const std::string group =
            width == 1 ? "1-px lines" : Join({"lines pen ", std::to_string(width)});
        for (int order = 0; order < 2; ++order) {
            const int y =
                36 + static_cast<int>(2 * w + static_cast<std::size_t>(order)) * kLineCell;
            for (std::size_t d = 0; d < std::size(kDirections); ++d) {
                const int x = 4 + static_cast<int>(d) * kLineCell;
                const int dx = kDirections[d].x;
                const int dy = kDirections[d].y;
                const int ax = x + 16 - dx / 2;
                const int ay = y + 16 - dy / 2;
                if (order == 0) {
                    Line(hdc, ax, ay, ax + dx, ay + dy);
                } else {
                    Line(hdc, ax + dx, ay + dy, ax, ay);
                }
                cells.push_back({group,
                                 Join({"(", std::to_string(dx), ",", std::to_string(dy),
                                       order == 0 ? ") forward" : ") backward"}),
                                 Box(x, y, kLineCell, kLineCell)});
            }
        }
    }
}

// A box's width and height.
struct Extent {
    int cx;
    int cy;
};

enum class Shape { Rectangle, Ellipse };

// One shape with pen `width`; pens 1 and 10 keep the DC's default white brush, as the
// application's boxes do, the others take a grey one.
void ShapeCell(HDC hdc, std::vector<Cell>& cells, Shape shape, int width, RECT cell,
               RECT shape_box) {
    Selected pen(hdc, CreatePen(PS_SOLID, width, width == 4 ? kCopper : kBlack));
    std::optional<Selected> brush;
    if (width != 1 && width != 10) brush.emplace(hdc, CreateSolidBrush(kGray));
    const RECT& r = shape_box;
    if (shape == Shape::Rectangle)
        Rectangle(hdc, r.left, r.top, r.right, r.bottom);
    else
        Ellipse(hdc, r.left, r.top, r.right, r.bottom);
    const char* kind = shape == Shape::Rectangle ? "rectangles" : "ellipses";
    cells.push_back({kind,
                     Join({"pen ", std::to_string(width), ", ",
                           std::to_string(static_cast<int>(shape_box.right - shape_box.left)), "x",
                           std::to_string(static_cast<int>(shape_box.bottom - shape_box.top))}),
                     cell});
}

void Shapes(HDC hdc, std::vector<Cell>& cells) {
    constexpr std::array<int, 5> widths{1, 2, 3, 4, 10};
    // Columns: rectangle and ellipse in a box of odd sides, then both in a box of even sides.
    constexpr std::array<Extent, 2> sizes{{{33, 25}, {30, 22}}};
    for (std::size_t w = 0; w < widths.size(); ++w) {
        const int y = 4 + static_cast<int>(w) * 48;
        for (std::size_t column = 0; column < 4; ++column) {
            const int x = 524 + static_cast<int>(column) * 56;
            const Extent size = sizes[column / 2];
            const Shape shape = column % 2 == 0 ? Shape::Rectangle : Shape::Ellipse;
            ShapeCell(hdc, cells, shape, widths[w], Box(x, y, 56, 48),
                      Box(x + 11, y + 11, size.cx, size.cy));
        }
    }
    // As large as the application's own: the wiped disc, the plot's frame.
    ShapeCell(hdc, cells, Shape::Ellipse, 4, Box(524, 248, 116, 116), Box(531, 255, 101, 101));
    ShapeCell(hdc, cells, Shape::Rectangle, 10, Box(644, 248, 116, 116), Box(651, 255, 101, 101));
    // The smallest boxes, where rounding decides everything.
    constexpr std::array<Extent, 6> small{{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 3}, {2, 5}}};
    for (std::size_t i = 0; i < small.size(); ++i) {
        for (std::size_t row = 0; row < 2; ++row) {
            const int width = row == 0 ? 1 : 3;
            const int y = 368 + static_cast<int>(row) * 20;
            for (std::size_t s = 0; s < 2; ++s) {
                const int x = 524 + static_cast<int>(2 * i + s) * 19;
                ShapeCell(hdc, cells, s == 0 ? Shape::Rectangle : Shape::Ellipse, width,
                          Box(x, y, 19, 20), Box(x + 6, y + 6, small[i].cx, small[i].cy));
            }
        }
    }
}

struct TextCase {
    const char* text;
    COLORREF color;
    COLORREF background;
};

// Text cells with an opaque background, as the application writes its labels.
void Texts(HDC hdc, std::vector<Cell>& cells) {
    constexpr std::array<TextCase, 4> texts{{
        {"ALIM", kRed, kWhite},
        {"R \xE0 Z", kBlack, kGray},
        {"Tu", kBlack, kWhite},
        {"Cliquer gauche (droit):", kBlack, kYellow},
    }};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int y = 424 + static_cast<int>(i) * 24;
        SetTextColor(hdc, texts[i].color);
        SetBkColor(hdc, texts[i].background);
        const int length = static_cast<int>(std::string(texts[i].text).size());
        TextOutA(hdc, 8, y + 4, texts[i].text, length);
        cells.push_back({"text", texts[i].text, Box(4, y, 512, 24)});
    }
}

// Pixels written one by one in colours that no palette rounding would keep apart, read back.
void Pixels(HDC hdc, std::vector<Cell>& cells) {
    const RECT cell = Box(524, 412, 40, 40);
    for (int i = 0; i < 100; ++i) {
        const int x = cell.left + 2 + (i % 10) * 4;
        const int y = cell.top + 2 + (i / 10) * 4;
        SetPixel(hdc, x, y, RGB(i * 2 + 1, 255 - i, (i * 37) % 256));
    }
    cells.push_back({"SetPixel", "100 colours", cell});
}

} // namespace

std::vector<Cell> DrawTable(HDC hdc) {
    std::vector<Cell> cells;
    Dots(hdc, cells);
    Lines(hdc, cells);
    Shapes(hdc, cells);
    Texts(hdc, cells);
    Pixels(hdc, cells);
    return cells;
}

std::vector<Probe> ProbeEdges(HDC hdc, int client_width, int client_height) {
    const int w = client_width;
    const int h = client_height;
    // Named relative to the client area's size, so that areas of different sizes compare.
    const struct {
        POINT at;
        const char* name;
    } points[] = {{{0, 0}, "(0,0)"},
                  {{w - 1, 0}, "(w-1,0)"},
                  {{0, h - 1}, "(0,h-1)"},
                  {{w - 1, h - 1}, "(w-1,h-1)"},
                  {{-1, 0}, "(-1,0)"},
                  {{0, -1}, "(0,-1)"},
                  {{-1, -1}, "(-1,-1)"},
                  {{w, 0}, "(w,0)"},
                  {{w - 1, -1}, "(w-1,-1)"},
                  {{0, h}, "(0,h)"},
                  {{-1, h - 1}, "(-1,h-1)"},
                  {{w, h}, "(w,h)"},
                  {{-32768, 10}, "(-32768,10)"},
                  {{10, 32767}, "(10,32767)"}};
    std::vector<Probe> probes;
    for (const auto& [at, label] : points) {
        const std::string name = label;
        probes.push_back({"GetPixel " + name + " before", GetPixel(hdc, at.x, at.y)});
        probes.push_back({"SetPixel " + name, SetPixel(hdc, at.x, at.y, RGB(10, 20, 30))});
        probes.push_back({"GetPixel " + name + " after", GetPixel(hdc, at.x, at.y)});
    }
    return probes;
}

} // namespace gdi_conformance
