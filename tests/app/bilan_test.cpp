// The rotor's power balance over one supply period: P_tr = P_jr + P_m at steady state for every
// setting, a line open or not, and an average over the period that is the mean of what
// oscillates in it, whether the period is a whole number of Ticks or not.
#include "model/bilan.h"
#include "model/constantes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct Reglage {
    bool inverse;
    int ouverte; // the line open once the motor runs, 0 for none
    double frequence;
    double tension;
    double resistance;
    int loi;
    int paires;
    double frein;
    bool ouverte_a_l_arret; // the line open from the start: the rotor never starts
};

std::string Nom(const Reglage& r) {
    return std::string(r.inverse ? "reversed" : "direct") + " open=" + std::to_string(r.ouverte) +
           (r.ouverte_a_l_arret ? " from rest" : "") + " f=" + std::to_string(r.frequence) +
           " U=" + std::to_string(r.tension) + " R=" + std::to_string(r.resistance) +
           " law=" + std::to_string(r.loi) + " poles=" + std::to_string(r.paires) +
           " brake=" + std::to_string(r.frein);
}

// Runs the motor as the window's Tick does, the balance taken after each Tick; the line opens
// once it has run up, unless it was open from the start.
tagBilanPeriode Regime(const Reglage& r, int ticks) {
    tagLabo labo;
    labo.ordre_inverse = r.inverse;
    labo.frequence = r.frequence;
    labo.tension = r.tension;
    labo.resistance = r.resistance;
    labo.loi_charge = r.loi;
    labo.paires_poles = r.paires;
    labo.ligne_ouverte = r.ouverte_a_l_arret ? r.ouverte : 0;
    tagMas mas(0.0, 0.0);
    tagBilanPeriode bilan;
    double phase = 0;
    for (int n = 0; n < ticks; n++) {
        if (n == 20000) labo.ligne_ouverte = r.ouverte;
        const double pas = labo.PasPhase(PAS_PHASE_NOMINAL);
        phase = phase + pas;
        const tagMas avant = mas;
        double forces[3];
        double couple;
        PasModele(mas, labo, AMPLITUDE_ALIMENTATION, phase, pas, r.frein, forces, &couple);
        bilan.Ajoute(PuissancesDuTick(avant, mas, labo, AMPLITUDE_ALIMENTATION, phase), labo);
    }
    return bilan;
}

