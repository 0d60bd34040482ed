// korveline.html: KORVELINE's WinMain in a web page, over the browser backend. The page chooses
// the picture's language (?lang=en), and receives the run's data row by row (korveline-script's
// trace) and, when it asks, the readout's rows.
#include "backends/web/web_backend.h"
#include "shell/textes.h"
#include "tools/common/language_option.h"
#include "tools/common/readout.h"
#include "tools/common/trace_csv.h"
#include "user/session.h"

#include <emscripten.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

// clang-format off
EM_JS(int, kv_js_wants_language, (const char* code), {
    return kvWeb.language === UTF8ToString(code) ? 1 : 0;
});
EM_JS(void, kv_js_data_header, (const char* header), {
    kvWeb.dataHeader(UTF8ToString(header));
});
EM_JS(void, kv_js_data_row, (const char* row), {
    kvWeb.dataRow(UTF8ToString(row));
});
// clang-format on

namespace {

// The language the page asks for, when it is one the picture knows; French otherwise.
void select_page_language() {
    for (const LangueTextes& langue : langues) {
        if (kv_js_wants_language(langue.code) != 0) kv::tools::select_language(langue.code);
    }
}

std::string hex_colour(kv::Color c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", static_cast<unsigned>(c & 0xFF),
                  static_cast<unsigned>((c >> 8) & 0xFF), static_cast<unsigned>((c >> 16) & 0xFF));
    return buffer;
}

} // namespace

// The readout for the page: the title, then one line a row, its fields separated by tabs (left,
// right, swatch colour or nothing). ASCII only.
extern "C" EMSCRIPTEN_KEEPALIVE const char* kv_web_readout() {
    static std::string text;
    text = kReadoutTitle;
    for (const kv::viewer::BoxRow& row : ReadoutRows()) {
        text += '\n' + row.left + '\t' + row.right + '\t' +
                (row.swatch ? hex_colour(*row.swatch) : std::string());
    }
    return text.c_str();
}

int main() {
    select_page_language();
    kv_js_data_header(kTraceHeader);
    TraceSampler sampler;
    kv::Session* session_ptr = nullptr;
    kv::web::TickHooks hooks;
    hooks.starting = [&] { sampler.BeforeTick(); };
    // WM_CREATE runs the first Tick itself; the timer's are numbered from 2.
    hooks.done = [&] { kv_js_data_row(sampler.Row(1 + session_ptr->timer_messages()).c_str()); };
    kv::web::WebBackend backend(std::move(hooks));
    kv::Session session(backend);
    session_ptr = &session;
    static char no_command_line[] = "";
    return WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT);
}
