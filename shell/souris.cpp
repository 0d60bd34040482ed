// Each region that contains the click acts in turn, on a device context of its own. A flag only
// says what the next Ticks draw; clearing one wipes the central disc at once.
#include "shell/souris.h"

#include "panels/central.h"
#include "shell/couple_frein.h"
#include "shell/scene.h"
#include "shell/zones.h"

namespace {

void RedessineBobines(HDC hdc) {
    masdessin.CreateBobine1(hdc);
    masdessin.CreateBobine2(hdc);
    masdessin.CreateBobine3(hdc);
}

// Puts the brake line at the new torque, giving back the plot row under the old one first.
void DeplaceLigneFrein(HDC hdc) {
    frein.Pixelstock(hdc);
    frein.CreateCourbe(hdc);
}

} // namespace

void CliqueGauche(HWND hwnd, LPARAM lParam) {
    const int x = LOWORD(lParam);
    const int y = HIWORD(lParam);

    if (DansRAZ(x, y)) {
        HDC hdc = GetDC(hwnd);
        CreateAxe(hdc);
        ReleaseDC(hwnd, hdc);
    }
    if (DansAlim(x, y)) {
        HDC hdc = GetDC(hwnd);
        alim.CreateAlim(hdc, 1);
        ReleaseDC(hwnd, hdc);
    }
    if (DansRotor(x, y)) {
        masdessin.show_resultant = true;
        HDC hdc = GetDC(hwnd);
        CentralPaint(hdc, 107);
        RedessineBobines(hdc);
        ReleaseDC(hwnd, hdc);
    }
    if (DansBobine1(x, y)) {
        masdessin.show_field1 = true;
        HDC hdc = GetDC(hwnd);
        CentralPaint(hdc, 107);
        ReleaseDC(hwnd, hdc);
    }
    if (DansBobine2(x, y)) {
        masdessin.show_field3 = true;
        HDC hdc = GetDC(hwnd);
        CentralPaint(hdc, 107);
        ReleaseDC(hwnd, hdc);
    }
    if (DansBobine3(x, y)) {
        masdessin.show_field2 = true;
        HDC hdc = GetDC(hwnd);
        CentralPaint(hdc, 107);
        ReleaseDC(hwnd, hdc);
    }
    if (DansFrein(x, y)) {
        frein.couple = CoupleFreinPlus(frein.couple, frein.couple_step);
        HDC hdc = GetDC(hwnd);
        DeplaceLigneFrein(hdc);
        ReleaseDC(hwnd, hdc);
    }
}

void CliqueDroit(HWND hwnd, LPARAM lParam) {
    const int x = LOWORD(lParam);
    const int y = HIWORD(lParam);

    if (DansAlim(x, y)) {
        HDC hdc = GetDC(hwnd);
        alim.CreateAlim(hdc, 0);
        CentralPaint(hdc, 107);
        ReleaseDC(hwnd, hdc);
    }
    if (DansRotor(x, y)) {
        masdessin.show_resultant = false;
        HDC hdc = GetDC(hwnd);
        CentralPaint(hdc, 107);
        RedessineBobines(hdc);
        ReleaseDC(hwnd, hdc);
    }
    if (DansBobine1(x, y)) {
        masdessin.show_field1 = false;
        HDC hdc = GetDC(hwnd);
        CentralPaint(hdc, 107);
        RedessineBobines(hdc);
        ReleaseDC(hwnd, hdc);
    }
    if (DansBobine3(x, y)) {
        masdessin.show_field2 = false;
        HDC hdc = GetDC(hwnd);
        CentralPaint(hdc, 107);
        RedessineBobines(hdc);
        ReleaseDC(hwnd, hdc);
    }
    if (DansBobine2(x, y)) {
        masdessin.show_field3 = false;
        HDC hdc = GetDC(hwnd);
        CentralPaint(hdc, 107);
        RedessineBobines(hdc);
        ReleaseDC(hwnd, hdc);
    }
    if (DansFrein(x, y)) {
        frein.couple = labo.loi_charge == CHARGE_ENTRAINANTE
                           ? CoupleFreinMoinsEntrainante(frein.couple, frein.couple_step)
                           : CoupleFreinMoins(frein.couple, frein.couple_step);
        HDC hdc = GetDC(hwnd);
        DeplaceLigneFrein(hdc);
        ReleaseDC(hwnd, hdc);
    }
}
