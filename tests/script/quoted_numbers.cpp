#include "script/quoted_numbers.h"

#include "tools/instruments/lab_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

namespace kvtest {

double Field(const std::string& state, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    const auto at = state.find(tag);
    EXPECT_NE(at, std::string::npos) << key << " in " << state;
    return at == std::string::npos ? NAN : std::stod(state.substr(at + tag.size()));
}

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

void CheckQuoted(const std::string& doc, const std::map<std::string, double>& measured,
                 const std::string& prefix) {
    const std::string text = Slurp(std::string(KORVELINE_SOURCE_DIR) + "/" + doc);
    EXPECT_FALSE(text.empty()) << doc;
    // Thousands may be grouped by a narrow no-break space (U+202F), as French writes 1 500.
    static const std::string group = "\xE2\x80\xAF";
    static const std::regex quoted("(-?[0-9]+(?:" + group + "[0-9]{3})*(?:[.,][0-9]+)?)" +
                                   R"(<!--kv:([a-z0-9_]+)-->)");
    std::vector<std::string> names;
    for (std::sregex_iterator it(text.begin(), text.end(), quoted), end; it != end; ++it) {
        std::string written = (*it)[1];
        const std::string name = (*it)[2];
        if (!name.starts_with(prefix)) continue;
        for (auto at = written.find(group); at != std::string::npos; at = written.find(group))
            written.erase(at, group.size());
        std::replace(written.begin(), written.end(), ',', '.');
        names.push_back(name);
        const auto found = measured.find(name);
        if (found == measured.end()) {
            ADD_FAILURE() << doc << " quotes " << name << ", which no run measures";
            continue;
        }
        const auto point = written.find('.');
        const int decimals =
            point == std::string::npos ? 0 : static_cast<int>(written.size() - point - 1);
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.*f", decimals, found->second);
        EXPECT_EQ(written, expected) << doc << ": " << name << " is now " << found->second;
    }
    for (const auto& [name, value] : measured)
        EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end())
            << doc << " does not quote " << name << " (" << value << ")";
}

std::vector<TraceRow> ReadTrace(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::vector<TraceRow> rows;
    std::string line;
    std::getline(in, line); // the header
    // The start's columns come after the settings, whose number may grow: found by name.
    std::vector<std::string> names;
    {
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            names.push_back(cell);
    }
    const auto column = [&](const std::string& name) {
        return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) -
                                        names.begin());
    };
    // A trace started with none of the later settings changed has no start's columns: direct on
    // line, all of the voltage.
    const std::size_t stage_column = column("start_stage");
    const std::size_t voltage_column = column("applied_voltage_percent");
    while (std::getline(in, line)) {
        std::vector<std::string> all;
        {
            std::istringstream cells(line);
            for (std::string cell; std::getline(cells, cell, ',');)
                all.push_back(cell);
        }
        const bool start = voltage_column < all.size();
        // The model's own columns come first; real values and settings follow.
        std::vector<double> v;
        std::istringstream cells(line);
        for (std::string cell; v.size() < 26 && std::getline(cells, cell, ',');)
            v.push_back(std::stod(cell));
        EXPECT_EQ(v.size(), 26u) << path;
        if (v.size() != 26) continue;
        // The model's speeds are negative and its torques positive in the direct order's
        // driving direction; the field's speed (column 18) tells the direction.
        const double way = v[18] < 0 ? 1 : -1;
        const double squares = v[12] * v[12] + v[13] * v[13] + v[14] * v[14];
        const double largest = std::max({std::abs(v[12]), std::abs(v[13]), std::abs(v[14])});
        rows.push_back({v[0], v[2], -way * v[4], v[6], way * v[7], v[8],
                        way * (v[9] + v[10] + v[11]), std::sqrt(2 * squares / 3), largest, v[19],
                        v[20], v[21], v[22], v[23], v[24], v[25],
                        start ? std::stod(all[stage_column]) : 0,
                        start ? std::stod(all[voltage_column]) : 100});
    }
    EXPECT_FALSE(rows.empty()) << path;
    return rows;
}

double MeanOver(const std::vector<TraceRow>& rows, std::size_t at, std::size_t count,
                double TraceRow::*field) {
    double sum = 0;
    for (std::size_t i = at + 1 - count; i <= at; i++)
        sum += rows[i].*field;
    return sum / static_cast<double>(count);
}

void ExpectSteady(const std::vector<TraceRow>& rows, std::size_t at, const std::string& what,
                  std::size_t average) {
    ASSERT_LT(at, rows.size()) << what;
    ASSERT_GE(at, 400 + average - 1) << what << ": not traced long enough to tell";
    const TraceRow &now = rows[at], &before = rows[at - 400];
    EXPECT_EQ(now.tick - before.tick, 400) << what;
    const auto mean = [&](std::size_t i, double TraceRow::*f) {
        return MeanOver(rows, i, average, f);
    };
    EXPECT_LT(std::abs(mean(at, &TraceRow::slip) - mean(at - 400, &TraceRow::slip)), 1e-5)
        << what << " is still moving";
    EXPECT_LT(std::abs(mean(at, &TraceRow::torque) - now.load), 1e-3) << what << " is still moving";
}

tagLabo LabFor(const std::string& pairs) {
    tagLabo settings;
    std::istringstream words(pairs);
    for (std::string pair; words >> pair;)
        EXPECT_EQ(kv::tools::SetLabPair(pair, settings), "") << pair;
    return settings;
}

tagCaracteristique CurveFor(const std::string& pairs) {
    return MesureCaracteristique(LabFor(pairs));
}

} // namespace kvtest
