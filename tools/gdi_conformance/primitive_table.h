// The table of GDI primitives that the conformance program draws on its client area, one cell
// each, so that real GDI and our layer can be compared cell by cell. Plain Win32 code: it builds
// against the real <windows.h> and against our layer's.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace gdi_conformance {

struct Cell {
    std::string group; // the primitive, as the report adds them up
    std::string name;  // this case
    RECT box;          // client coordinates, right and bottom exclusive
};

// A SetPixel or GetPixel call whose result is compared, at or beyond the client area's edges.
struct Probe {
    std::string name;
    COLORREF result;
};

// The width and height the table needs; the client area must be at least this large.
constexpr int kTableWidth = 760;
constexpr int kTableHeight = 520;

// Draws every primitive on `hdc` (a fresh DC of the window, as GetDC gives it) and returns the
// cells, in drawing order.
std::vector<Cell> DrawTable(HDC hdc);

// SetPixel and GetPixel at the corners of a client area of this size and just beyond them.
std::vector<Probe> ProbeEdges(HDC hdc, int client_width, int client_height);

} // namespace gdi_conformance
