#include "viewer/actions.h"

#include <algorithm>
#include <cctype>

namespace kv::viewer {

namespace {

constexpr Text kNone{};

constexpr ActionInfo kActions[] = {
    {Action::TogglePause,
     "pause",
     {{{" "}}},
     {"Pause", "Pause"},
     {"Reprendre", "Resume"},
     {"pause / reprise", "pause / resume"},
     true},
    {Action::Step,
     "step",
     {{{"ArrowRight"}}},
     {"+1 Tick", "+1 Tick"},
     kNone,
     {"un Tick, en pause", "one Tick, while paused"},
     true,
     true},
    {Action::Slower,
     "slower",
     {{{"-"}}},
     {"\u2212", "\u2212"},
     kNone,
     {"plus lent, jusqu'à x1/4 (un Tick toutes les 200 ms)",
      "slower, down to x1/4 (a Tick every 200 ms)"},
     true},
    {Action::Faster,
     "faster",
     {{{"+"}, {"=", false, false}}},
     {"+", "+"},
     kNone,
     {"plus vite, jusqu'à x8 (8 Ticks toutes les 50 ms)", "faster, up to x8 (8 Ticks every 50 ms)"},
     true},
    {Action::ZoomOut,
     "zoomout",
     {{{"-", true}}},
     {"Zoom \u2212", "Zoom \u2212"},
     kNone,
     {"zoom arrière", "zoom out"},
     true},
    {Action::ZoomIn,
     "zoomin",
     {{{"+", true}, {"=", true, false}}},
     {"Zoom +", "Zoom +"},
     kNone,
     {"zoom avant, tant que l'écran le permet", "zoom in, as far as the screen allows"},
     true},
    {Action::ZoomReset,
     "fit",
     {{{"0", true}}},
     {"Ajuster", "Fit"},
     kNone,
     {"zoom x1 (la page : ajustée à sa fenêtre)", "zoom x1 (the page: fitted to its window)"},
     true},
    {Action::ToggleFullscreen,
     "full",
     {{{"F11"}}},
     {"Plein écran", "Full screen"},
     kNone,
     {"plein écran, l'image aussi grande que possible",
      "full screen, the picture as large as it fits"},
     true},
    {Action::ToggleReadout,
     "readout",
     {{{"i"}}},
     {"Mesures", "Readout"},
     kNone,
     {"afficher / masquer les mesures", "show / hide the readout of values"},
     true},
    {Action::SavePicture,
     "png",
     {{{"F12"}, {"s", true}}},
     {"PNG", "PNG"},
     kNone,
     {"enregistrer l'image (PNG)", "save the picture (PNG)"},
     true},
    {Action::SaveData,
     "csv",
     {{{"e", true}}},
     {"CSV", "CSV"},
     kNone,
     {"enregistrer les données, une ligne par Tick (CSV)",
      "save the run's data, a row a Tick (CSV)"},
     true},
    {Action::ToggleRecording,
     "record",
     {{{"r", true}}},
     {"GIF", "GIF"},
     {"Arrêter", "Stop"},
     {"démarrer / arrêter l'enregistrement d'une animation (GIF)",
      "start / stop recording an animation (GIF)"},
     true},
    {Action::ToggleHelp,
     "keys",
     {{{"F1"}, {"?"}}},
     {"Touches", "Keys"},
     kNone,
     {"cette liste des touches", "this list of keys"},
     false},
    {Action::CloseHelp,
     "close-keys",
     {{{"Escape"}}},
     {"Fermer", "Close"},
     kNone,
     {"masquer la liste des touches", "hide the list of keys"},
     false},
};

// A letter in either case is the same key.
bool same_key(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::span<const ActionInfo> action_table() {
    return kActions;
}

const ActionInfo& action_info(Action action) {
    return kActions[static_cast<std::size_t>(action)];
}

std::optional<Action> action_for_key(const KeyPress& press) {
    if (press.alt) return std::nullopt;
    for (const ActionInfo& info : kActions) {
        for (const Chord& chord : info.keys) {
            if (chord.key.empty() || chord.ctrl != press.ctrl || !same_key(chord.key, press.key))
                continue;
            // A held key would toggle or zoom over and over.
            if (press.repeat && !info.repeats) return std::nullopt;
            return info.action;
        }
    }
    return std::nullopt;
}

std::string chord_text(const Chord& chord, Lang lang) {
    std::string text = chord.ctrl ? "Ctrl " : "";
    if (chord.key == " ") return text + (lang == Lang::Fr ? "Espace" : "Space");
    if (chord.key == "ArrowRight")
        return text + (lang == Lang::Fr ? "Flèche droite" : "Right arrow");
    if (chord.key == "Escape") return text + (lang == Lang::Fr ? "Échap" : "Esc");
    if (chord.key.size() == 1) {
        return text + static_cast<char>(std::toupper(static_cast<unsigned char>(chord.key[0])));
    }
    return text + std::string(chord.key);
}

std::string keys_text(const ActionInfo& info, Lang lang, std::string_view separator) {
    std::string text;
    for (const Chord& chord : info.keys) {
        if (chord.key.empty() || !chord.listed) continue;
        if (!text.empty()) text += separator;
        text += chord_text(chord, lang);
    }
    return text;
}

std::vector<BoxRow> key_help(Lang lang) {
    std::vector<BoxRow> rows;
    for (const ActionInfo& info : kActions)
        rows.push_back({to_latin1(keys_text(info, lang, "   ")), to_latin1(info.help(lang)), {}});
    return rows;
}

std::string key_help_text(Lang lang, std::size_t column) {
    std::string text;
    for (const ActionInfo& info : kActions) {
        std::string keys = "  " + keys_text(info, lang, "  ");
        keys.resize(std::max(column, keys.size() + 1), ' ');
        text += keys + std::string(info.help(lang)) + '\n';
    }
    return text;
}

std::string to_latin1(std::string_view utf8) {
    std::string text;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            text += static_cast<char>(byte);
        } else if ((byte & 0xFE) == 0xC2 && i + 1 < utf8.size()) {
            // U+0080..U+00FF: two bytes, the first 0xC2 or 0xC3.
            text += static_cast<char>(((byte & 0x03) << 6) | (utf8[++i] & 0x3F));
        } else {
            text += '?';
            while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80)
                ++i;
        }
    }
    return text;
}

} // namespace kv::viewer
