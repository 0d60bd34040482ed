#include "viewer/rows_panel.h"

namespace kv::viewer {

namespace {

constexpr Color kChosenMark = rgb(255, 210, 0); // the focus ring's yellow
constexpr Text kKeys[] = {
    {"Haut, Bas : choisir", "Up, Down: choose"},
    {"Gauche, Droite : changer", "Left, Right: change"},
    {"Échap : fermer", "Esc: close"},
};

} // namespace

bool RowsPanel::key(const KeyPress& press, const PanelRows& panel, Lang lang) {
    if (!shown_ || !panel || press.ctrl || press.alt) return false;
    const std::string_view k = press.key;
    if (k == "Escape") {
        shown_ = false;
        return !press.repeat;
    }
    const std::size_t rows = panel.rows(lang).size();
    if (rows == 0) return false;
    if (k == "ArrowUp" || k == "ArrowDown") {
        chosen_ = (chosen_ + (k == "ArrowUp" ? rows - 1 : 1)) % rows;
        return true;
    }
    const int step = k == "ArrowRight" || k == "+" || k == "=" ? 1
                     : k == "ArrowLeft" || k == "-"            ? -1
                                                               : 0;
    if (step == 0) return false;
    panel.step(chosen_ % rows, step);
    return true;
}

bool RowsPanel::click(std::size_t row, int step, const PanelRows& panel, Lang lang) {
    if (!shown_ || !panel || row >= panel.rows(lang).size()) return false;
    chosen_ = row;
    if (step != 0) panel.step(row, step);
    return true;
}

Box RowsPanel::box(const PanelRows& panel, Lang lang) const {
    if (!shown_ || !panel) return {};
    Box box{panel.title ? panel.title(lang) : "", panel.rows(lang)};
    if (!box.rows.empty()) box.rows[chosen_ % box.rows.size()].swatch = kChosenMark;
    for (const Text& keys : kKeys)
        box.rows.push_back({latin1(keys(lang)), "", {}});
    return box;
}

} // namespace kv::viewer
