#include "shell/suivi_reglages.h"

#include "shell/scene.h"

#include <cmath>

tagEchelleTrace EchelleDuTrace(const tagLabo& reglages) {
    tagEchelleTrace echelle;
    if (reglages.quatre_quadrants) {
        echelle.vitesse_synchrone = std::fabs(reglages.OmegaSynchrone());
        echelle.pixels_par_omega = 100 / echelle.vitesse_synchrone;
        echelle.colonne_zero = 570;
        echelle.quatre_quadrants = true;
    } else if (reglages.frequence != 100) {
        echelle.vitesse_synchrone = std::fabs(reglages.OmegaSynchrone());
        echelle.pixels_par_omega = 5000 * (100 / reglages.frequence);
    }
    return echelle;
}

int FormeDeLaCharge(const tagLabo& reglages) {
    if (reglages.loi_charge == CHARGE_LINEAIRE) return FORME_DROITE;
    if (reglages.loi_charge == CHARGE_QUADRATIQUE) return FORME_PARABOLE;
    // Against the motion, a constant torque changes sign with the speed.
    if (reglages.loi_charge == CHARGE_CONSTANTE && reglages.quatre_quadrants) return FORME_MARCHE;
    return FORME_LIGNE;
}

int SigneDeLaCharge(const tagLabo& reglages) {
    return reglages.loi_charge == CHARGE_ENTRAINANTE && reglages.ordre_inverse ? -1 : 1;
}

void SuitLesReglages(HDC hdc) {
    const tagEchelleTrace echelle = EchelleDuTrace(labo);
    const bool autre_echelle = echelle.colonne_zero != echelle_trace.colonne_zero ||
                               echelle.pixels_par_omega != echelle_trace.pixels_par_omega ||
                               echelle.vitesse_synchrone != echelle_trace.vitesse_synchrone ||
                               echelle.quatre_quadrants != echelle_trace.quatre_quadrants;
    const int forme = FormeDeLaCharge(labo);
    const int signe = SigneDeLaCharge(labo);
    const bool negatif = labo.loi_charge != CHARGE_ENTRAINANTE && frein.couple < 0;
    if (!autre_echelle && forme == frein.forme && signe == frein.signe && !negatif) return;

    if (negatif) frein.couple = 0;
    if (autre_echelle) {
        echelle_trace = echelle;
        CreateAxe(hdc);
        frein.Oublie();
    }
    frein.forme = forme;
    frein.signe = signe;
    frein.Pixelstock(hdc);
    frein.CreateCourbe(hdc);
}
