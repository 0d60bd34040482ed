#include "model/stator.h"

#include "base/geometrie.h"
#include "model/constantes.h"

#include <cmath>

namespace {

constexpr int INCONNUES = 6; // at most three mesh currents in the stator, three turns

// The coils' axes, at 0, +2pi/3 and -2pi/3, as tagLabo::Champ takes them.
constexpr double AXE_X[3] = {1.0, -0.5, -0.5};
constexpr double AXE_Y[3] = {0.0, 0.8660254037844386, -0.8660254037844386};

// The turns' normals at a rotor angle, as the ideal step takes them.
void Normales(double theta, double nx[3], double ny[3]) {
    const double decalages[3] = {0.0, PI_SUR_3, DEUX_PI_SUR_3};
    for (int j = 0; j < 3; j++) {
        const double n = theta - PI_SUR_2 - decalages[j];
        nx[j] = std::cos(n);
        ny[j] = std::sin(n);
    }
}

// The stator's independent currents: coil currents = C times mesh currents. In star the coils'
// currents add up to zero (the neutral is floating): two meshes, through two pairs of lines. A
// line open in star leaves its coil out and the two others in series. In delta each coil is its
// own mesh with the supply; a line open puts the two coils it joins in series across the other
// coil's two lines.
int Mailles(const tagLabo& labo, double c[3][3]) {
    for (int k = 0; k < 3; k++)
        for (int q = 0; q < 3; q++)
            c[k][q] = 0;
    const int m = labo.BobineOuverte();
    if (!labo.triangle) {
        if (m < 0) {
            c[0][0] = 1;
            c[1][0] = -1;
            c[1][1] = 1;
            c[2][1] = -1;
            return 2;
        }
        c[(m + 1) % 3][0] = 1;
        c[(m + 2) % 3][0] = -1;
        return 1;
    }
    if (m < 0) {
        for (int k = 0; k < 3; k++)
            c[k][k] = 1;
        return 3;
    }
    c[(m + 1) % 3][0] = 1;
    c[m][1] = 1;
    c[(m + 2) % 3][1] = 1;
    return 2;
}

// Solves a symmetric positive definite system by elimination, in place; the solution in b.
void Resout(int n, double a[INCONNUES][INCONNUES], double b[INCONNUES]) {
    for (int col = 0; col < n; col++) {
        for (int r = col + 1; r < n; r++) {
            const double facteur = a[r][col] / a[col][col];
            for (int c = col; c < n; c++)
                a[r][c] -= facteur * a[col][c];
            b[r] -= facteur * b[col];
        }
    }
    for (int r = n - 1; r >= 0; r--) {
        double somme = b[r];
        for (int c = r + 1; c < n; c++)
            somme -= a[r][c] * b[c];
        b[r] = somme / a[r][r];
    }
}

double Carres(const double v[3]) {
    return v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
}

} // namespace

tagStator::tagStator() {
    for (int k = 0; k < 3; k++) {
        psi[k] = 0;
        courants[k] = 0;
        ligne[k] = 0;
        tensions[k] = 0;
    }
    absorbee = 0;
    joule = 0;
    fer = 0;
    transmise = 0;
    joule_rotor = 0;
    mecanique = 0;
    couple = 0;
}

void tagStator::CourantsDesBobines(double c[3]) const {
    for (int k = 0; k < 3; k++)
        c[k] = courants[k];
}

void tagStator::CourantsDeLigne(double c[3]) const {
    for (int k = 0; k < 3; k++)
        c[k] = ligne[k];
}

void MagnetiseAVide(tagStator& stator, const tagLabo& labo, const tagMachine& machine,
                    double amplitude, double phase, double theta, double phi[3]) {
    tagLabo sain = labo;
    sain.ligne_ouverte = 0;
    double c[3];
    sain.Courants(phase, c);
    const double flux = labo.Flux(amplitude) * (labo.reseau / 400);
    // A balanced set of coil currents makes 3/2 of one along its axis.
    const double l_cyclique = machine.l_fuite + 1.5 * machine.l_magnetisante;
    double mx = 0;
    double my = 0;
    for (int k = 0; k < 3; k++) {
        const double psi = flux * (labo.triangle ? c[k] - c[(k + 1) % 3] : c[k]);
        stator.psi[k] = psi;
        stator.courants[k] = psi / l_cyclique;
        mx += stator.courants[k] * AXE_X[k];
        my += stator.courants[k] * AXE_Y[k];
    }
    for (int k = 0; k < 3; k++) {
        stator.ligne[k] =
            labo.triangle ? stator.courants[k] - stator.courants[(k + 2) % 3] : stator.courants[k];
        // The sum of the others' is minus this one's: 3/2 exactly as psi was taken.
        stator.psi[k] = machine.l_fuite * stator.courants[k] +
                        machine.l_magnetisante * (mx * AXE_X[k] + my * AXE_Y[k]);
    }
    double nx[3];
    double ny[3];
    Normales(theta, nx, ny);
    for (int j = 0; j < 3; j++)
        phi[j] = machine.l_magnetisante * (mx * nx[j] + my * ny[j]);
}

