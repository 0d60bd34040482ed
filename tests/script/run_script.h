// Runs korveline-script as a user would: a script in, exit code and output out.
#pragma once

#include <string>
#include <vector>

namespace kvtest {

struct ScriptRun {
    int exit_code = -1;
    std::string out;
    std::string err;
    std::vector<std::string> out_lines() const;
};

// Writes `script` to a file and runs the program on it (or on standard input with `use_stdin`).
ScriptRun run_script(const std::string& script, bool use_stdin = false);
// `text` between single quotes, for the shell.
std::string quoted(const std::string& text);

// Runs the program with these arguments (already quoted for the shell).
ScriptRun run_program(const std::string& arguments, const std::string& stdin_text = "");

// A fresh, empty directory for one test's files.
std::string scratch_dir(const std::string& name);

} // namespace kvtest
