// What korveline.exe asks of Windows besides its window: its command line, and a box to show a
// text in (its --help, what is wrong with an option), since a program of the Windows subsystem
// has no terminal to write to. No <windows.h> here: the program's main is compiled against the
// platform's own.
#pragma once

#include <string>
#include <vector>

namespace kv::win32 {

// The arguments after the program's name, UTF-8, split as Windows splits a command line.
std::vector<std::string> command_line_arguments();

// A message box with `text` (UTF-8), an error's or an information's.
void show_text(const std::string& caption, const std::string& text, bool error);

// The user's Pictures folder (UTF-8) when Windows names one that exists, else the current
// folder ("."). Asked each time: the user may move it while the program runs.
std::string pictures_folder();

} // namespace kv::win32
