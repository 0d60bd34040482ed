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
    return {LabPanelTitle, [](Lang lang) { return LabPanelRows(labo, lang); },
            [](std::size_t row, int step) { return StepLabRow(row, step, labo); }};
}

} // namespace kv::tools
