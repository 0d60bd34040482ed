// The viewer's actions, in the one table every front end takes them from: for each, its keys, its
// label and its help in French and in English, and whether the page's toolbar shows it. The
// desktop's keys and help box, `korveline --help`, the page's keys, toolbar and help all come from
// here; tests hold the manual page and the README to it. Adding an action is adding a row here and
// what it does to Viewer::act.
#pragma once

#include "viewer/boxes.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::viewer {

enum class Action {
    TogglePause,
    Step,
    Slower,
    Faster,
    ZoomOut,
    ZoomIn,
    ZoomReset,
    ToggleFullscreen,
    ToggleReadout,
    SavePicture,
    SaveData,
    ToggleRecording,
    ToggleHelp,
    CloseHelp,
};

enum class Lang { Fr, En };

struct Text {
    std::string_view fr;
    std::string_view en;
    std::string_view operator()(Lang lang) const { return lang == Lang::Fr ? fr : en; }
};

// A key as the web's KeyboardEvent.key names it ("ArrowRight", "F11", " ", "+", "s"), with Ctrl
// held or not.
struct Chord {
    std::string_view key;
    bool ctrl = false;
    bool listed = true; // false: another key for the same thing, left out of the help ('=')
};

// One row of the table. Texts are UTF-8.
struct ActionInfo {
    Action action;
    std::string_view name;     // for the page: a button's id, `readout`, `png`
    std::array<Chord, 3> keys; // an empty key: none
    Text label;                // a button's
    Text label_on;             // a button's while its action is on (paused, recording), or empty
    Text help;
    bool toolbar;         // the page's toolbar has a button for it
    bool repeats = false; // a key held down repeats it
};

std::span<const ActionInfo> action_table();
const ActionInfo& action_info(Action action);

// A key pressed: its KeyboardEvent.key name (letters in either case), its modifiers, and whether
// it repeats while held down.
struct KeyPress {
    std::string_view key;
    bool ctrl = false;
    bool alt = false; // Alt, or the logo key: the window manager's shortcuts, never ours
    bool repeat = false;
};

std::optional<Action> action_for_key(const KeyPress& press);

// "Ctrl S", "Space" / "Espace", "Right arrow" / "Flèche droite" (UTF-8).
std::string chord_text(const Chord& chord, Lang lang);
// An action's listed keys, with `separator` between them; empty when it has none.
std::string keys_text(const ActionInfo& info, Lang lang, std::string_view separator);

// The help box: each action with listed keys, its keys and its help (ISO 8859-1, as boxes are).
std::vector<BoxRow> key_help(Lang lang);
// The same for a terminal: one line each, the keys in a column `column` wide, then the help.
std::string key_help_text(Lang lang, std::size_t column);

// UTF-8 as ISO 8859-1, for the built-in font; what it cannot hold becomes '?'.
std::string to_latin1(std::string_view utf8);

} // namespace kv::viewer
