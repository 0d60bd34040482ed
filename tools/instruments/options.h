// The options korveline and korveline-script take on their command line: the picture's language
// (--lang LANG, else the KORVELINE_LANG environment variable, else French) and look (--look
// LOOK), and korveline's laboratory settings (--lab NAME=VALUE [NAME=VALUE ...], as many times
// as wanted); and the look asked of the running window, as the viewer's key and the page ask for
// it. An option's value comes as --NAME VALUE or --NAME=VALUE.
#pragma once

#include "model/labo.h"
#include "base/apparences.h"
#include "shell/scene.h"
#include "base/textes.h"
#include "tools/instruments/lab_settings.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::tools {

// Takes every `option` ("--lang") and its value out of `args` (the last one counts). Returns
// `missing` for one given without a value, or an empty string; `value` stays empty when the
// option was not given.
inline std::string take_value_option(std::vector<std::string>& args, std::string_view option,
                                     std::string& value, const std::string& missing) {
    const std::string with_value = std::string(option) + "=";
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg.starts_with(with_value)) {
            value = arg.substr(with_value.size());
        } else if (arg == option && i + 1 < args.size()) {
            value = args[++i];
        } else if (arg == option) {
            value.clear();
        } else {
            rest.push_back(args[i]);
            continue;
        }
        if (value.empty()) return missing;
    }
    args = std::move(rest);
    return {};
}

// Takes every --lab option and its settings out of `args` and sets them in `labo`, in order.
// Returns what is wrong, or an empty string.
inline std::string take_lab_option(std::vector<std::string>& args, tagLabo& labo) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::vector<std::string> pairs;
        if (arg.starts_with("--lab=")) {
            pairs.emplace_back(arg.substr(6));
        } else if (arg == "--lab") {
            while (i + 1 < args.size() && !args[i + 1].starts_with("-"))
                pairs.push_back(args[++i]);
            if (pairs.empty()) return "--lab needs settings NAME=VALUE";
        } else {
            rest.push_back(args[i]);
            continue;
        }
        for (const std::string& pair : pairs) {
            if (std::string error = SetLabPair(pair, labo); !error.empty())
                return "--lab: " + error;
        }
    }
    args = std::move(rest);
    return {};
}

// Takes every --lang option out of `args` (the last one counts). Returns what is wrong, or an
// empty string; `lang` stays empty when no option was given.
inline std::string take_language_option(std::vector<std::string>& args, std::string& lang) {
    return take_value_option(args, "--lang", lang, "--lang needs a language");
}

// Draws the picture's texts in `lang`, or when it is empty in KORVELINE_LANG's language (French
// when that is unset or empty). Returns what is wrong, or an empty string.
inline std::string select_language(std::string lang) {
    std::string origin = "--lang";
    if (lang.empty()) {
        const char* env = std::getenv("KORVELINE_LANG");
        if (env == nullptr || *env == '\0') return {};
        lang = env;
        origin = "KORVELINE_LANG";
    }
    if (const tagTextes* table = TextesLangue(lang.c_str())) {
        textes = table;
        return {};
    }
    std::string known;
    for (const LangueTextes& langue : langues)
        known += (known.empty() ? "" : ", ") + std::string(langue.code);
    return origin + ": unknown language '" + lang + "' (known: " + known + ")";
}

// Every look's name, for messages and help: "default, colour-vision, projector".
inline std::string known_looks() {
    std::string known;
    for (const tagApparence& apparence : apparences)
        known += (known.empty() ? "" : ", ") + std::string(apparence.nom);
    return known;
}

// Takes every --look option out of `args` (the last one counts). Returns what is wrong, or an
// empty string; `look` stays empty when no option was given.
inline std::string take_look_option(std::vector<std::string>& args, std::string& look) {
    return take_value_option(args, "--look", look, "--look needs a look (" + known_looks() + ")");
}

// Draws the picture in `look` from the start (nothing when it is empty). Returns what is wrong, or
// an empty string.
inline std::string select_look(const std::string& look) {
    if (look.empty()) return {};
    const int apparence = ApparenceNommee(look.c_str());
    if (apparence < 0) return "--look: unknown look '" + look + "' (known: " + known_looks() + ")";
    ChoisirApparence(apparence);
    return {};
}

// korveline's options: --lang, --look and --lab taken out of `args` and applied to the program
// about to start (the language, the look, the laboratory's settings in `labo`). Returns what is
// wrong, or an empty string; what `args` keeps is not an option of these.
inline std::string take_window_options(std::vector<std::string>& args, tagLabo& labo) {
    std::string lang;
    std::string look;
    std::string error = take_language_option(args, lang);
    if (error.empty()) error = take_look_option(args, look);
    if (error.empty()) error = take_lab_option(args, labo);
    if (error.empty() && args.empty()) error = select_language(lang);
    if (error.empty() && args.empty()) error = select_look(look);
    return error;
}

// Asks the running program's window to take `look`: it changes at the next message, keeps the
// run and repaints what the look changes. Safe at any moment, from any hook of a program, since it
// only posts a message. False for an unknown look or when there is no window.
inline bool request_look(const std::string& look) {
    const int apparence = ApparenceNommee(look.c_str());
    const HWND hwnd = FindWindow(g_szClassName, nullptr);
    if (apparence < 0 || hwnd == nullptr) return false;
    return PostMessage(hwnd, WM_APPARENCE, static_cast<WPARAM>(apparence), 0) != FALSE;
}

} // namespace kv::tools
