#include "shell/wndproc.h"

#include "panels/central.h"
#include "panels/mode_emploi.h"
#include "base/apparences.h"
#include "shell/changement_apparence.h"
#include "shell/changement_langue.h"
#include "shell/scene.h"
#include "shell/souris.h"
#include "shell/suivi_reglages.h"

namespace {

// One Tick: one step of the motor model, and a fresh picture of everything that moves.
void Tick(HWND hwnd) {
    HDC hdc = GetDC(hwnd);
    // First, while the device context holds its default white brush, for the plot's interior.
    SuitLesReglages(hdc);

    // Wipe the rotor, fields and forces of the previous Tick.
    CentralPaint(hdc, 107);

    // The laboratory's settings are read once a Tick: a change counts from the next one. The
    // starter applies them, in part while the motor starts.
    demarrage.Avance(labo, alim.amplitude, Mas.omega);
    const tagLabo applique = demarrage.Applique(labo);
    const bool origine = applique.ParDefaut();

    // The supply advances first: the model steps with the new phase.
    double forces[3];
    double torque;
    if (origine) {
        alim.phase = alim.phase + alim.phase_step;
        Mas.CalculMas(alim.amplitude, alim.phase, frein.couple, forces, &torque);
    } else {
        const double pas_phase = applique.PasPhase(alim.phase_step);
        alim.phase = alim.phase + pas_phase;
        Mas.CalculMasLabo(applique, alim.amplitude, alim.phase, pas_phase, frein.couple, forces,
                          &torque);
    }

    // Later drawings lie over earlier ones: fields over the rotor, forces over both.
    masdessin.RotorTourneTotal(hdc, Mas.theta);
    if (origine) {
        masdessin.ChampsTotal(hdc, alim.phase, alim.amplitude / 0.015);
    } else {
        double courants[3];
        double bx;
        double by;
        applique.Courants(alim.phase, courants);
        tagLabo::Champ(courants, &bx, &by);
        masdessin.ChampsBobines(hdc, courants, applique.BobineOuverte(), bx, by,
                                applique.EchelleDessin(alim.amplitude / 0.015));
    }
    if (origine) {
        masdessin.ForceLaplaceTotal(hdc, Mas.theta, forces[0], forces[1], forces[2]);
        courbe.TraceCourbe(hdc, Mas.omega, torque);
    } else {
        masdessin.ForceLaplaceBornee(hdc, Mas.theta, forces[0], forces[1], forces[2]);
        // A rotor turning the other way shows on the plot as the original one does.
        const int sens = labo.SensDuTrace(Mas.omega);
        courbe.TraceCourbe(hdc, sens * Mas.omega, sens * torque);
    }

    ReleaseDC(hwnd, hdc);
}

// The fixed parts of the scene; the moving ones come back with the next Tick.
void Repeint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    alim.CreateAlim(hdc, 2);
    masdessin.CreateBobine1(hdc);
    masdessin.CreateBobine2(hdc);
    masdessin.CreateBobine3(hdc);
    CreateAxe(hdc);
    frein.CreateFrein(hdc); // takes its black text from CreateAxe
    ModeEmploi(hdc);
    EndPaint(hwnd, &ps);
}

} // namespace

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        SetTimer(hwnd, 1, 50, NULL);
        Tick(hwnd); // creation itself makes the first model step
        return 0;
    case WM_TIMER:
        Tick(hwnd);
        return 0;
    case WM_PAINT:
        Repeint(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
        CliqueGauche(hwnd, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        CliqueDroit(hwnd, lParam);
        return 0;
    case WM_APPARENCE:
        ChangeApparence(hwnd, static_cast<int>(wParam));
        return 0;
    case WM_LANGUE:
        ChangeLangue(hwnd, static_cast<int>(wParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}
