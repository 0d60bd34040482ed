#include "shell/changement_langue.h"

#include "shell/changement_apparence.h"
#include "base/textes.h"

#include <iterator>

namespace {

// The reset label's cell, with room for the widest of its translations: given back the plot's white
// before the new label is written, so that nothing of a wider old one stays.
constexpr RECT cellule_raz = {740, 343, 800, 359};

void Efface(HDC hdc, const RECT& r) {
    HPEN crayon = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HBRUSH pinceau = CreateSolidBrush(RGB(255, 255, 255));
    HGDIOBJ ancien_crayon = SelectObject(hdc, crayon);
    HGDIOBJ ancien_pinceau = SelectObject(hdc, pinceau);
    Rectangle(hdc, r.left, r.top, r.right, r.bottom);
    SelectObject(hdc, ancien_crayon);
    SelectObject(hdc, ancien_pinceau);
    DeleteObject(crayon);
    DeleteObject(pinceau);
}

} // namespace

void ChangeLangue(HWND hwnd, int langue) {
    if (langue < 0 || langue >= static_cast<int>(std::size(langues))) return;
    if (langues[langue].textes == textes) return;
    textes = langues[langue].textes;

    // The plot's labels, as CreateAxe writes them (panels/courbe.cpp); "Tu" and "n" are the same
    // in every language.
    HDC hdc = GetDC(hwnd);
    Efface(hdc, cellule_raz);
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkColor(hdc, RGB(170, 170, 170));
    TextOutA(hdc, 740, 343, textes->raz.texte, textes->raz.longueur);
    ReleaseDC(hwnd, hdc);

    InvalideHorsCourbe(hwnd);
}
