#include "script/run_script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace kvtest {

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The program under test; KORVELINE_SCRIPT may name another build of it.
std::string program() {
    const char* path = std::getenv("KORVELINE_SCRIPT");
    return path ? path : KORVELINE_SCRIPT_PROGRAM;
}

} // namespace

std::vector<std::string> ScriptRun::out_lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string scratch_dir(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    fs::path dir = fs::path(KORVELINE_TEST_SCRATCH) /
                   (std::string(info->test_suite_name()) + "." + info->name() + "." + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

// Built by appending: gcc 12 at -O3 misreads `"'" + string` (an insert at the front) as an
// overlapping copy (-Wrestrict).
std::string quoted(const std::string& text) {
    std::string q;
    q.reserve(text.size() + 2);
    q += '\'';
    q += text;
    q += '\'';
    return q;
}

ScriptRun run_program(const std::string& arguments, const std::string& stdin_text) {
    const fs::path dir = scratch_dir("run");
    const fs::path in = dir / "stdin", out = dir / "stdout", err = dir / "stderr";
    std::ofstream(in, std::ios::binary) << stdin_text;
    const std::string command = quoted(program()) + " " + arguments + " <" + quoted(in.string()) +
                                " >" + quoted(out.string()) + " 2>" + quoted(err.string());
    const int status = std::system(command.c_str());
    ScriptRun run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = slurp(out);
    run.err = slurp(err);
    return run;
}

ScriptRun run_script(const std::string& script, bool use_stdin) {
    if (use_stdin) return run_program("", script);
    const fs::path file = fs::path(scratch_dir("script")) / "test.kvs";
    std::ofstream(file, std::ios::binary) << script;
    return run_program(quoted(file.string()));
}

} // namespace kvtest
