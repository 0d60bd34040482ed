// Reads the dump files that gdi-conformance writes (format in dump_writer.h), plain or gzipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gdi_conformance {

struct DumpCell {
    std::string group;
    std::string name;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // COLORREF values, row by row

    std::uint32_t at(int column, int row) const {
        return pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(column)];
    }
};

struct DumpProbe {
    std::string name;
    std::uint32_t value = 0;
};

struct Dump {
    int client_width = 0;
    int client_height = 0;
    std::vector<DumpCell> cells;
    std::vector<DumpProbe> probes;
};

// Throws std::runtime_error naming the file and line when it cannot be read or is malformed.
Dump ReadDump(const std::string& path);

} // namespace gdi_conformance
