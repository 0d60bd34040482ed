#include "tools/instruments/action_table.h"

#include "viewer/own_actions.h"

namespace kv::tools {

namespace {

using viewer::Action;
using viewer::own_action;

constexpr viewer::ActionInfo kActions[] = {
    own_action(Action::TogglePause),
    own_action(Action::Step),
    own_action(Action::Slower),
    own_action(Action::Faster),
    own_action(Action::ZoomOut),
    own_action(Action::ZoomIn),
    own_action(Action::ZoomReset),
    own_action(Action::ToggleFullscreen),
    own_action(Action::ToggleReadout)
        .with_help({"afficher / masquer les mesures et les graduations du tracé",
                    "show / hide the readout of values and the plot's scales"}),
    {Action::ToggleLayer,
     "curve",
     {{{"c"}}},
     {"Courbe", "Curve"},
     {},
     {"afficher / masquer la caractéristique T_u(n) en régime permanent (branches stable et "
      "instable, point de décrochage)",
      "show / hide the steady torque/speed curve (stable and unstable branches, pull-out point)"}},
    own_action(Action::SavePicture),
    own_action(Action::SaveData),
    own_action(Action::ToggleRecording),
    own_action(Action::ToggleSound)
        .with_help({"son : un bourdonnement pour le champ, un pour le rotor ; ils battent à la "
                    "fréquence rotorique",
                    "sound: a hum for the field, one for the rotor; they beat at the rotor "
                    "frequency"}),
    own_action(Action::ToggleHelp),
    own_action(Action::CloseHelp),
    own_action(Action::FocusNext)
        .with_help({"anneau de focus sur la partie suivante de l'image (ALIM, bobines, rotor, "
                    "Frein, R à Z)",
                    "focus ring on the picture's next part (ALIM, coils, rotor, Frein, R à Z)"}),
    own_action(Action::FocusPrevious),
    own_action(Action::FocusClick),
    own_action(Action::FocusRightClick),
    {Action::NextLanguage,
     "language",
     {{{"l"}}},
     {"Langue", "Language"},
     {},
     {"langue suivante (français, anglais), la simulation continue",
      "next language (French, English), the run goes on"},
     viewer::Button::Window},
    {Action::NextLook,
     "look",
     {{{"a"}}},
     {"Aspect", "Look"},
     {},
     {"aspect suivant (d'origine, vision des couleurs, projecteur)",
      "next look (default, colour vision, projector)"},
     viewer::Button::Window},
    {Action::TogglePanel,
     "lab",
     {{{"F2"}, {"o"}}},
     {"Laboratoire", "Lab"},
     {},
     {"le Laboratoire (la fenêtre : Haut, Bas choisissent un réglage, Gauche, Droite le changent)",
      "the Lab (the window: Up, Down choose a setting, Left, Right change it)"},
     viewer::Button::Window},
};

} // namespace

std::span<const viewer::ActionInfo> ActionTable() {
    return kActions;
}

} // namespace kv::tools
