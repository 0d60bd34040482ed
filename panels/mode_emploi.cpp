#include "panels/mode_emploi.h"

// 0xE9 is e acute in ISO 8859-1.
const LigneModeEmploi lignes_mode_emploi[10] = {
    {370, "Cliquer gauche (droit):", 23},
    {386, "- sur ALIM pour mise sous (hors) tension.", 41},
    {402, "- sur les bobines pour visualiser (effacer)le champs.", 53},
    {418, "- sur le rotor pour visualiser (effacer) le champs", 50},
    {434, "  tournant r\xE9sultant et le couple.", 34},
    {450, "- sur le frein pour augmenter (diminuer) le couple", 50},
    {466, "  r\xE9sistant.", 12},
    {490, " KORVELINE (2026)", 17},
    {506, " Machine asynchrone", 19},
    {522, " Distribu\xE9 sous licence MIT", 27},
};

void ModeEmploi(HDC hdc) {
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkColor(hdc, RGB(0, 200, 200)); // the window's background: the cells blend in
    for (const LigneModeEmploi& ligne : lignes_mode_emploi)
        TextOutA(hdc, 450, ligne.y, ligne.texte, ligne.longueur);
}
