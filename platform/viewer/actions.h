// The viewer's actions, in the one table every front end takes them from: for each, its keys, its
// label and help in French and English, and whether the page's toolbar shows it. The desktop's
// keys and help box, `korveline --help`, the page's keys, toolbar and help come from here; tests
// hold the manual page and the README to it. A new action is a row here and a case in Viewer::act.
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
    ToggleSteadyCurve,
    SavePicture,
    SaveData,
    ToggleRecording,
    ToggleSound,
    ToggleHelp,
    CloseHelp,
    // The keyboard's way into the picture: a focus ring over its clickable regions.
    FocusNext,
    FocusPrevious,
    FocusClick,
    FocusRightClick,
    // The picture's language and look, changed while the run goes on.
    NextLanguage,
    NextLook,
    // The laboratory's settings, changed with the keys while the run goes on.
    ToggleLab,
};

enum class Lang { Fr, En };

struct Text {
    std::string_view fr;
    std::string_view en;
    std::string_view operator()(Lang lang) const { return lang == Lang::Fr ? fr : en; }
};

// A key as the web's KeyboardEvent.key names it (" ", "ArrowRight", "F11", "+", "s"), with Ctrl,
// and with Shift where Shift makes it another chord (Shift Tab).
struct Chord {
    std::string_view key; // empty: none
    bool ctrl = false;
    bool shift = false;
};

// A row of the table (UTF-8 texts).
struct ActionInfo {
    Action action;
    std::string_view name; // the page's button id
    std::array<Chord, 2> keys;
    Text label;    // a button's
    Text label_on; // a button's while its action is on (paused, recording), or empty
    Text help;
    bool toolbar = true; // the page's toolbar has a button for it
};

std::span<const ActionInfo> action_table();

// A key pressed: its KeyboardEvent.key name (letters in either case, '=' as '+'), its modifiers
// (Alt or the logo key: the window manager's shortcuts, never ours; Shift counts only for the
// chords that name it), and whether it repeats while held down (only a step does).
struct KeyPress {
    std::string_view key;
    bool ctrl = false;
    bool alt = false;
    bool repeat = false;
    bool shift = false;
};
std::optional<Action> action_for_key(const KeyPress& press);

// An action's keys, "F12", "Ctrl S", "Space" / "Espace", with `separator` between them (UTF-8).
std::string keys_text(const ActionInfo& info, Lang lang, std::string_view separator);
// The keys and what they do: as the help box's rows (ISO 8859-1, as boxes are), and as lines for
// a terminal, the keys in a column `column` wide.
std::vector<BoxRow> key_help(Lang lang);
std::string key_help_text(Lang lang, std::size_t column);
// A text of ours in ISO 8859-1, as boxes take it (ours hold no character beyond U+00FF).
std::string latin1(std::string_view utf8);

} // namespace kv::viewer