void PasStator(tagStator& stator, const tagLabo& labo, const tagMachine& machine, double amplitude,
               double phase, double pas_phase, double theta_avant, double theta, double i[3],
               double phi[3], double forces[3]) {
    const double h = PAS_TEMPS;
    const double Lm = machine.l_magnetisante;

    // The supply: the voltage whose Tick changes each line's flux to neutral as the ideal
    // motor's coil flux changes (each phase on its own, whatever line is open), at the mains'
    // voltage; a coil in delta takes the difference of two lines', sqrt(3) times as much.
    tagLabo sain = labo;
    sain.ligne_ouverte = 0;
    double avant[3];
    double apres[3];
    sain.Courants(phase - pas_phase, avant);
    sain.Courants(phase, apres);
    const double flux = labo.Flux(amplitude) * (labo.reseau / 400);
    double u[3];
    for (int k = 0; k < 3; k++)
        u[k] = flux * (apres[k] - avant[k]) / h;
    for (int k = 0; k < 3; k++)
        stator.tensions[k] = labo.triangle ? u[k] - u[(k + 1) % 3] : u[k];

    // The supply switched off opens the lines: no coil carries a current.
    double c[3][3];
    const int nc = amplitude == 0 ? 0 : Mailles(labo, c);
    double gx[3]; // each mesh's current along the axes, summed over its coils
    double gy[3];
    for (int q = 0; q < nc; q++) {
        gx[q] = 0;
        gy[q] = 0;
        for (int k = 0; k < 3; k++) {
            gx[q] += c[k][q] * AXE_X[k];
            gy[q] += c[k][q] * AXE_Y[k];
        }
    }
    double nx[3];
    double ny[3];
    Normales(theta, nx, ny);

    // Each mesh: R_s i + (psi - psi_before) / h = the supply's voltage, psi = L_ls i + L_m m . e,
    // m = sum of the currents along their axes. Each turn: R i + (lambda - lambda_before) / h = 0,
    // lambda = L i + L_m m . n. The same step as the ideal rotor's, whose flux was given.
    const double rs = machine.r_stator + machine.l_fuite / h;
    const double rr = machine.r_rotor + machine.l_rotor / h;
    const double lm_h = Lm / h;
    const int n = nc + 3;
    double a[INCONNUES][INCONNUES];
    double b[INCONNUES];
    for (int p = 0; p < nc; p++) {
        for (int q = 0; q < nc; q++) {
            double cc = 0;
            for (int k = 0; k < 3; k++)
                cc += c[k][p] * c[k][q];
            a[p][q] = rs * cc + lm_h * (gx[p] * gx[q] + gy[p] * gy[q]);
        }
        for (int j = 0; j < 3; j++) {
            a[p][nc + j] = lm_h * (gx[p] * nx[j] + gy[p] * ny[j]);
            a[nc + j][p] = a[p][nc + j];
        }
        b[p] = 0;
        for (int k = 0; k < 3; k++)
            b[p] += c[k][p] * (stator.tensions[k] + stator.psi[k] / h);
    }
    for (int j = 0; j < 3; j++) {
        for (int l = 0; l < 3; l++)
            a[nc + j][nc + l] = lm_h * (nx[j] * nx[l] + ny[j] * ny[l]) + (j == l ? rr : 0);
        b[nc + j] = (machine.l_rotor * i[j] + phi[j]) / h;
    }
    Resout(n, a, b);

    // The currents before and after, the air gap's field from them.
    double is_avant[3];
    double is[3];
    double ir_avant[3];
    double ir[3];
    for (int k = 0; k < 3; k++) {
        is_avant[k] = stator.courants[k];
        is[k] = 0;
        for (int q = 0; q < nc; q++)
            is[k] += c[k][q] * b[q];
        ir_avant[k] = i[k];
        ir[k] = b[nc + k];
    }
    // S: the coils' currents along their axes; R: the turns' along their normals at theta.
    double sx = 0;
    double sy = 0;
    double sx_avant = 0;
    double sy_avant = 0;
    double rx = 0;
    double ry = 0;
    double rx_avant_ici = 0; // the turns' currents before, at the new angle
    double ry_avant_ici = 0;
    for (int k = 0; k < 3; k++) {
        sx += is[k] * AXE_X[k];
        sy += is[k] * AXE_Y[k];
        sx_avant += is_avant[k] * AXE_X[k];
        sy_avant += is_avant[k] * AXE_Y[k];
        rx += ir[k] * nx[k];
        ry += ir[k] * ny[k];
        rx_avant_ici += ir_avant[k] * nx[k];
        ry_avant_ici += ir_avant[k] * ny[k];
    }
    const double mx = sx + rx;
    const double my = sy + ry;

    // The magnetic energy before the Tick, from the state it left.
    double nx_avant[3];
    double ny_avant[3];
    Normales(theta_avant, nx_avant, ny_avant);
    double mx_avant = sx_avant;
    double my_avant = sy_avant;
    for (int k = 0; k < 3; k++) {
        mx_avant += ir_avant[k] * nx_avant[k];
        my_avant += ir_avant[k] * ny_avant[k];
    }

    // The torque. The step's electrical equations, times the currents after it, give the supply's
    // energy as the losses, the change of the magnetic energy (1/2) x'Lx, and x'(L - L_before)
    // x_before - (1/2) x_before'(L - L_before) x_before + (1/2) dx'L dx, L's change being the
    // coils' mutual inductance with the turns as the rotor turned. Of that, the work of the torque
    // is taken at the Tick's middle, (1/2) x_mid'(L - L_before) x_mid: the coils' mean currents
    // against the turns' mean currents, whose normals moved by 2 sin(d/2) along their tangents at
    // the middle angle. What is left is what the step dissipates: as the rotor's step does, of
    // second order when the air gap's field turns smoothly.
    const double d = theta - theta_avant;
    const double sinus_c = d == 0 ? 1.0 : std::sin(d / 2) / (d / 2);
    double tx[3];
    double ty[3];
    Normales(theta_avant + d / 2 + PI_SUR_2, tx, ty); // the tangents at the middle
    const double smx = (sx + sx_avant) / 2;
    const double smy = (sy + sy_avant) / 2;
    double travail = 0; // E_m / d
    // What the rotation moved, over d: the turns' old currents and their jumps, along the tangents.
    double avant_tx = 0;
    double avant_ty = 0;
    double saut_tx = 0;
    double saut_ty = 0;
    for (int j = 0; j < 3; j++) {
        const double part = Lm * sinus_c * (ir[j] + ir_avant[j]) / 2 * (smx * tx[j] + smy * ty[j]);
        // The model's torques drive towards negative angles.
        forces[j] = -part;
        travail += part;
        avant_tx += ir_avant[j] * tx[j];
        avant_ty += ir_avant[j] * ty[j];
        saut_tx += (ir[j] - ir_avant[j]) * tx[j];
        saut_ty += (ir[j] - ir_avant[j]) * ty[j];
    }
    const double rot = Lm * d * sinus_c; // a current along a tangent, to the mutual flux it moved
    const double ds_x = sx - sx_avant;
    const double ds_y = sy - sy_avant;
    // dx'(L - L_before)dx and dx'(L - L_before)x_before.
    const double saut_saut = 2 * rot * (ds_x * saut_tx + ds_y * saut_ty);
    const double saut_avant =
        rot * (ds_x * avant_tx + ds_y * avant_ty + sx_avant * saut_tx + sy_avant * saut_ty);

    // Powers, per second.
    double saut_s[3];
    double saut_r[3];
    double us = 0;
    for (int k = 0; k < 3; k++) {
        saut_s[k] = is[k] - is_avant[k];
        saut_r[k] = ir[k] - ir_avant[k];
    }
    for (int q = 0; q < nc; q++) {
        // Each mesh's voltage times its current: the coils' voltages times theirs.
        double tension = 0;
        for (int k = 0; k < 3; k++)
            tension += c[k][q] * stator.tensions[k];
        us += tension * b[q];
    }
    const double dmx = (sx - sx_avant) + (rx - rx_avant_ici);
    const double dmy = (sy - sy_avant) + (ry - ry_avant_ici);
    const double w_stator =
        machine.l_fuite / 2 * (Carres(is) - Carres(is_avant)) +
        Lm / 2 * (mx * mx + my * my - mx_avant * mx_avant - my_avant * my_avant);
    stator.absorbee = us;
    stator.joule = machine.r_stator * Carres(is) + machine.l_fuite / (2 * h) * Carres(saut_s);
    stator.fer = (Lm / 2 * (dmx * dmx + dmy * dmy) - saut_saut / 8 + saut_avant / 2) / h;
    stator.transmise = stator.absorbee - stator.joule - stator.fer - w_stator / h;
    stator.joule_rotor = machine.r_rotor * Carres(ir) + machine.l_rotor / (2 * h) * Carres(saut_r);
    stator.mecanique = travail * d / h;
    stator.couple = -travail;

    // The state the next Tick starts from.
    for (int k = 0; k < 3; k++) {
        stator.courants[k] = is[k];
        stator.psi[k] = machine.l_fuite * is[k] + Lm * (mx * AXE_X[k] + my * AXE_Y[k]);
        i[k] = ir[k];
        phi[k] = Lm * (mx * nx[k] + my * ny[k]);
    }
    for (int k = 0; k < 3; k++)
        stator.ligne[k] = labo.triangle ? is[k] - is[(k + 2) % 3] : is[k];
}
