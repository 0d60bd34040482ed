#include "tools/gdi_conformance/headless_run.h"

#include "backends/headless/script.h"
#include "backends/headless/scripted_backend.h"
#include "user/session.h"

#include <windows.h>

#include <iostream>
#include <variant>
#include <vector>

namespace gdi_conformance {

int RunHeadless(const std::string& dump_path) {
    auto script = kv::headless::parse_script("tick\n");
    kv::headless::ScriptOutput output{&std::cout, &std::cerr, [] { return std::string(); }};
    kv::headless::ScriptedBackend backend(std::move(std::get<0>(script)), output);
    kv::Session session(backend);
    std::vector<char> command_line(dump_path.begin(), dump_path.end());
    command_line.push_back('\0');
    return WinMain(GetModuleHandle(nullptr), nullptr, command_line.data(), SW_SHOWDEFAULT);
}

} // namespace gdi_conformance