TEST(Bilan, ClosesOverAPeriodAtSteadyStateForEverySetting) {
    // Frequencies whose period is a whole number of Ticks (100, 50, 200) and not (30, 70, 120,
    // 150, 33.3); low and high rotor resistance; each load law; a free rotor and a loaded one.
    const Reglage reglages[] = {
        {false, 0, 100, 100, 1, CHARGE_CONSTANTE, 1, 5, false},
        {false, 1, 100, 100, 1, CHARGE_CONSTANTE, 1, 1, false},
        {false, 2, 100, 100, 1, CHARGE_CONSTANTE, 1, 0, false},
        {false, 3, 100, 100, 1, CHARGE_CONSTANTE, 1, 1, true},
        {true, 0, 100, 100, 1, CHARGE_LINEAIRE, 2, 8, false},
        {true, 1, 120, 100, 1, CHARGE_CONSTANTE, 1, 1, false},
        {true, 2, 70, 60, 0.25, CHARGE_LINEAIRE, 3, 2, false},
        {false, 3, 120, 120, 0.25, CHARGE_CONSTANTE, 1, 0, false},
        {false, 1, 30, 30, 4, CHARGE_QUADRATIQUE, 2, 3, false},
        {false, 2, 30, 30, 1, CHARGE_LINEAIRE, 1, 0.5, false},
        {false, 2, 33.3, 100, 4, CHARGE_QUADRATIQUE, 1, 3, true},
        {true, 3, 150, 150, 0.5, CHARGE_QUADRATIQUE, 4, 4, false},
        {false, 0, 77.7, 90, 2, CHARGE_QUADRATIQUE, 1, 4, false},
        {false, 0, 200, 200, 1, CHARGE_CONSTANTE, 1, 1, false},
        {true, 0, 50, 50, 0.25, CHARGE_CONSTANTE, 2, 3, false},
        {false, 1, 10, 10, 1, CHARGE_CONSTANTE, 1, 0, true},
        // A driving load: past synchronism, a generator; past standstill, against a rotor of high
        // resistance, plugging. Both orders, a line open.
        {false, 0, 100, 100, 1, CHARGE_ENTRAINANTE, 1, -5, false},
        {true, 0, 70, 100, 1, CHARGE_ENTRAINANTE, 1, 8, false},
        {false, 0, 100, 100, 8, CHARGE_ENTRAINANTE, 1, 20, false},
        {true, 0, 50, 50, 8, CHARGE_ENTRAINANTE, 1, -16, false},
        {false, 3, 100, 100, 1, CHARGE_ENTRAINANTE, 1, -1, false},
    };
    double pire = 0;
    for (const Reglage& r : reglages) {
        const tagBilanPeriode bilan = Regime(r, 80000);
        ASSERT_TRUE(bilan.Complet()) << Nom(r);
        const tagPuissances m = bilan.Moyenne();
        tagLabo labo;
        labo.ordre_inverse = r.inverse;
        labo.frequence = r.frequence;
        const double g = Glissement(m.omega, labo.OmegaSynchrone());
        if (r.ouverte == 0 && g < 0) {
            EXPECT_LT(m.transmise, 0) << Nom(r) << ": a generator gives the supply power";
            EXPECT_LT(m.mecanique, 0) << Nom(r) << ": taken from the load";
        } else if (r.ouverte == 0 && g > 1) {
            EXPECT_GT(m.transmise, 0) << Nom(r) << ": plugging takes power from the supply";
            EXPECT_LT(m.mecanique, 0) << Nom(r) << ": and from the load";
        } else {
            EXPECT_GT(m.transmise, 0) << Nom(r) << ": the stator's field gives the rotor power";
        }
        EXPECT_GT(m.joule, 0) << Nom(r);
        // What is left is the run's own distance from its steady state.
        const double taille = std::fabs(m.transmise);
        EXPECT_NEAR(m.joule + m.mecanique, m.transmise, 1e-9 * taille) << Nom(r);
        pire = std::fmax(pire, std::fabs(m.transmise - m.joule - m.mecanique) / taille);
        if (r.ouverte == 0) {
            // A rotating field: P_tr is the electromagnetic torque times the field's speed. Past
            // standstill the rotor's currents have about the supply's frequency, at which the step
            // dissipates a part of P_tr (a fortieth here): the torque carries the rest.
            const double em = m.couple - FROTTEMENT * m.omega;
            const double pas = g > 1 ? m.joule - RESISTANCE_SPIRE * r.resistance * m.carres : 0;
            EXPECT_NEAR(PuissanceDuCouple(em, labo.OmegaSynchrone()), m.transmise - pas,
                        (g > 1 ? 1e-3 : 1e-5) * taille)
                << Nom(r);
        }
    }
    RecordProperty("worst_relative_residual", std::to_string(pire));
}

TEST(Bilan, AveragesWhatOscillatesAtTwiceAndFourTimesTheSupplyToItsMean) {
    // A useful torque of 5 with a pulsation at 2f and one at 4f, as with a line open, fed Tick by
    // Tick: its average over the last period is 5 wherever the window starts.
    for (const double frequence : {100.0, 30.0, 70.0, 120.0, 150.0, 199.9, 10.05}) {
        tagLabo labo;
        labo.frequence = frequence;
        const double w = 2 * 3.141592653589793 / labo.PeriodeEnTicks();
        tagBilanPeriode bilan;
        for (int n = 0; n < 3000; n++) {
            tagPuissances p{};
            p.couple = 5 + 3 * std::cos(2 * w * n + 0.3) + 0.5 * std::sin(4 * w * n + 1.1);
            bilan.Ajoute(p, labo);
            if (bilan.Complet()) {
                ASSERT_NEAR(bilan.Moyenne().couple, 5, 1e-12)
                    << "frequency " << frequence << ", Tick " << n;
            }
        }
    }
}

} // namespace
