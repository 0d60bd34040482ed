#include "viewer/lab_panel.h"

namespace kv::viewer {

namespace {

constexpr Color kChosenMark = rgb(255, 210, 0); // the focus ring's yellow
constexpr Text kKeys[] = {
    {"Haut, Bas : choisir", "Up, Down: choose"},
    {"Gauche, Droite : changer", "Left, Right: change"},
    {"Échap : fermer", "Esc: close"},
};

} // namespace

bool LabPanel::key(const KeyPress& press, const LabRows& lab, Lang lang) {
    if (!shown_ || !lab || press.ctrl || press.alt) return false;
    const std::string_view k = press.key;
    if (k == "Escape") {
        shown_ = false;
        return !press.repeat;
    }
    const std::size_t rows = lab.rows(lang).size();
    if (rows == 0) return false;
    if (k == "ArrowUp" || k == "ArrowDown") {
        chosen_ = (chosen_ + (k == "ArrowUp" ? rows - 1 : 1)) % rows;
        return true;
    }
    const int step = k == "ArrowRight" || k == "+" || k == "=" ? 1
                     : k == "ArrowLeft" || k == "-"            ? -1
                                                               : 0;
    if (step == 0) return false;
    lab.step(chosen_ % rows, step);
    return true;
}

Box LabPanel::box(const LabRows& lab, Lang lang) const {
    if (!shown_ || !lab) return {};
    Box box{lab.title ? lab.title(lang) : "", lab.rows(lang)};
    if (!box.rows.empty()) box.rows[chosen_ % box.rows.size()].swatch = kChosenMark;
    for (const Text& keys : kKeys)
        box.rows.push_back({latin1(keys(lang)), "", {}});
    return box;
}

} // namespace kv::viewer
