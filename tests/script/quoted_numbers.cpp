#include "script/quoted_numbers.h"

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
    static const std::regex quoted(R"((-?[0-9]+(?:[.,][0-9]+)?)<!--kv:([a-z0-9_]+)-->)");
    std::vector<std::string> names;
    for (std::sregex_iterator it(text.begin(), text.end(), quoted), end; it != end; ++it) {
        std::string written = (*it)[1];
        const std::string name = (*it)[2];
        if (!name.starts_with(prefix)) continue;
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
    while (std::getline(in, line)) {
        // The model's own columns come first; real values and settings follow.
        std::vector<double> v;
        std::istringstream cells(line);
        for (std::string cell; v.size() < 18 && std::getline(cells, cell, ',');)
            v.push_back(std::stod(cell));
        EXPECT_EQ(v.size(), 18u) << path;
        if (v.size() == 18)
            rows.push_back({v[0], v[2], -v[4], v[6], v[7], v[8], v[9] + v[10] + v[11]});
    }
    EXPECT_FALSE(rows.empty()) << path;
    return rows;
}

void ExpectSteady(const std::vector<TraceRow>& rows, std::size_t at, const std::string& what) {
    ASSERT_LT(at, rows.size()) << what;
    ASSERT_GE(at, 400u) << what << ": not traced long enough to tell";
    const TraceRow &now = rows[at], &before = rows[at - 400];
    EXPECT_EQ(now.tick - before.tick, 400) << what;
    EXPECT_LT(std::abs(now.slip - before.slip), 1e-5) << what << " is still moving";
    EXPECT_LT(std::abs(now.torque - now.brake), 1e-3) << what << " is still moving";
}

} // namespace kvtest
