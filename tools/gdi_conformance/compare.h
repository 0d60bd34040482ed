// Compares two dumps of the table cell by cell: the share of identical pixels per primitive.
#pragma once

#include "tools/gdi_conformance/dump_reader.h"

#include <string>
#include <vector>

namespace gdi_conformance {

struct Agreement {
    std::string group;
    long identical = 0;
    long total = 0;

    double share() const {
        return total == 0 ? 1.0 : static_cast<double>(identical) / static_cast<double>(total);
    }
};

struct CellDifference {
    const DumpCell* reference = nullptr;
    const DumpCell* ours = nullptr; // null when our dump lacks the cell
    long differing = 0;
};

struct ProbeDifference {
    std::string name;
    std::uint32_t reference = 0;
    std::uint32_t ours = 0;
};

struct Comparison {
    std::vector<Agreement> groups; // in the reference's order
    std::vector<CellDifference> cells;
    Agreement probes{"probes"};
    std::vector<ProbeDifference> probe_differences;

    const Agreement* group(const std::string& name) const;
};

// Every cell and probe of `reference`, looked up in `ours` by group, name and box. The result
// points into both dumps.
Comparison Compare(const Dump& reference, const Dump& ours);

// One line per primitive: identical pixels, total, share.
std::string Report(const Comparison& comparison);

// The two pictures of a differing cell side by side, one letter per colour, '#' under every pixel
// that differs.
std::string Picture(const CellDifference& difference);

} // namespace gdi_conformance
