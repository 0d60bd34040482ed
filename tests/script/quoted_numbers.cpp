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

} // namespace kvtest
