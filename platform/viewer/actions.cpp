#include "viewer/actions.h"

#include <algorithm>
#include <cctype>

namespace kv::viewer {

namespace {

std::string chord_text(const Chord& chord, Lang lang) {
    const Text names[] = {{"Espace", "Space"},
                          {"Flèche droite", "Right arrow"},
                          {"Échap", "Esc"},
                          {"Tab", "Tab"},
                          {"Entrée", "Enter"}};
    const std::string_view keys[] = {" ", "ArrowRight", "Escape", "Tab", "Enter"};
    std::string text = chord.ctrl ? "Ctrl " : "";
    if (chord.shift) text += Text{"Maj ", "Shift "}(lang);
    const auto* named = std::find(std::begin(keys), std::end(keys), chord.key);
    if (named != std::end(keys)) return text.append(names[named - keys](lang));
    for (const char c : chord.key)
        text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Letters in either case.
bool same_key(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::string latin1(std::string_view utf8) {
    constexpr std::string_view kMinus = "\u2212";
    std::string text;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (utf8.substr(i).starts_with(kMinus)) {
            text += '-';
            i += kMinus.size() - 1;
        } else if (byte < 0x80 || i + 1 == utf8.size()) {
            text += static_cast<char>(byte);
        } else {
            text += static_cast<char>(((byte & 0x03) << 6) | (utf8[++i] & 0x3F));
        }
    }
    return text;
}

std::optional<Action> action_for_key(std::span<const ActionInfo> table, const KeyPress& press) {
    if (press.alt) return std::nullopt;
    // '+' is Shift '=' on many keyboards: '=' alone does as well.
    const std::string_view key = press.key == "=" ? "+" : press.key;
    // A chord that names Shift first; then Shift is only how the key was typed ('?', '+').
    for (const bool shift_counts : {true, false}) {
        for (const ActionInfo& info : table) {
            for (const Chord& chord : info.keys) {
                if (chord.key.empty() || chord.ctrl != press.ctrl || !same_key(chord.key, key))
                    continue;
                if (shift_counts ? chord.shift != press.shift : chord.shift) continue;
                // A held key would toggle or zoom over and over.
                if (press.repeat && info.action != Action::Step) return std::nullopt;
                return info.action;
            }
        }
    }
    return std::nullopt;
}

std::string keys_text(const ActionInfo& info, Lang lang, std::string_view separator) {
    std::string text;
    for (const Chord& chord : info.keys) {
        if (chord.key.empty()) continue;
        if (!text.empty()) text += separator;
        text += chord_text(chord, lang);
    }
    return text;
}

std::vector<BoxRow> key_help(std::span<const ActionInfo> table, Lang lang) {
    std::vector<BoxRow> rows;
    for (const ActionInfo& info : table)
        rows.push_back({latin1(keys_text(info, lang, "   ")), latin1(info.help(lang)), {}});
    return rows;
}

std::string key_help_text(std::span<const ActionInfo> table, Lang lang, std::size_t column) {
    std::string text;
    for (const ActionInfo& info : table) {
        std::string keys = "  " + keys_text(info, lang, "  ");
        keys.resize(std::max(column, keys.size() + 1), ' ');
        text += keys + std::string(info.help(lang)) + '\n';
    }
    return text;
}

} // namespace kv::viewer
