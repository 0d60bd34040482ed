// Scripts no one would write: lines of a megabyte and binary garbage. Each is either run or refused
// with one short message naming its line, before anything runs; none crashes the program.
#include "script/run_script.h"
#include "tools/soak/random_source.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

constexpr std::size_t kMegabyte = 1 << 20;

struct LongLine {
    const char* name;
    std::string script;
    int exit_code;
    std::string err; // the whole of standard error, without the "korveline-script: FILE:" prefix
    std::size_t out_lines;
};

void PrintTo(const LongLine& c, std::ostream* os) {
    *os << c.name;
}

std::vector<LongLine> LongLineCases() {
    const std::string digits(kMegabyte, '7');
    return {
        {"a coordinate of a million digits", "state\nclick left " + digits + " 5\n", 2,
         "2: coordinate " + std::string(40, '7') + "... is outside -32768..65535\n", 0},
        {"a tick count of a million zeros, then 1",
         "tick " + std::string(kMegabyte, '0') + "1\nstate\n", 0, "", 1},
        {"a comment of a megabyte", "# " + std::string(kMegabyte, 'x') + "\nstate\n", 0, "", 1},
        {"a megabyte of blanks", std::string(kMegabyte, ' ') + "\t\nstate\n", 0, "", 1},
        {"a megabyte of UTF-8 in a comment",
         "state # " +
             [] {
                 std::string s;
                 while (s.size() < kMegabyte)
                     s += "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
                 return s;
             }() +
             "\n",
         0, "", 1},
        {"an unknown command of a megabyte", std::string(kMegabyte, 'z') + "\n", 2,
         "1: unknown command '" + std::string(40, 'z') + "...'\n", 0},
        {"a megabyte of arguments",
         "tick" + std::string(kMegabyte / 2, ' ') +
             [] {
                 std::string s;
                 while (s.size() < kMegabyte / 2)
                     s += " 1";
                 return s;
             }() +
             "\n",
         2, "1: 'tick' takes at most one argument\n", 0},
        {"a bad byte at the end of a megabyte",
         "state\n# " + std::string(kMegabyte, 'a') + "\xFF\n", 2,
         "2: not valid text: byte 0xFF at column " + std::to_string(kMegabyte + 3) + "\n", 0},
    };
}

class LongLines : public ::testing::TestWithParam<LongLine> {};

TEST_P(LongLines, RunOrAreRefusedWithAShortMessage) {
    const LongLine& c = GetParam();
    for (const bool use_stdin : {false, true}) {
        const auto run = kvtest::run_script(c.script, use_stdin);
        EXPECT_EQ(run.exit_code, c.exit_code) << run.err.substr(0, 200);
        EXPECT_EQ(run.out_lines().size(), c.out_lines);
        if (c.err.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            const std::string name = use_stdin ? "<stdin>" : "test.kvs";
            const std::size_t colon = run.err.find(name + ":");
            ASSERT_NE(colon, std::string::npos) << run.err.substr(0, 200);
            EXPECT_EQ(run.err.substr(colon + name.size() + 1), c.err);
            EXPECT_LT(run.err.size(), 400u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LongLines, ::testing::ValuesIn(LongLineCases()));

TEST(LongSnapshotPath, FailsWithAShortMessage) {
    const auto run =
        kvtest::run_script("state\nsnapshot /tmp/" + std::string(kMegabyte, 'p') + ".png\nstate\n");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out_lines().size(), 1u) << "the run stops at the snapshot";
    EXPECT_NE(run.err.find(":2: cannot write PNG '/tmp/ppp"), std::string::npos)
        << run.err.substr(0, 200);
    EXPECT_LT(run.err.size(), 400u);
}

// Random bytes, the same for a seed on every machine.
std::string Garbage(std::uint64_t seed, std::size_t size) {
    kv::soak::RandomSource random(seed);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random.next() & 0xFF);
    return bytes;
}

// Refused before anything ran, with one short line of standard error naming a line.
void ExpectRefused(const kvtest::ScriptRun& run) {
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out, "") << "nothing may run";
    EXPECT_EQ(run.err.rfind("korveline-script: ", 0), 0u) << run.err;
    EXPECT_TRUE(std::regex_match(run.err, std::regex("korveline-script: [^\n]+:[0-9]+: [^\n]+\n")))
        << run.err;
    EXPECT_LT(run.err.size(), 200u);
}

void ExpectRefusedAsNotText(const kvtest::ScriptRun& run) {
    ExpectRefused(run);
    EXPECT_NE(run.err.find(": not valid text: byte 0x"), std::string::npos) << run.err;
}

TEST(BinaryGarbage, IsRefusedBeforeAnythingRuns) {
    for (std::uint64_t seed = 1; seed <= 16; ++seed) {
        SCOPED_TRACE(seed);
        const std::string garbage = Garbage(seed, 65536);
        ExpectRefused(kvtest::run_script(garbage));
        ExpectRefused(kvtest::run_script(garbage, true));
        // After valid lines: the whole script is checked first, so the state never prints.
        ExpectRefused(kvtest::run_script("state\ntick\nstate\n" + garbage));
    }
}

TEST(BinaryGarbage, NulBytesAndAPictureAreNotScripts) {
    ExpectRefusedAsNotText(kvtest::run_script(std::string("tick\0\n", 6)));
    ExpectRefusedAsNotText(kvtest::run_script(std::string(4096, '\0')));
    ExpectRefusedAsNotText(kvtest::run_script(std::string("state\n\xFE\xFF\0t\0i\0c\0k\0", 17)));

    std::ifstream png(std::string(KORVELINE_SOURCE_DIR) + "/tests/golden/startup.png",
                      std::ios::binary);
    ASSERT_TRUE(png);
    const std::string picture((std::istreambuf_iterator<char>(png)),
                              std::istreambuf_iterator<char>());
    const auto run = kvtest::run_script(picture);
    ExpectRefusedAsNotText(run);
    EXPECT_NE(run.err.find(":1: not valid text: byte 0x89 at column 1"), std::string::npos)
        << run.err;
}

} // namespace
