#include "tools/gdi_conformance/compare.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace gdi_conformance {

namespace {

const DumpCell* Find(const Dump& dump, const DumpCell& like) {
    for (const DumpCell& cell : dump.cells) {
        if (cell.group == like.group && cell.name == like.name && cell.x == like.x &&
            cell.y == like.y && cell.width == like.width && cell.height == like.height)
            return &cell;
    }
    return nullptr;
}

Agreement& GroupOf(std::vector<Agreement>& groups, const std::string& name) {
    for (Agreement& g : groups) {
        if (g.group == name) return g;
    }
    groups.push_back({name});
    return groups.back();
}

} // namespace

const Agreement* Comparison::group(const std::string& name) const {
    for (const Agreement& g : groups) {
        if (g.group == name) return &g;
    }
    return nullptr;
}

Comparison Compare(const Dump& reference, const Dump& ours) {
    Comparison result;
    for (const DumpCell& cell : reference.cells) {
        Agreement& group = GroupOf(result.groups, cell.group);
        const long total = static_cast<long>(cell.pixels.size());
        group.total += total;
        const DumpCell* other = Find(ours, cell);
        long same = 0;
        if (other) {
            for (std::size_t i = 0; i < cell.pixels.size(); ++i)
                same += cell.pixels[i] == other->pixels[i];
        }
        group.identical += same;
        if (same != total) result.cells.push_back({&cell, other, total - same});
    }
    for (const DumpProbe& probe : reference.probes) {
        ++result.probes.total;
        const auto other = std::find_if(ours.probes.begin(), ours.probes.end(),
                                        [&](const DumpProbe& p) { return p.name == probe.name; });
        if (other != ours.probes.end() && other->value == probe.value) {
            ++result.probes.identical;
        } else {
            result.probe_differences.push_back(
                {probe.name, probe.value, other == ours.probes.end() ? 0u : other->value});
        }
    }
    return result;
}

std::string Report(const Comparison& comparison) {
    std::string text;
    char line[160];
    std::vector<Agreement> rows = comparison.groups;
    rows.push_back(comparison.probes);
    for (const Agreement& g : rows) {
        std::snprintf(line, sizeof line, "%-20s %8ld / %-8ld %8.4f %%\n", g.group.c_str(),
                      g.identical, g.total, 100.0 * g.share());
        text += line;
    }
    for (const ProbeDifference& p : comparison.probe_differences) {
        std::snprintf(line, sizeof line, "  probe %s: reference %08X, ours %08X\n", p.name.c_str(),
                      p.reference, p.ours);
        text += line;
    }
    return text;
}

std::string Picture(const CellDifference& difference) {
    const DumpCell& a = *difference.reference;
    std::map<std::uint32_t, char> letters;
    const auto letter = [&](std::uint32_t value) {
        const auto found = letters.find(value);
        if (found != letters.end()) return found->second;
        static const char kLetters[] = ".XoABCDEFGHIJKLMNPQRSTUVWYZabcdefghijklmnpqrstuvwyz";
        const char c = letters.size() < sizeof kLetters - 1 ? kLetters[letters.size()] : '?';
        letters.emplace(value, c);
        return c;
    };
    std::string text = a.group + " | " + a.name + ": " + std::to_string(difference.differing) +
                       " pixels differ (reference, ours, differences)\n";
    for (int row = 0; row < a.height; ++row) {
        std::string left, right, marks;
        for (int column = 0; column < a.width; ++column) {
            const std::uint32_t mine = difference.ours ? difference.ours->at(column, row) : 0;
            left += letter(a.at(column, row));
            right += difference.ours ? letter(mine) : ' ';
            marks += (!difference.ours || mine != a.at(column, row)) ? '#' : ' ';
        }
        text.append(left).append("  ").append(right).append("  ").append(marks).append("\n");
    }
    for (const auto& [value, c] : letters) {
        char legend[32];
        std::snprintf(legend, sizeof legend, "  %c = %08X\n", c, value);
        text += legend;
    }
    return text;
}

} // namespace gdi_conformance
