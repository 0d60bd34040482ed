// korveline.html: KORVELINE's WinMain in a web page, through the viewer over the browser backend.
// The page chooses the picture's language (?lang=en) and look (?look=projector).
#include "backends/web/web_screen.h"
#include "base/textes.h"
#include "tools/instruments/options.h"
#include "tools/instruments/window_program.h"
#include "user/session.h"
#include "viewer/viewer.h"

#include <emscripten.h>
#include <windows.h>

#include <utility>

// clang-format off
EM_JS(int, kv_js_wants_language, (const char* code), {
    return kvWeb.language === UTF8ToString(code) ? 1 : 0;
});
EM_JS(int, kv_js_wants_look, (const char* name), {
    return kvWeb.look === UTF8ToString(name) ? 1 : 0;
});
// Keys L and A go through the page's own controls, so that its texts and address follow; after
// the key's message, as a click on them would come. A key pressed before the last one's click
// counts from what that one asked.
EM_JS(int, kv_js_next_language, (), {
    const next = (kvWeb.languageAsked || kvWeb.language) === "en" ? "fr" : "en";
    kvWeb.languageAsked = next;
    setTimeout(() => {
        if (kvWeb.languageAsked === next) kvWeb.languageAsked = null;
        document.getElementById("lang-" + next).click();
    }, 0);
    return next === "en" ? 1 : 0;
});
EM_JS(void, kv_js_next_look, (), {
    const looks = document.getElementById("look");
    const next = ((kvWeb.lookAsked ?? looks.selectedIndex) + 1) % looks.options.length;
    kvWeb.lookAsked = next;
    setTimeout(() => {
        if (kvWeb.lookAsked === next) kvWeb.lookAsked = null;
        looks.selectedIndex = next;
        looks.dispatchEvent(new Event("change"));
    }, 0);
});
// Key F2: the page's own Lab panel, opened, its first control focused.
EM_JS(void, kv_js_open_lab, (), {
    const lab = document.getElementById("lab");
    lab.open = true;
    setTimeout(() => { const first = lab.querySelector("select, input"); if (first) first.focus(); }, 0);
});
// clang-format on

int main() {
    // The language the page asks for, when it is one the picture knows; French otherwise.
    for (const LangueTextes& langue : langues) {
        if (kv_js_wants_language(langue.code) != 0) kv::tools::select_language(langue.code);
    }
    // The look likewise; the page tells of a look it does not know.
    for (const tagApparence& apparence : apparences) {
        if (kv_js_wants_look(apparence.nom) != 0) kv::tools::select_look(apparence.nom);
    }
    RunData data;
    kv::web::WebScreen screen;
    // The viewer's own texts (the keys, F1) in the picture's language, chosen above.
    kv::viewer::Program program = WindowProgram(data);
    program.next_language = [] {
        return kv_js_next_language() != 0 ? kv::viewer::Lang::En : kv::viewer::Lang::Fr;
    };
    program.next_look = [] { kv_js_next_look(); };
    // The page has its Lab panel beside the picture, of real form controls: the key opens it.
    program.panel = {};
    program.open_panel = [] { kv_js_open_lab(); };
    kv::viewer::Viewer viewer(screen, std::move(program));
    kv::Session session(viewer);
    static char no_command_line[] = "";
    return WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT);
}
