#include "shell/changement_apparence.h"

#include "base/apparences.h"
#include "base/palette.h"
#include "base/primitives.h"
#include "shell/scene.h"

namespace {

// The plot and the 10-pixel band of its frame: every look draws it alike but for the trail, so it
// is not painted again and the run's curve stays.
constexpr RECT cadre_courbe = {455, 0, 815, 360};

// The trail in the new look's colour: on the plot, and in the brake's store of the row under its
// line, which puts its pixels back when the line moves.
void RecolorieTrace(HDC hdc, COLORREF avant, COLORREF apres) {
    if (avant == apres) return;
    for (int y = cadre_courbe.top; y < cadre_courbe.bottom; y++)
        for (int x = cadre_courbe.left; x < cadre_courbe.right; x++)
            if (GetPixel(hdc, x, y) == avant) SetPixel(hdc, x, y, apres);
    for (tagPixel& pixel : frein.pixels)
        if (pixel.color == avant) pixel.color = apres;
    for (int i = 0; i < frein.nb_sous_courbe; i++)
        if (frein.sous_courbe[i].color == avant) frein.sous_courbe[i].color = apres;
}

} // namespace

void ChangeApparence(HWND hwnd, int apparence) {
    if (apparence < 0 || apparence >= NOMBRE_APPARENCES || apparence == apparence_courante) return;
    const COLORREF trace_avant = apparences[apparence_courante].yellow_pen_fonce_3.couleur;

    HDC hdc = GetDC(hwnd);
    // The current operating point joins the trail now, as the next Tick would make it, with the pen
    // of the look that drew it: a narrower pen would leave a ring of the old point.
    int x;
    int y;
    SelectObject(hdc, yellow_pen_fonce_3);
    PointDuTrace(courbe.last_omega, courbe.last_torque, &x, &y);
    CreatePoint(hdc, x, y);
    ChoisirApparence(apparence);
    RecolorieTrace(hdc, trace_avant, apparences[apparence].yellow_pen_fonce_3.couleur);
    ReleaseDC(hwnd, hdc);

    // Erasing paints with the class's brush: it follows the look.
    SetClassLongPtr(hwnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(background_brush));
    InvalideHorsCourbe(hwnd);
}

void InvalideHorsCourbe(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    const RECT gauche = {0, 0, cadre_courbe.left, client.bottom};
    const RECT dessous = {cadre_courbe.left, cadre_courbe.bottom, client.right, client.bottom};
    const RECT droite = {cadre_courbe.right, 0, client.right, cadre_courbe.bottom};
    InvalidateRect(hwnd, &gauche, TRUE);
    InvalidateRect(hwnd, &dessous, TRUE);
    InvalidateRect(hwnd, &droite, TRUE);
}
