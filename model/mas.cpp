#include "model/mas.h"

#include "base/geometrie.h"
#include "model/constantes.h"
#include "model/machine.h"

#include <cmath>

namespace {

// The supply's field sweeps past the rotor; a turn at angle theta, offset by delta from turn 1,
// sees the flux amplitude * cos(u), with u = phase - (theta - pi/2 - delta). The flux is constant
// when the rotor keeps pace with the supply: only slip induces a current.
double AngleVuParLaSpire(double phase, double theta, double delta) {
    return phase - (theta - PI_SUR_2 - delta);
}

// Advances one turn by one step and returns the force on its conductors.
double PasSpire(double amplitude, double phase, double theta, double delta, double& phi,
                double& i) {
    const double phi_old = phi;
    const double i_old = i;
    const double u = AngleVuParLaSpire(phase, theta, delta);
    phi = amplitude * std::cos(u);
    // Backward Euler on L di/dt + R i = -dphi/dt: (L/h + R) i = (L/h) i_old - dphi/h, and
    // L/h + R is 1.01 exactly. A change of flux drives the current, the resistance damps it.
    i = (i_old * INDUCTANCE / PAS_TEMPS - (phi - phi_old) / PAS_TEMPS) /
        (INDUCTANCE / PAS_TEMPS + RESISTANCE_SPIRE);
    // Laplace force: current times the field across the conductors, -i * dphi/dtheta.
    return std::sin(u) * (-amplitude) * i;
}

} // namespace

tagMas::tagMas(double amplitude, double phase) {
    theta = 0;
    omega = 0;
    phi1 = amplitude * std::cos(AngleVuParLaSpire(phase, theta, 0.0));
    i1 = 0;
    phi2 = amplitude * std::cos(AngleVuParLaSpire(phase, theta, PI_SUR_3));
    i2 = 0;
    phi3 = amplitude * std::cos(AngleVuParLaSpire(phase, theta, DEUX_PI_SUR_3));
    i3 = 0;
}

void tagMas::Magnetise(const tagLabo& labo, double amplitude, double phase) {
    double phi[3];
    MagnetiseAVide(stator, labo, MachineDuLabo(labo), amplitude, phase, theta, phi);
    phi1 = phi[0];
    phi2 = phi[1];
    phi3 = phi[2];
    i1 = 0;
    i2 = 0;
    i3 = 0;
}

void tagMas::CalculMas(double amplitude, double phase, double couple, double* forces,
                       double* torque) {
    // The rotor moves at the speed of the previous step.
    theta = theta + omega;

    // The three turns, 60 degrees apart, one after the other.
    forces[0] = PasSpire(amplitude, phase, theta, 0.0, phi1, i1);
    forces[1] = PasSpire(amplitude, phase, theta, PI_SUR_3, phi2, i2);
    forces[2] = PasSpire(amplitude, phase, theta, DEUX_PI_SUR_3, phi3, i3);

    // Useful torque: the forces, less a friction proportional to the speed (omega is negative
    // when driving, so omega * FROTTEMENT takes from the drive).
    *torque = (forces[0] + forces[1] + forces[2]) + omega * FROTTEMENT;

    // Newton. The brake opposes the direction of rotation; both tests apply in turn, so a step
    // that starts at rest and ends turning cancels the brake terms.
    if (omega >= 0) omega = omega - (*torque + couple) / INERTIE;
    if (omega < 0) omega = omega - (*torque - couple) / INERTIE;
}

