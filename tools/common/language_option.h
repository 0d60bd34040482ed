// The picture's language, as both programs take it: --lang LANG (or --lang=LANG), else the
// KORVELINE_LANG environment variable, else French.
#pragma once

#include "shell/textes.h"
#include "tools/common/value_option.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace kv::tools {

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

} // namespace kv::tools
