#include "viewer/actions.h"

#include <algorithm>
#include <cctype>

namespace kv::viewer {

namespace {

constexpr ActionInfo kActions[] = {
    {Action::TogglePause,
     "pause",
     {{{" "}}},
     {"Pause", "Pause"},
     {"Reprendre", "Resume"},
     {"pause / reprise", "pause / resume"}},
    {Action::Step,
     "step",
     {{{"ArrowRight"}}},
     {"+1 Tick", "+1 Tick"},
     {},
     {"un Tick, en pause", "one Tick, while paused"}},
    {Action::Slower,
     "slower",
     {{{"-"}}},
     {"\u2212", "\u2212"},
     {},
     {"plus lent, jusqu'à x1/4 (un Tick toutes les 200 ms)",
      "slower, down to x1/4 (a Tick every 200 ms)"}},
    {Action::Faster,
     "faster",
     {{{"+"}}},
     {"+", "+"},
     {},
     {"plus vite, jusqu'à x8 (8 Ticks toutes les 50 ms)",
      "faster, up to x8 (8 Ticks every 50 ms)"}},
    {Action::ZoomOut,
     "zoomout",
     {{{"-", true}}},
     {"Zoom \u2212", "Zoom \u2212"},
     {},
     {"zoom arrière", "zoom out"}},
    {Action::ZoomIn,
     "zoomin",
     {{{"+", true}}},
     {"Zoom +", "Zoom +"},
     {},
     {"zoom avant, tant que l'écran le permet", "zoom in, as far as the screen allows"}},
    {Action::ZoomReset,
     "fit",
     {{{"0", true}}},
     {"Ajuster", "Fit"},
     {},
     {"zoom x1 (la page : ajustée à sa fenêtre)", "zoom x1 (the page: fitted to its window)"}},
    {Action::ToggleFullscreen,
     "full",
     {{{"F11"}}},
     {"Plein écran", "Full screen"},
     {},
     {"plein écran, l'image aussi grande que possible",
      "full screen, the picture as large as it fits"}},
    {Action::ToggleReadout,
     "readout",
     {{{"i"}}},
     {"Mesures", "Readout"},
     {},
     {"afficher / masquer les mesures et les graduations du tracé",
      "show / hide the readout of values and the plot's scales"}},
    {Action::ToggleSteadyCurve,
     "curve",
     {{{"c"}}},
     {"Courbe", "Curve"},
     {},
     {"afficher / masquer la caractéristique T_u(n) en régime permanent (branches stable et "
      "instable, point de décrochage)",
      "show / hide the steady torque/speed curve (stable and unstable branches, pull-out point)"}},
    {Action::SavePicture,
     "png",
     {{{"F12"}, {"s", true}}},
     {"PNG", "PNG"},
     {},
     {"enregistrer l'image (PNG)", "save the picture (PNG)"}},
    {Action::SaveData,
     "csv",
     {{{"e", true}}},
     {"CSV", "CSV"},
     {},
     {"enregistrer les données, une ligne par Tick (CSV)",
      "save the run's data, a row a Tick (CSV)"}},
    {Action::ToggleRecording,
     "record",
     {{{"r", true}}},
     {"GIF", "GIF"},
     {"Arrêter", "Stop"},
     {"démarrer / arrêter l'enregistrement d'une animation (GIF)",
      "start / stop recording an animation (GIF)"}},
    {Action::ToggleSound,
     "sound",
     {{{"m"}}},
     {"Son", "Sound"},
     {},
     {"son : un bourdonnement pour le champ, un pour le rotor ; ils battent à la fréquence "
      "rotorique",
      "sound: a hum for the field, one for the rotor; they beat at the rotor frequency"}},
    {Action::ToggleHelp,
     "keys",
     {{{"F1"}, {"?"}}},
     {"Touches", "Keys"},
     {},
     {"cette liste des touches", "this list of keys"},
     false},
    {Action::CloseHelp,
     "close-keys",
     {{{"Escape"}}},
     {"Fermer", "Close"},
     {},
     {"masquer la liste des touches et l'anneau de focus",
      "hide the list of keys and the focus ring"},
     false},
    {Action::FocusNext,
     "focus-next",
     {{{"Tab"}}},
     {"Suivant", "Next"},
     {},
     {"anneau de focus sur la partie suivante de l'image (ALIM, bobines, rotor, Frein, R à Z)",
      "focus ring on the picture's next part (ALIM, coils, rotor, Frein, R à Z)"},
     false},
    {Action::FocusPrevious,
     "focus-previous",
     {{{"Tab", false, true}}},
     {"Précédent", "Previous"},
     {},
     {"anneau de focus sur la partie précédente", "focus ring on the previous part"},
     false},
    {Action::FocusClick,
     "focus-click",
     {{{"Enter"}}},
     {"Clic", "Click"},
     {},
     {"clic gauche au centre de la partie entourée", "left click in the middle of the ringed part"},
     false},
    {Action::FocusRightClick,
     "focus-right-click",
     {{{"Enter", false, true}}},
     {"Clic droit", "Right click"},
     {},
     {"clic droit au centre de la partie entourée", "right click in the middle of the ringed part"},
     false},
    {Action::NextLanguage,
     "language",
     {{{"l"}}},
     {"Langue", "Language"},
     {},
     {"langue suivante (français, anglais), la simulation continue",
      "next language (French, English), the run goes on"},
     false},
    {Action::NextLook,
     "look",
     {{{"a"}}},
     {"Aspect", "Look"},
     {},
     {"aspect suivant (d'origine, vision des couleurs, projecteur)",
      "next look (default, colour vision, projector)"},
     false},
    {Action::ToggleLab,
     "lab",
     {{{"F2"}, {"o"}}},
     {"Laboratoire", "Lab"},
     {},
     {"le Laboratoire (la fenêtre : Haut, Bas choisissent un réglage, Gauche, Droite le changent)",
      "the Lab (the window: Up, Down choose a setting, Left, Right change it)"},
     false},
};

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

} // namespace

std::string latin1(std::string_view utf8) {
    std::string text;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80 || i + 1 == utf8.size())
            text += static_cast<char>(byte);
        else
            text += static_cast<char>(((byte & 0x03) << 6) | (utf8[++i] & 0x3F));
    }
    return text;
}

std::span<const ActionInfo> action_table() {
    return kActions;
}

std::optional<Action> action_for_key(const KeyPress& press) {
    if (press.alt) return std::nullopt;
    // '+' is Shift '=' on many keyboards: '=' alone does as well.
    const std::string_view key = press.key == "=" ? "+" : press.key;
    // A chord that names Shift first; then Shift is only how the key was typed ('?', '+').
    for (const bool shift_counts : {true, false}) {
        for (const ActionInfo& info : kActions) {
            for (const Chord& chord : info.keys) {
                const bool same = std::equal(
                    chord.key.begin(), chord.key.end(), key.begin(), key.end(), [](char a, char b) {
                        return std::tolower(static_cast<unsigned char>(a)) ==
                               std::tolower(static_cast<unsigned char>(b));
                    });
                if (chord.key.empty() || chord.ctrl != press.ctrl || !same) continue;
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

std::vector<BoxRow> key_help(Lang lang) {
    std::vector<BoxRow> rows;
    for (const ActionInfo& info : kActions)
        rows.push_back({latin1(keys_text(info, lang, "   ")), latin1(info.help(lang)), {}});
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

} // namespace kv::viewer
