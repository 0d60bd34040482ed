// What the page asks the program beside the picture: the laboratory's table and settings, its
// address read (page_address.h), the motor's state for its buttons and announcements, the
// language and the look. The page writes a
// request (kvWeb.request, one line: a word, then its argument) and calls kv_page_request; the
// answer comes back as kvWeb.reply. A request arrives between two messages of the program, as
// input does, so a setting changed here counts from the next Tick.
#include "shell/changement_langue.h"
#include "shell/scene.h"
#include "base/textes.h"
#include "tools/instruments/lab_settings.h"
#include "tools/instruments/options.h"
#include "tools/korveline_web/page_address.h"

#include <emscripten.h>
#include <windows.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>

// clang-format off
EM_JS(int, kv_js_request_length, (), {
    return lengthBytesUTF8(kvWeb.request);
});
EM_JS(void, kv_js_request, (char* buffer, int size), {
    stringToUTF8(kvWeb.request, buffer, size);
});
EM_JS(void, kv_js_reply, (const char* text), {
    kvWeb.reply = UTF8ToString(text);
});
// clang-format on

namespace {

// A line a setting, tab-separated: its name, its choices (space-separated; none for a number),
// its least and greatest values and its default; then in French and in English, what the panels
// show: its label, its unit (after a number) and its choices' words ('|'-separated).
std::string LabTable() {
    using kv::viewer::Lang;
    std::string text;
    for (const kv::tools::LabSetting& s : kv::tools::kLabSettings) {
        std::string choices, french, english;
        for (const std::string_view choice : s.choices) {
            if (choice.empty()) break;
            const bool first = choices.empty();
            choices.append(first ? "" : " ").append(choice);
            french.append(first ? "" : "|").append(kv::tools::LabChoiceWord(choice, Lang::Fr));
            english.append(first ? "" : "|").append(kv::tools::LabChoiceWord(choice, Lang::En));
        }
        char range[64];
        std::snprintf(range, sizeof range, "%g\t%g", s.min, s.max);
        text.append(s.name).append("\t").append(choices).append("\t").append(range);
        text.append("\t").append(s.fallback);
        for (const Lang lang : {Lang::Fr, Lang::En}) {
            text.append("\t").append(s.label(lang)).append("\t").append(s.shown_unit(lang));
            text.append("\t").append(lang == Lang::Fr ? french : english);
        }
        text.append("\n");
    }
    return text;
}

// The supply (1 on), the four fields shown (left coil, upper-right, lower-right, rotor), the
// brake's value, the rotor's speed as a share of the synchronous speed, and the slip,
// tab-separated: what the page's buttons show and its announcements say.
std::string MotorState() {
    const double share = Mas.omega / labo.OmegaSynchrone();
    char text[160];
    std::snprintf(text, sizeof text, "%d\t%d\t%d\t%d\t%d\t%.17g\t%.17g\t%.17g",
                  alim.amplitude > 0 ? 1 : 0, masdessin.show_field1 ? 1 : 0,
                  masdessin.show_field2 ? 1 : 0, masdessin.show_field3 ? 1 : 0,
                  masdessin.show_resultant ? 1 : 0, frein.couple, share, 1 - share);
    return text;
}

// Asks the window for the language `code`: it changes at the next message and keeps the run.
std::string Language(std::string_view code) {
    const HWND hwnd = FindWindow(g_szClassName, nullptr);
    for (std::size_t i = 0; i < std::size(langues); ++i) {
        if (code != langues[i].code) continue;
        if (hwnd == nullptr) return "no window";
        PostMessage(hwnd, WM_LANGUE, static_cast<WPARAM>(i), 0);
        return {};
    }
    return "unknown language";
}

std::string Answer(std::string_view request) {
    const std::size_t space = request.find(' ');
    const std::string_view word = request.substr(0, space);
    const std::string_view argument =
        space == std::string_view::npos ? std::string_view{} : request.substr(space + 1);
    if (word == "table") return LabTable();
    if (word == "settings") return kv::tools::LabSettingsText(labo);
    if (word == "lab") return kv::tools::SetLabPair(argument, labo);
    if (word == "address") return kv::web::AddressPlanText(kv::web::ReadAddress(argument, labo));
    if (word == "state") return MotorState();
    if (word == "language") return Language(argument);
    if (word == "looks") return kv::tools::known_looks();
    if (word == "look") {
        if (argument == apparences[apparence_courante].nom) return {}; // the look shown now
        return kv::tools::request_look(std::string(argument)) ? "" : "unknown look";
    }
    return "unknown request";
}

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void kv_page_request() {
    std::string request(static_cast<std::size_t>(kv_js_request_length()) + 1, '\0');
    kv_js_request(request.data(), static_cast<int>(request.size()));
    request.pop_back();
    kv_js_reply(Answer(request).c_str());
}
