#include "panels/mode_emploi.h"

#include "base/palette.h"
#include "base/textes.h"

const int lignes_mode_emploi_y[10] = {370, 386, 402, 418, 434, 450, 466, 490, 506, 522};

void ModeEmploi(HDC hdc) {
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkColor(hdc, background_color); // the window's background: the cells blend in
    for (int i = 0; i < 10; i++)
        TextOutA(hdc, 450, lignes_mode_emploi_y[i], textes->mode_emploi[i].texte,
                 textes->mode_emploi[i].longueur);
}
