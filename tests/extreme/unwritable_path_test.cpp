// Snapshots, recordings and traces to paths that cannot be written, even by root: the run stops at
// that line with exit code 2 and one message naming the path and the reason, what ran before has
// been printed, and no temporary file is left behind.
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
    // In the test's scratch directory, ending in `extension`.
    std::string (*path)(const std::string& dir, const std::string& extension);
    const char* reason;
};

void PrintTo(const Unwritable& u, std::ostream* os) {
    *os << u.name;
}

const Unwritable kPaths[] = {
    {"a directory that does not exist",
     [](const std::string& dir, const std::string& ext) { return dir + "/missing/x" + ext; },
     "No such file or directory"},
    {"a path through a plain file",
     [](const std::string& dir, const std::string& ext) { return dir + "/file.txt/x" + ext; },
     "Not a directory"},
    {"an existing directory",
     [](const std::string& dir, const std::string& ext) { return dir + "/folder" + ext; },
     "Is a directory"},
    {"a name too long for the file system",
     [](const std::string& dir, const std::string& ext) {
         return dir + "/" + std::string(300, 'n') + ext;
     },
     "File name too long"},
    {"a file in /proc",
     [](const std::string&, const std::string& ext) { return "/proc/korveline" + ext; }, ""},
};

// The commands that write a file: how a script line names it, its extension, its kind.
struct Writer {
    const char* line; // the path goes where the {} is
    const char* extension;
    const char* kind;
};

void PrintTo(const Writer& w, std::ostream* os) {
    *os << w.kind;
}

const Writer kWriters[] = {
    {"snapshot {}", ".png", "PNG"},
    {"record {} 3", ".gif", "GIF"},
    {"trace {}", ".csv", "CSV"},
};

class UnwritablePaths : public ::testing::TestWithParam<std::tuple<Unwritable, Writer>> {};

TEST_P(UnwritablePaths, StopTheRunAtTheirLineAndLeaveNothingBehind) {
    const auto& [unwritable, writer] = GetParam();
    const std::string dir = kvtest::scratch_dir("unwritable");
    std::ofstream(dir + "/file.txt") << "a plain file\n";
    fs::create_directories(dir + "/folder" + writer.extension + "/inside");
    const std::string path = unwritable.path(dir, writer.extension);
    std::string line = writer.line;
    line.replace(line.find("{}"), 2, path);

    const auto run = kvtest::run_script("tick\nstate\n" + line + "\nstate\n");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out_lines().size(), 1u) << "the state before printed, the one after did not";
    EXPECT_NE(
        run.err.find(":3: cannot write " + std::string(writer.kind) + " '" + path.substr(0, 40)),
        std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(unwritable.reason), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;

    for (const auto& entry : fs::recursive_directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    EXPECT_FALSE(fs::exists("/proc/korveline" + std::string(writer.extension) + ".tmp"));
    EXPECT_TRUE(fs::is_directory(dir + "/folder" + writer.extension + "/inside"))
        << "the directory is left as it was";
}

INSTANTIATE_TEST_SUITE_P(Table, UnwritablePaths,
                         ::testing::Combine(::testing::ValuesIn(kPaths),
                                            ::testing::ValuesIn(kWriters)));

} // namespace
