// The laboratory's settings as every front end takes them: NAME=VALUE, with one table of the
// names, the values each takes and their defaults (korveline-script's `lab`, korveline's --lab,
// the page's address), and of the words the window's and the page's panels show them in.
#pragma once

#include "model/labo.h"
#include "viewer/actions.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kv::tools {

struct LabSetting {
    std::string_view name{};
    viewer::Text label{}; // in the panels
    // A setting takes either one of its words (`choices`, up to five) or a number from `min` to
    // `max`, in `unit`.
    std::array<std::string_view, 5> choices{};
    double min = 0;
    double max = 0;
    std::string_view unit{};
    viewer::Text shown_unit{};   // after a number in the panels
    double step = 0;             // a panel's step up or down a number; 0: doubled or halved
    std::string_view fallback{}; // the default, as typed
    std::string_view meaning{};  // one line for --help
    // The value in tagLabo: a choice's index, or the number.
    double (*get)(const tagLabo&) = nullptr;
    void (*set)(tagLabo&, double) = nullptr;
    // Written out (`lab`, --lab, a recording's comment, a trace's columns) even at its default:
    // the settings that came later are written only once changed, so that what the original
    // motor's runs write stays as it was.
    bool always_written = true;
};

// The settings the window's panel and the page's form show, one row each.
extern const std::array<LabSetting, 8> kLabSettings;

// The real motor's settings (motor, coupling, mains, the stator's values, curve) and the ways to
// start it (start and its parameters): taken wherever a
// setting is typed (--lab, lab, the page's address) and written once changed, but not in the
// panel or the form.
extern const std::array<LabSetting, 15> kLaterLabSettings;

// Both tables, the panel's first.
std::vector<const LabSetting*> AllLabSettings();

// Whether a later setting is changed here: a trace started so has more columns.
bool LaterSettingChanged(const tagLabo& labo);

// A choice as the panels show it: "inversé" for reversed; a word without a translation (a
// number, "direct") as it is.
std::string_view LabChoiceWord(std::string_view choice, viewer::Lang lang);

// The setting named `name`, or none.
const LabSetting* FindLabSetting(std::string_view name);

// Sets `name` to `value`. Returns what is wrong, leaving `labo` untouched, or an empty string.
std::string SetLabSetting(std::string_view name, std::string_view value, tagLabo& labo);

// The same for one word NAME=VALUE.
std::string SetLabPair(std::string_view pair, tagLabo& labo);

// A setting's value as it would be typed: "reversed", "50", "0.5".
std::string LabValue(const LabSetting& setting, const tagLabo& labo);

// Every setting, "order=direct open=none frequency=100 ...": what `lab` and --lab take back.
std::string LabSettingsText(const tagLabo& labo);

// What a recording says it was made with, in its comment: "KORVELINE, laboratory settings:
// order=direct ...".
std::string LabRecordingComment(const tagLabo& labo);

// The settings for --help: one line each, indented by two spaces.
std::string LabSettingsHelp();

} // namespace kv::tools
