// The dump file: what GetPixel read back from every cell of the table, and the edge probes.
//
//   gdi-dump 1
//   client W H
//   cell X Y W H GROUP|NAME      then H rows of W pixels: COLORREF values as 8 hex digits, a run
//   ...                          of N equal ones written VALUE*N, separated by spaces
//   probe VALUE NAME
//   end
#pragma once

#include "tools/gdi_conformance/primitive_table.h"

#include <string>
#include <vector>

namespace gdi_conformance {

struct CellPixels {
    Cell cell;
    std::vector<COLORREF> pixels; // row by row
};

// Reads every pixel of each cell back with GetPixel.
std::vector<CellPixels> ReadBack(HDC hdc, const std::vector<Cell>& cells);

// Writes the dump; false when the file cannot be written.
bool WriteDump(const std::string& path, int client_width, int client_height,
               const std::vector<CellPixels>& cells, const std::vector<Probe>& probes);

} // namespace gdi_conformance
