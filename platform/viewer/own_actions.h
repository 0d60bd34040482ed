// The viewer's own rows of the table of actions, in the words of what the viewer does by itself:
// its clock, zoom, captures, readout, sound, list of keys and focus ring. A program's table takes
// them by action (own_action), in its order, with its own words where a row shows something of
// the program, beside its own rows (a layer, a language, a look, a panel). A program that gives no
// table has these.
#pragma once

#include "viewer/actions.h"

#include <span>
#include <stdexcept>

namespace kv::viewer {

inline constexpr ActionInfo kOwnActions[] = {
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
     {"afficher / masquer les mesures du programme", "show / hide the program's readout"}},
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
     {"son : les deux bourdonnements du programme ; ils battent à leur différence",
      "sound: the program's two hums; they beat at their difference"}},
    {Action::ToggleHelp,
     "keys",
     {{{"F1"}, {"?"}}},
     {"Touches", "Keys"},
     {},
     {"cette liste des touches", "this list of keys"},
     Button::Window},
    {Action::CloseHelp,
     "close-keys",
     {{{"Escape"}}},
     {"Fermer", "Close"},
     {},
     {"masquer la liste des touches et l'anneau de focus",
      "hide the list of keys and the focus ring"},
     Button::None},
    {Action::FocusNext,
     "focus-next",
     {{{"Tab"}}},
     {"Suivant", "Next"},
     {},
     {"anneau de focus sur la partie suivante de l'image", "focus ring on the picture's next part"},
     Button::None},
    {Action::FocusPrevious,
     "focus-previous",
     {{{"Tab", false, true}}},
     {"Précédent", "Previous"},
     {},
     {"anneau de focus sur la partie précédente", "focus ring on the previous part"},
     Button::None},
    {Action::FocusClick,
     "focus-click",
     {{{"Enter"}}},
     {"Clic", "Click"},
     {},
     {"clic gauche au centre de la partie entourée", "left click in the middle of the ringed part"},
     Button::None},
    {Action::FocusRightClick,
     "focus-right-click",
     {{{"Enter", false, true}}},
     {"Clic droit", "Right click"},
     {},
     {"clic droit au centre de la partie entourée", "right click in the middle of the ringed part"},
     Button::None},
};

constexpr std::span<const ActionInfo> own_actions() {
    return kOwnActions;
}

// The viewer's row for `action`. In a constant expression (a program's table), an action the
// viewer has no row for does not compile.
constexpr ActionInfo own_action(Action action) {
    for (const ActionInfo& row : kOwnActions) {
        if (row.action == action) return row;
    }
    throw std::invalid_argument("the viewer has no row of its own for this action");
}

} // namespace kv::viewer
