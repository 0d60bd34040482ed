// Reading back the files the programs write: a file's lines, a line's cells.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kvtest {

// The lines of a text file, without their ends; none if it cannot be read.
inline std::vector<std::string> lines_of(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The cells of a line between `separator`s; a trailing empty cell is not one.
inline std::vector<std::string> cells_of(const std::string& line, char separator) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, separator);)
        cells.push_back(cell);
    return cells;
}

} // namespace kvtest
