// docs/architecture.md is the map of the code: every file and folder it names in backticks
// exists. A path may end in a wildcard (`tests/golden/*.png`); a bare file name
// (`x11_shm_window.cpp`) must be somewhere in the tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = KORVELINE_SOURCE_DIR;

bool exists_somewhere(const std::string& name) {
    for (auto it = fs::recursive_directory_iterator(kRoot);
         it != fs::recursive_directory_iterator(); ++it) {
        const std::string part = it->path().filename().string();
        if (it->is_directory() && (part == "build" || part == ".git" || part == "node_modules")) {
            it.disable_recursion_pending();
        } else if (part == name) {
            return true;
        }
    }
    return false;
}

bool matches(const std::string& pattern) {
    const fs::path path = kRoot / pattern;
    if (pattern.find('*') == std::string::npos) return fs::exists(path);
    const std::regex wildcard(std::regex_replace(
        std::regex_replace(path.filename().string(), std::regex(R"(\.)"), R"(\.)"),
        std::regex(R"(\*)"), ".*"));
    if (!fs::is_directory(path.parent_path())) return false;
    for (const auto& entry : fs::directory_iterator(path.parent_path()))
        if (std::regex_match(entry.path().filename().string(), wildcard)) return true;
    return false;
}

TEST(Architecture, EveryPathTheMapNamesExists) {
    std::ifstream file(kRoot / "docs/architecture.md");
    std::stringstream text;
    text << file.rdbuf();
    const std::string map = text.str();
    const std::regex quoted("`([^`\\s]+)");
    const std::regex file_name(R"([\w.-]+\.(cpp|h|md|sh|cmake|mjs|json|txt|kvs|png|gz))");
    std::vector<std::string> checked, missing;
    for (auto m = std::sregex_iterator(map.begin(), map.end(), quoted); m != std::sregex_iterator();
         ++m) {
        const std::string name = (*m)[1];
        const bool path =
            name.find('/') != std::string::npos && name.find("::") == std::string::npos;
        if (!path && !std::regex_match(name, file_name)) continue;
        checked.push_back(name);
        if (path ? !matches(name) : !exists_somewhere(name)) missing.push_back(name);
    }
    EXPECT_GE(checked.size(), 30u) << "the map names fewer paths than it did";
    EXPECT_TRUE(missing.empty()) << "named but not there: " << ::testing::PrintToString(missing);
}

} // namespace
