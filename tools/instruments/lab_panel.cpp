#include "tools/instruments/lab_panel.h"

#include "shell/scene.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <cstdio>

namespace kv::tools {

namespace {

using viewer::Lang;
using viewer::Text;

constexpr double kSlack = 1e-9; // values are kept to the nanounit

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}

std::optional<double> scale_step(const LabSetting& s, double v, int step) {
    double next = 0;
    if (s.step > 0) {
        const double k =
            step > 0 ? std::floor(v / s.step + kSlack) + 1 : std::ceil(v / s.step - kSlack) - 1;
        next = k * s.step;
    } else {
        const double k =
            step > 0 ? std::floor(std::log2(v) + kSlack) + 1 : std::ceil(std::log2(v) - kSlack) - 1;
        next = std::exp2(k);
    }
    if (next > s.max) next = s.max;
    if (next < s.min) next = s.min;
    if (std::abs(next - v) < kSlack) return std::nullopt;
    return next;
}

std::string value_text(const LabSetting& s, const tagLabo& labo, Lang lang) {
    std::string value = LabValue(s, labo);
    if (!s.choices[0].empty()) return std::string(LabChoiceWord(value, lang));
    if (lang == Lang::Fr) std::replace(value.begin(), value.end(), '.', ',');
    return value + ' ' + std::string(s.shown_unit(lang));
}

// The value one step from `labo`'s, as `lab` takes it; none at the range's end.
std::optional<std::string> LabStep(const LabSetting& setting, const tagLabo& labo, int step) {
    const double v = setting.get(labo);
    if (setting.choices[0].empty()) {
        const std::optional<double> next = scale_step(setting, v, step);
        if (!next) return std::nullopt;
        return number(*next);
    }
    const auto index = static_cast<std::size_t>(v);
    const std::size_t next = step > 0 ? index + 1 : index - 1; // wraps past 0: none
    if (next >= setting.choices.size() || setting.choices[next].empty()) return std::nullopt;
    return std::string(setting.choices[next]);
}

// Whether the window's panel shows a setting under these settings: a start's parameters only for
// the starts that use them, the stator's (coupling and mains with them) once the real motor is
// chosen or they are changed. At the defaults the panel has ten rows, and the readout and it
// stand beside the picture at zoom 2 on a 2560 x 1440 screen; all of them, it would not.
bool Shown(const LabSetting& s, const tagLabo& labo) {
    const std::string_view n = s.name;
    const int start = labo.demarrage;
    if (n == "switch_speed")
        return start == DEMARRAGE_ETOILE_TRIANGLE || start == DEMARRAGE_ROTORIQUE;
    if (n == "switch_time") return start == DEMARRAGE_ETOILE_TRIANGLE;
    if (n == "initial_voltage") return start == DEMARRAGE_PROGRESSIF;
    if (n == "ramp") return start == DEMARRAGE_PROGRESSIF || start == DEMARRAGE_VF;
    if (n == "boost") return start == DEMARRAGE_VF;
    if (n == "start_resistance" || n == "steps") return start == DEMARRAGE_ROTORIQUE;
    if (n == "stator_resistance" || n == "leakage_inductance" || n == "magnetising_inductance" ||
        n == "curve" || n == "coupling" || n == "mains")
        return labo.moteur_reel || labo.triangle || labo.reseau != 400;
    return true;
}

// The table's rows the window's panel shows, in order.
std::vector<std::size_t> ShownRows(const tagLabo& labo) {
    std::vector<std::size_t> rows;
    for (std::size_t r = 0; r < kLabSettings.size(); ++r)
        if (Shown(kLabSettings[r], labo)) rows.push_back(r);
    return rows;
}

} // namespace

std::string LabPanelTitle(Lang lang) {
    return viewer::latin1(Text{"Laboratoire", "Lab"}(lang));
}

std::vector<viewer::BoxRow> LabPanelRows(const tagLabo& labo, Lang lang) {
    std::vector<viewer::BoxRow> rows;
    for (const LabSetting& s : kLabSettings) {
        std::string value = LabStep(s, labo, -1) ? "<  " : "   ";
        value += viewer::latin1(value_text(s, labo, lang));
        if (LabStep(s, labo, +1)) value += "  >";
        rows.push_back({viewer::latin1(s.label(lang)), value, {}});
    }
    return rows;
}

bool StepLabRow(std::size_t row, int step, tagLabo& labo) {
    if (row >= kLabSettings.size()) return false;
    const LabSetting& s = kLabSettings[row];
    const std::optional<std::string> next = LabStep(s, labo, step);
    // Through the same check as --lab and the page's requests take.
    return next && SetLabSetting(s.name, *next, labo).empty();
}

viewer::PanelRows LabPanelOfTheProgram() {
    return {LabPanelTitle,
            [](Lang lang) {
                const std::vector<viewer::BoxRow> all = LabPanelRows(labo, lang);
                std::vector<viewer::BoxRow> rows;
                for (const std::size_t r : ShownRows(labo))
                    rows.push_back(all[r]);
                return rows;
            },
            [](std::size_t row, int step) {
                const std::vector<std::size_t> shown = ShownRows(labo);
                return row < shown.size() && StepLabRow(shown[row], step, labo);
            }};
}

} // namespace kv::tools
