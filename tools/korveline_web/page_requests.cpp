// What the page asks the program beside the picture: the laboratory's table and settings, its
// address read (page_address.h), the motor's state for its buttons and announcements, the
// picture's regions for its buttons, the language and the look. The page writes a request
// (kvWeb.request, one line: a word, then its argument) and calls kv_page_request; the answer, in
// JSON with named fields, comes back as kvWeb.reply. A request arrives between two messages of
// the program, as input does, so a setting changed here counts from the next Tick.
#include "base/apparences.h"
#include "base/textes.h"
#include "shell/changement_langue.h"
#include "shell/scene.h"
#include "shell/zones.h"
#include "tools/instruments/focus_regions.h"
#include "tools/instruments/lab_panel.h"
#include "tools/instruments/lab_settings.h"
#include "tools/instruments/options.h"
#include "tools/korveline_web/page_address.h"
#include "tools/korveline_web/page_json.h"

#include <emscripten.h>
#include <windows.h>

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

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

namespace json = kv::web::json;
using kv::viewer::Lang;

void InBoth(json::Writer& w, std::string_view french, std::string_view english) {
    w.begin_object().key("fr").text(french).key("en").text(english).end_object();
}

// Each setting: its name, its label in both languages and its default; then its choices (each as
// typed, and its words in both languages), or its range, its unit and the panel's step: "step"
// added or taken, or "scale" multiplied or divided by.
std::string LabTable() {
    json::Writer w;
    w.begin_array();
    for (const kv::tools::LabSetting& s : kv::tools::kLabSettings) {
        w.begin_object().key("name").text(s.name).key("label");
        InBoth(w, s.label.fr, s.label.en);
        w.key("default").text(s.fallback);
        if (!s.choices[0].empty()) {
            w.key("choices").begin_array();
            for (const std::string_view choice : s.choices) {
                if (choice.empty()) break;
                w.begin_object().key("value").text(choice);
                w.key("fr").text(kv::tools::LabChoiceWord(choice, Lang::Fr));
                w.key("en").text(kv::tools::LabChoiceWord(choice, Lang::En)).end_object();
            }
            w.end_array();
        } else {
            w.key("min").number(s.min).key("max").number(s.max).key("unit");
            InBoth(w, s.shown_unit.fr, s.shown_unit.en);
            if (s.step > 0) {
                w.key("step").number(s.step);
            } else {
                w.key("scale").number(2);
            }
        }
        w.end_object();
    }
    w.end_array();
    return w.str();
}

// Every setting by its name, its value as typed.
std::string LabSettings() {
    json::Writer w;
    w.begin_object();
    for (const kv::tools::LabSetting& s : kv::tools::kLabSettings)
        w.key(s.name).text(kv::tools::LabValue(s, labo));
    w.end_object();
    return w.str();
}

// What went wrong, or nothing.
std::string Outcome(const std::string& error) {
    json::Writer w;
    w.begin_object();
    if (!error.empty()) w.key("error").text(error);
    w.end_object();
    return w.str();
}

// "NAME up" or "NAME down": the setting one step on, as the window's panel steps it; nothing
// changes at the range's end.
std::string StepSetting(std::string_view argument) {
    const std::size_t space = argument.find(' ');
    const std::string_view name = argument.substr(0, space);
    const std::string_view way =
        space == std::string_view::npos ? std::string_view{} : argument.substr(space + 1);
    for (std::size_t row = 0; row < kv::tools::kLabSettings.size(); ++row) {
        if (kv::tools::kLabSettings[row].name != name) continue;
        if (way != "up" && way != "down") return Outcome("step up or down");
        kv::tools::StepLabRow(row, way == "up" ? 1 : -1, labo);
        return Outcome({});
    }
    return Outcome("unknown setting");
}

// The picture's regions in Tab's order, by their codes: the client pixels each answers to (left
// and top in, right and bottom out) and where a click in it goes, as Enter's does.
std::string Regions() {
    const std::vector<kv::viewer::FocusRegion> regions = FocusRegions();
    json::Writer w;
    w.begin_array();
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const kv::Rect& r = regions[i].rect;
        const kv::Point middle = FocusRegionMiddle(r);
        w.begin_object().key("name").text(zones[i].code);
        w.key("left").number(static_cast<double>(r.left));
        w.key("top").number(static_cast<double>(r.top));
        w.key("right").number(static_cast<double>(r.right));
        w.key("bottom").number(static_cast<double>(r.bottom));
        w.key("x").number(static_cast<double>(middle.x));
        w.key("y").number(static_cast<double>(middle.y)).end_object();
    }
    w.end_array();
    return w.str();
}

// What the page's buttons show and its announcements say: the supply and the four fields shown,
// by their regions' codes, the brake's value, the rotor's speed as a share of the synchronous
// speed, and the slip.
std::string MotorState() {
    const double share = Mas.omega / labo.OmegaSynchrone();
    json::Writer w;
    w.begin_object().key("on").begin_object();
    w.key(zones[ZONE_ALIM].code).boolean(alim.amplitude > 0);
    w.key(zones[ZONE_BOBINE_GAUCHE].code).boolean(masdessin.show_field1);
    w.key(zones[ZONE_BOBINE_HAUT].code).boolean(masdessin.show_field2);
    w.key(zones[ZONE_BOBINE_BAS].code).boolean(masdessin.show_field3);
    w.key(zones[ZONE_ROTOR].code).boolean(masdessin.show_resultant);
    w.end_object().key("brake").number(frein.couple);
    w.key("share").number(share).key("slip").number(1 - share).end_object();
    return w.str();
}

std::string Looks() {
    json::Writer w;
    w.begin_array();
    for (const tagApparence& apparence : apparences)
        w.text(apparence.nom);
    w.end_array();
    return w.str();
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

std::string Look(std::string_view name) {
    if (name == apparences[apparence_courante].nom) return {}; // the look shown now
    return kv::tools::request_look(std::string(name)) ? "" : "unknown look";
}

std::string Answer(std::string_view request) {
    const std::size_t space = request.find(' ');
    const std::string_view word = request.substr(0, space);
    const std::string_view argument =
        space == std::string_view::npos ? std::string_view{} : request.substr(space + 1);
    if (word == "table") return LabTable();
    if (word == "settings") return LabSettings();
    if (word == "lab") return Outcome(kv::tools::SetLabPair(argument, labo));
    if (word == "step") return StepSetting(argument);
    if (word == "address") return kv::web::AddressPlanJson(kv::web::ReadAddress(argument, labo));
    if (word == "regions") return Regions();
    if (word == "state") return MotorState();
    if (word == "language") return Outcome(Language(argument));
    if (word == "looks") return Looks();
    if (word == "look") return Outcome(Look(argument));
    return Outcome("unknown request");
}

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void kv_page_request() {
    std::string request(static_cast<std::size_t>(kv_js_request_length()) + 1, '\0');
    kv_js_request(request.data(), static_cast<int>(request.size()));
    request.pop_back();
    kv_js_reply(Answer(request).c_str());
}
