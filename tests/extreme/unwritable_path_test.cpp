// Snapshots to paths that cannot be written, even by root: the run stops at that line with exit
// code 2 and one message naming the path and the reason, what ran before has been printed, and no
// temporary file is left behind.
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Unwritable {
    const char* name;
    std::string (*path)(const std::string& dir); // in the test's scratch directory
    const char* reason;
};

void PrintTo(const Unwritable& u, std::ostream* os) {
    *os << u.name;
}

const Unwritable kPaths[] = {
    {"a directory that does not exist",
     [](const std::string& dir) { return dir + "/missing/x.png"; }, "No such file or directory"},
    {"a path through a plain file", [](const std::string& dir) { return dir + "/file.txt/x.png"; },
     "Not a directory"},
    {"an existing directory", [](const std::string& dir) { return dir + "/folder.png"; },
     "Is a directory"},
    {"a name too long for the file system",
     [](const std::string& dir) { return dir + "/" + std::string(300, 'n') + ".png"; },
     "File name too long"},
    {"a file in /proc", [](const std::string&) { return std::string("/proc/korveline.png"); }, ""},
};

class UnwritablePaths : public ::testing::TestWithParam<Unwritable> {};

TEST_P(UnwritablePaths, StopTheRunAtTheirLineAndLeaveNothingBehind) {
    const std::string dir = kvtest::scratch_dir("unwritable");
    std::ofstream(dir + "/file.txt") << "a plain file\n";
    fs::create_directories(dir + "/folder.png/inside");
    const std::string path = GetParam().path(dir);

    const auto run = kvtest::run_script("tick\nstate\nsnapshot " + path + "\nstate\n");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out_lines().size(), 1u) << "the state before printed, the one after did not";
    EXPECT_NE(run.err.find(":3: cannot write PNG '" + path.substr(0, 40)), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(GetParam().reason), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;

    for (const auto& entry : fs::recursive_directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    EXPECT_FALSE(fs::exists("/proc/korveline.png.tmp"));
    EXPECT_TRUE(fs::is_directory(dir + "/folder.png/inside")) << "the directory is left as it was";
}

INSTANTIATE_TEST_SUITE_P(Table, UnwritablePaths, ::testing::ValuesIn(kPaths));

} // namespace