namespace {

// The field the three coils make at this supply phase, scaled to the flux it drives through a turn.
void ChampDuStator(const tagLabo& labo, double amplitude, double phase, double* bx, double* by) {
    double courants[3];
    labo.Courants(phase, courants);
    tagLabo::Champ(courants, bx, by);
    const double flux = labo.Flux(amplitude) * labo.FacteurReseau();
    *bx = flux * *bx;
    *by = flux * *by;
}

// One turn of the general step: the flux it sees is the stator's field along its normal n, and
// the force is -i dphi/dtheta. The current step is the one above with R times the setting.
double PasSpireLabo(double bx, double by, double theta, double delta, double diviseur, double& phi,
                    double& i) {
    const double phi_old = phi;
    const double i_old = i;
    const double n = theta - PI_SUR_2 - delta;
    const double cn = std::cos(n);
    const double sn = std::sin(n);
    phi = bx * cn + by * sn;
    i = (i_old * INDUCTANCE / PAS_TEMPS - (phi - phi_old) / PAS_TEMPS) / diviseur;
    return i * (bx * sn - by * cn);
}

// Newton under the load's law. A load that opposes the motion does as CalculMas's brake; a
// driving load pushes towards positive speeds whichever way the rotor turns, by its signed value.
double VitesseSuivante(const tagLabo& labo, double omega, double torque, double couple,
                       double pas_phase) {
    if (labo.loi_charge == CHARGE_ENTRAINANTE) return omega - (torque - couple) / INERTIE;
    const double resistant = labo.CoupleResistant(couple, omega, pas_phase);
    if (omega >= 0) omega = omega - (torque + resistant) / INERTIE;
    if (omega < 0) omega = omega - (torque - resistant) / INERTIE;
    return omega;
}

} // namespace

void tagMas::CalculMasLabo(const tagLabo& labo, double amplitude, double phase, double pas_phase,
                           double couple, double* forces, double* torque) {
    if (labo.moteur_reel) {
        const tagMachine machine = MachineDuLabo(labo);
        const double theta_avant = theta;
        theta = theta + omega;
        double i[3] = {i1, i2, i3};
        double phi[3] = {phi1, phi2, phi3};
        PasStator(stator, labo, machine, amplitude, phase, pas_phase, theta_avant, theta, i, phi,
                  forces);
        i1 = i[0];
        i2 = i[1];
        i3 = i[2];
        phi1 = phi[0];
        phi2 = phi[1];
        phi3 = phi[2];
        *torque = (forces[0] + forces[1] + forces[2]) + omega * machine.frottement;
        omega = VitesseSuivante(labo, omega, *torque, couple, pas_phase);
        return;
    }
    theta = theta + omega;

    double bx;
    double by;
    ChampDuStator(labo, amplitude, phase, &bx, &by);

    const double diviseur = INDUCTANCE / PAS_TEMPS + RESISTANCE_SPIRE * labo.resistance;
    forces[0] = PasSpireLabo(bx, by, theta, 0.0, diviseur, phi1, i1);
    forces[1] = PasSpireLabo(bx, by, theta, PI_SUR_3, diviseur, phi2, i2);
    forces[2] = PasSpireLabo(bx, by, theta, DEUX_PI_SUR_3, diviseur, phi3, i3);

    *torque = (forces[0] + forces[1] + forces[2]) + omega * FROTTEMENT;

    omega = VitesseSuivante(labo, omega, *torque, couple, pas_phase);
}

void PasModele(tagMas& mas, const tagLabo& labo, double amplitude, double phase, double pas_phase,
               double couple, double* forces, double* torque) {
    if (labo.ParDefaut()) {
        mas.CalculMas(amplitude, phase, couple, forces, torque);
    } else {
        mas.CalculMasLabo(labo, amplitude, phase, pas_phase, couple, forces, torque);
    }
}

void DeriveesDuFlux(const tagLabo& labo, double amplitude, double phase, double theta,
                    double derivees[3]) {
    const double decalages[3] = {0.0, PI_SUR_3, DEUX_PI_SUR_3};
    if (labo.ParDefaut()) {
        // phi = amplitude * cos(u), and u falls as theta grows.
        for (int k = 0; k < 3; k++)
            derivees[k] = amplitude * std::sin(AngleVuParLaSpire(phase, theta, decalages[k]));
        return;
    }
    double bx;
    double by;
    ChampDuStator(labo, amplitude, phase, &bx, &by);
    for (int k = 0; k < 3; k++) {
        // phi = B . n, with n the turn's normal at angle theta - pi/2 - delta.
        const double n = theta - PI_SUR_2 - decalages[k];
        derivees[k] = by * std::cos(n) - bx * std::sin(n);
    }
}
