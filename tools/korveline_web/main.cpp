// korveline.html: KORVELINE's WinMain in a web page, over the browser backend.
#include "backends/web/web_backend.h"
#include "user/session.h"

#include <windows.h>

int main() {
    kv::web::WebBackend backend;
    kv::Session session(backend);
    static char no_command_line[] = "";
    return WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT);
}
