#include "tools/gdi_conformance/dump_writer.h"

#include <cstdio>

namespace gdi_conformance {

namespace {

void WriteRow(std::FILE* file, const COLORREF* row, long width) {
    long i = 0;
    while (i < width) {
        long run = 1;
        while (i + run < width && row[i + run] == row[i])
            ++run;
        std::fprintf(file, i == 0 ? "%08lX" : " %08lX", static_cast<unsigned long>(row[i]));
        if (run > 1) std::fprintf(file, "*%ld", run);
        i += run;
    }
    std::fputc('\n', file);
}

} // namespace

std::vector<CellPixels> ReadBack(HDC hdc, const std::vector<Cell>& cells) {
    std::vector<CellPixels> result;
    for (const Cell& cell : cells) {
        CellPixels read{cell, {}};
        for (int y = cell.box.top; y < cell.box.bottom; ++y) {
            for (int x = cell.box.left; x < cell.box.right; ++x)
                read.pixels.push_back(GetPixel(hdc, x, y));
        }
        result.push_back(std::move(read));
    }
    return result;
}

bool WriteDump(const std::string& path, int client_width, int client_height,
               const std::vector<CellPixels>& cells, const std::vector<Probe>& probes) {
    // Binary mode: the same bytes on every system.
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fprintf(file, "gdi-dump 1\nclient %d %d\n", client_width, client_height);
    for (const CellPixels& read : cells) {
        const RECT& box = read.cell.box;
        const long width = box.right - box.left;
        std::fprintf(file, "cell %ld %ld %ld %ld %s|%s\n", static_cast<long>(box.left),
                     static_cast<long>(box.top), width, static_cast<long>(box.bottom - box.top),
                     read.cell.group.c_str(), read.cell.name.c_str());
        for (std::size_t start = 0; start < read.pixels.size();
             start += static_cast<std::size_t>(width))
            WriteRow(file, read.pixels.data() + start, width);
    }
    for (const Probe& probe : probes)
        std::fprintf(file, "probe %08lX %s\n", static_cast<unsigned long>(probe.result),
                     probe.name.c_str());
    std::fputs("end\n", file);
    const bool written = std::ferror(file) == 0;
    return std::fclose(file) == 0 && written;
}

} // namespace gdi_conformance
