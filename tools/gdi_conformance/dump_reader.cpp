#include "tools/gdi_conformance/dump_reader.h"

#include <sstream>
#include <stdexcept>

#include <zlib.h>

namespace gdi_conformance {

namespace {

// The whole file, gzip-compressed or not.
std::string ReadAll(const std::string& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file) throw std::runtime_error(path + ": cannot open");
    std::string text;
    char buffer[1 << 16];
    int got = 0;
    while ((got = gzread(file, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    const bool failed = got < 0;
    gzclose(file);
    if (failed) throw std::runtime_error(path + ": cannot read");
    return text;
}

class LineReader {
  public:
    explicit LineReader(const std::string& path) : path_(path), in_(ReadAll(path)) {}

    std::string next() {
        std::string line;
        if (!std::getline(in_, line)) fail("unexpected end of file");
        ++number_;
        return line;
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(path_ + ":" + std::to_string(number_) + ": " + what);
    }

  private:
    std::string path_;
    std::istringstream in_;
    int number_ = 0;
};

std::uint32_t ParseValue(LineReader& reader, const std::string& token) {
    if (token.size() != 8 || token.find_first_not_of("0123456789ABCDEF") != std::string::npos)
        reader.fail("bad pixel value '" + token + "'");
    return static_cast<std::uint32_t>(std::stoul(token, nullptr, 16));
}

void ReadRow(LineReader& reader, DumpCell& cell) {
    std::istringstream row(reader.next());
    std::string token;
    std::size_t count = 0;
    while (row >> token) {
        const std::size_t star = token.find('*');
        const std::uint32_t value = ParseValue(reader, token.substr(0, star));
        long run = 1;
        if (star != std::string::npos) {
            run = std::strtol(token.c_str() + star + 1, nullptr, 10);
            if (run < 2) reader.fail("bad run '" + token + "'");
        }
        count += static_cast<std::size_t>(run);
        if (count > static_cast<std::size_t>(cell.width)) reader.fail("row too long");
        cell.pixels.insert(cell.pixels.end(), static_cast<std::size_t>(run), value);
    }
    if (count != static_cast<std::size_t>(cell.width)) reader.fail("row too short");
}

DumpCell ReadCell(LineReader& reader, std::istringstream& header) {
    DumpCell cell;
    std::string label;
    header >> cell.x >> cell.y >> cell.width >> cell.height;
    std::getline(header >> std::ws, label);
    const std::size_t bar = label.find('|');
    if (!header.eof() || bar == std::string::npos || cell.width <= 0 || cell.height <= 0)
        reader.fail("bad cell header");
    cell.group = label.substr(0, bar);
    cell.name = label.substr(bar + 1);
    for (int row = 0; row < cell.height; ++row)
        ReadRow(reader, cell);
    return cell;
}

} // namespace

Dump ReadDump(const std::string& path) {
    LineReader reader(path);
    if (reader.next() != "gdi-dump 1") reader.fail("not a gdi-dump 1 file");
    Dump dump;
    for (;;) {
        std::istringstream line(reader.next());
        std::string keyword;
        line >> keyword;
        if (keyword == "end") return dump;
        if (keyword == "client") {
            if (!(line >> dump.client_width >> dump.client_height)) reader.fail("bad client line");
        } else if (keyword == "cell") {
            dump.cells.push_back(ReadCell(reader, line));
        } else if (keyword == "probe") {
            DumpProbe probe;
            std::string value;
            line >> value;
            probe.value = ParseValue(reader, value);
            std::getline(line >> std::ws, probe.name);
            dump.probes.push_back(probe);
        } else {
            reader.fail("unknown line '" + keyword + "'");
        }
    }
}

} // namespace gdi_conformance
