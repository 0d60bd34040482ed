#include "tools/common/lab_panel.h"

#include "shell/scene.h"

#include <cmath>
#include <cstdio>
#include <string_view>
#include <utility>

namespace kv::tools {

namespace {

using viewer::Lang;
using viewer::Text;

// How a number setting's value moves: by `step`, or, with step 0, doubled and halved.
struct Scale {
    std::string_view name;
    double step;
};
constexpr Scale kScales[] = {{"frequency", 10}, {"voltage", 10}, {"resistance", 0}};

// The page's names and words for the same settings.
struct Words {
    std::string_view name;
    Text label;
    Text unit; // after a number
};
constexpr Words kWords[] = {
    {"order", {"Ordre des phases", "Phase order"}, {}},
    {"open", {"Ligne ouverte", "Open line"}, {}},
    {"frequency", {"Fréquence", "Frequency"}, {"% de 50 Hz", "% of 50 Hz"}},
    {"voltage", {"Tension", "Voltage"}, {"% de 400 V", "% of 400 V"}},
    {"resistance", {"Résistance rotorique", "Rotor resistance"}, {"× nominale", "× nominal"}},
    {"load", {"Loi de charge", "Load law"}, {}},
    {"poles", {"Paires de pôles", "Pole pairs"}, {}},
};
constexpr std::pair<std::string_view, Text> kChoiceWords[] = {
    {"reversed", {"inversé", "reversed"}},
    {"none", {"aucune", "none"}},
    {"constant", {"constante", "constant"}},
    {"linear", {"proportionnelle à la vitesse", "proportional to speed"}},
    {"quadratic", {"quadratique (ventilateur)", "quadratic (fan)"}},
};

constexpr double kSlack = 1e-9; // values are kept to the nanounit

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}

std::optional<double> scale_step(const LabSetting& s, double v, int step) {
    double next = 0;
    for (const Scale& scale : kScales) {
        if (scale.name != s.name) continue;
        if (scale.step > 0) {
            const double k = step > 0 ? std::floor(v / scale.step + kSlack) + 1
                                      : std::ceil(v / scale.step - kSlack) - 1;
            next = k * scale.step;
        } else {
            const double k = step > 0 ? std::floor(std::log2(v) + kSlack) + 1
                                      : std::ceil(std::log2(v) - kSlack) - 1;
            next = std::exp2(k);
        }
    }
    if (next > s.max) next = s.max;
    if (next < s.min) next = s.min;
    if (std::abs(next - v) < kSlack) return std::nullopt;
    return next;
}

const Words& words_of(const LabSetting& s) {
    for (const Words& w : kWords) {
        if (w.name == s.name) return w;
    }
    return kWords[0];
}

std::string value_text(const LabSetting& s, const tagLabo& labo, Lang lang) {
    std::string value = LabValue(s, labo);
    if (!s.choices[0].empty()) {
        for (const auto& [word, text] : kChoiceWords) {
            if (word == value) return std::string(text(lang));
        }
        return value;
    }
    if (lang == Lang::Fr) {
        for (char& c : value) {
            if (c == '.') c = ',';
        }
    }
    return value + ' ' + std::string(words_of(s).unit(lang));
}

} // namespace

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

std::string LabPanelTitle(Lang lang) {
    return viewer::latin1(Text{"Laboratoire", "Lab"}(lang));
}

std::vector<viewer::BoxRow> LabPanelRows(const tagLabo& labo, Lang lang) {
    std::vector<viewer::BoxRow> rows;
    for (const LabSetting& s : kLabSettings) {
        std::string value = LabStep(s, labo, -1) ? "<  " : "   ";
        value += viewer::latin1(value_text(s, labo, lang));
        if (LabStep(s, labo, +1)) value += "  >";
        rows.push_back({viewer::latin1(words_of(s).label(lang)), value, {}});
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

viewer::LabRows LabPanelOfTheProgram() {
    return {LabPanelTitle, [](Lang lang) { return LabPanelRows(labo, lang); },
            [](std::size_t row, int step) { return StepLabRow(row, step, labo); }};
}

} // namespace kv::tools
