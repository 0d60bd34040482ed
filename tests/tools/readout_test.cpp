// The readout as a student reads it, at a steady state of the model: real values for the chosen
// frequency and pole pairs, the power balance averaged over a supply period, in the picture's
// language.
#include "base/textes.h"
#include "model/bilan.h"
#include "model/plaque.h"
#include "model/unites.h"
#include "shell/etat_de_depart.h"
#include "shell/scene.h"
#include "tools/instruments/readout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

namespace {

// The last supply period's balance, as the programs keep it after each Tick.
tagBilanPeriode balance;

// Runs `ticks` Ticks more with the supply on under the settings of the moment and this brake, as
// the window's Tick makes them.
void RunOn(double brake, int ticks) {
    alim.amplitude = 0.075;
    frein.couple = brake;
    for (int n = 0; n < ticks; n++) {
        const double pas = labo.PasPhase(alim.phase_step);
        alim.phase = alim.phase + pas;
        double forces[3];
        double torque;
        const tagMas before = Mas;
        PasModele(Mas, labo, alim.amplitude, alim.phase, pas, frein.couple, forces, &torque);
        // The plot's point, as the Tick leaves it: in the direction the rotor turns.
        courbe.last_torque = labo.SensDuTrace(Mas.omega) * torque;
        balance.Ajoute(PuissancesDuTick(before, Mas, labo, alim.amplitude, alim.phase), labo);
    }
}

// The program's state after running `ticks` Ticks from rest under these settings and this brake,
// as the readout reads it, in the language the test chose.
void RunTo(const tagLabo& settings, double brake, int ticks) {
    const tagTextes* const language = textes;
    EtatDeDepart();
    textes = language;
    labo = settings;
    balance = tagBilanPeriode();
    RunOn(brake, ticks);
}

std::map<std::string, std::string> Rows(double clock_speed = 1) {
    std::map<std::string, std::string> rows;
    for (const kv::viewer::BoxRow& row : ReadoutRows(balance, clock_speed))
        rows[row.left] = row.right;
    return rows;
}

// The number a row starts with, in either language's way.
double Number(std::string text) {
    std::string plain;
    for (const char c : text) {
        if (c == ',')
            plain += '.';
        else if (c != ' ')
            plain += c;
    }
    return std::strtod(plain.c_str(), nullptr);
}

class Readout : public ::testing::Test {
  protected:
    void TearDown() override { EtatDeDepart(); }
};

TEST_F(Readout, FrenchByDefaultWithRealValuesAndThePowerBalance) {
    textes = &textes_fr;
    RunTo(tagLabo(), 5.0, 8000);
    const auto rows = Rows();
    EXPECT_EQ(rows.at("Alimentation"), "50,0 Hz, 400 V");
    EXPECT_EQ(rows.at("Vitesse de synchronisme"), "3 000 tr/min (1 paire de p\xF4les)");
    EXPECT_EQ(rows.at("Laboratoire"), "r\xE9glages d'origine");
    const double slip = Number(rows.at("Glissement"));
    EXPECT_NEAR(slip, 2.16, 0.01);
    EXPECT_EQ(rows.at("Glissement").substr(4), " %") << "two decimals and a decimal comma";
    EXPECT_NEAR(Number(rows.at("Vitesse (tr/min)")), 3000 * (1 - slip / 100), 1);
    EXPECT_NEAR(Number(rows.at("Fr\xE9quence rotorique")), 50 * slip / 100, 0.006);
    EXPECT_EQ(rows.at("Temps"), "ralenti 250 fois");
    EXPECT_EQ(rows.at("Moyennes sur une p\xE9riode"), "100 pas de temps (20,0 ms)");

    // P_tr = P_jr + P_f + P_u, the rotor's efficiency 1 - g.
    EXPECT_EQ(rows.at("Puissance transmise P_tr"), "100,0 %");
    const double parts = Number(rows.at("Pertes Joule rotor P_jr")) +
                         Number(rows.at("Pertes m\xE9"
                                        "caniques P_f")) +
                         Number(rows.at("Puissance utile P_u"));
    EXPECT_NEAR(parts, 100, 0.11);
    EXPECT_NEAR(Number(rows.at("Pertes Joule rotor P_jr")), slip, 0.06);
    EXPECT_NEAR(Number(rows.at("Rendement du rotor P_m/P_tr")), 100 - slip, 0.06);
    EXPECT_EQ(rows.at("Phase 2"), "bobine en bas \xE0 droite");
}

TEST_F(Readout, EnglishWithPolePairsFrequencyAndAnOpenLine) {
    textes = &textes_en;
    tagLabo settings;
    settings.paires_poles = 2;
    settings.frequence = 50;
    settings.tension = 50;
    RunTo(settings, 2.0, 10000);
    auto rows = Rows(8);
    EXPECT_EQ(rows.at("Supply"), "25.0 Hz, 200 V");
    EXPECT_EQ(rows.at("Synchronous speed"), "750 rpm (2 pole pairs)");
    EXPECT_EQ(rows.at("Laboratory"), "frequency=50 voltage=50 poles=2");
    const double slip = Number(rows.at("Slip"));
    EXPECT_GT(slip, 1.0);
    EXPECT_NEAR(Number(rows.at("Speed (rpm)")), 750 * (1 - slip / 100), 1);
    EXPECT_NEAR(Number(rows.at("Rotor frequency")), 25 * slip / 100, 0.003);
    EXPECT_EQ(rows.at("Time"), "slowed down 31.25 times") << "the clock at x8";
    EXPECT_EQ(rows.at("Averages over a period"), "200 Ticks (40.0 ms)");
    EXPECT_EQ(rows.at("Resultant"), "rotating field");

    // The rotor current at standstill is the reference: a rotor at rest shows 100 %.
    settings.ligne_ouverte = 3;
    RunTo(settings, 0.0, 3000);
    rows = Rows();
    EXPECT_EQ(rows.at("Phase 3"), "top right coil (line open)");
    EXPECT_EQ(rows.at("Resultant"), "pulsating field");
    EXPECT_LT(std::fabs(Mas.omega), 1e-4) << "an open line does not start";
    EXPECT_NEAR(Number(rows.at("Rotor current")), 100, 10);
    // The two halves of a pulsating field pull the standing rotor both ways, but the stator's
    // field still gives the turns power: all of it heats them.
    EXPECT_EQ(rows.at("Air-gap power P_tr"), "100.0 %");
    EXPECT_EQ(rows.at("Rotor copper losses P_jr"), "100.0 %");
    EXPECT_EQ(rows.at("Rotor efficiency P_m/P_tr"), "0.0 %");
}

TEST_F(Readout, ALineOpenedWhileRunningShowsABalanceThatHoldsStillAndCloses) {
    textes = &textes_fr;
    RunTo(tagLabo(), 1.0, 8000);
    labo.ligne_ouverte = 1;
    RunOn(1.0, 20000);
    const auto rows = Rows();
    const double torque = courbe.last_torque;
    RunOn(1.0, 1);
    EXPECT_GT(std::fabs(courbe.last_torque - torque), 1) << "the torque pulsates at 2f";
    EXPECT_EQ(Rows(), rows) << "its averages do not";

    EXPECT_NEAR(Number(rows.at("Couple utile")), 1.0, 1e-4) << "it meets the brake";
    EXPECT_EQ(rows.at("Puissance transmise P_tr"), "100,0 %");
    const double copper = Number(rows.at("Pertes Joule rotor P_jr"));
    const double parts = copper +
                         Number(rows.at("Pertes m\xE9"
                                        "caniques P_f")) +
                         Number(rows.at("Puissance utile P_u"));
    EXPECT_NEAR(parts, 100, 0.11);
    EXPECT_NEAR(Number(rows.at("Rendement du rotor P_m/P_tr")), 100 - copper, 0.06);
    // The backward half of the pulsating field, at nearly twice the supply's frequency in the
    // rotor, heats it far beyond the slip's share.
    EXPECT_GT(copper, 10 * Number(rows.at("Glissement")));
}

TEST_F(Readout, AGeneratorAndPluggingShowTheirSignsAndSaySo) {
    // On the four-quadrant plot the torque is read in the field's direction. Past synchronism,
    // driven by the load, the machine gives the supply power: P_tr negative, the load's power
    // negative and larger; reversed while running, it turns against the field and brakes.
    textes = &textes_fr;
    tagLabo settings;
    settings.loi_charge = CHARGE_ENTRAINANTE;
    settings.quatre_quadrants = true;
    RunTo(settings, -5.0, 20000);
    auto rows = Rows();
    EXPECT_EQ(rows.at("Glissement"), "-1,66 %, g\xE9n\xE9ratrice hypersynchrone");
    EXPECT_EQ(rows.at("Vitesse"), "101,7 % de n_s");
    EXPECT_EQ(rows.at("Couple utile"), "-5,0000");
    EXPECT_EQ(rows.at("Puissance transmise P_tr"), "-100,0 %");
    const double copper = Number(rows.at("Pertes Joule rotor P_jr"));
    EXPECT_GT(copper, 0);
    EXPECT_NEAR(copper +
                    Number(rows.at("Pertes m\xE9"
                                   "caniques P_f")) +
                    Number(rows.at("Puissance utile P_u")),
                -100, 0.11)
        << "P_tr = P_jr + P_m with their signs";

    textes = &textes_en;
    RunTo(tagLabo(), 5.0, 8000);
    labo.ordre_inverse = true;
    labo.quatre_quadrants = true;
    RunOn(5.0, 300);
    rows = Rows();
    EXPECT_GT(Number(rows.at("Slip")), 150);
    EXPECT_NE(rows.at("Slip").find(", plugging"), std::string::npos) << rows.at("Slip");
    EXPECT_LT(Number(rows.at("Speed")), -50) << "against the field";
    EXPECT_GT(Number(rows.at("Useful torque")), 0) << "in the field's direction, braking";
    EXPECT_EQ(rows.at("Air-gap power P_tr"), "100.0 %");
    EXPECT_LT(Number(rows.at("Useful power P_u")), 0) << "taken from the rotor's motion";
}

TEST_F(Readout, TheRealMotorsStatorSideInWattsAndAmperes) {
    // The nameplate's motor in delta on 230 V mains, loaded by its rated torque: its line
    // current, power factor and efficiency, and a balance whose rows add up.
    textes = &textes_fr;
    tagLabo settings;
    settings.moteur_reel = true;
    settings.paires_poles = PLAQUE_PAIRES_POLES;
    settings.triangle = true;
    settings.reseau = 230;
    RunTo(settings, CoupleDuModele(PlaqueCoupleNominal(), PLAQUE_PAIRES_POLES), 40000);
    const auto rows = Rows();
    EXPECT_EQ(rows.at("Alimentation"), "50,0 Hz, 230 V");
    EXPECT_EQ(rows.at("Bobines"), "triangle, 230 V chacune");
    EXPECT_EQ(rows.at("Laboratoire"), "poles=2 motor=real coupling=delta mains=230");
    // The same power as in star on 400 V: sqrt(3) times the line current.
    EXPECT_NEAR(Number(rows.at("Courant de ligne")), 8.09 * std::sqrt(3.0), 0.1);
    EXPECT_NEAR(Number(rows.at("Facteur de puissance").substr(10)), 0.825, 0.003);
    EXPECT_NEAR(Number(rows.at("Rendement P_u/P_a")), 86.5, 0.3);
    const double absorbee = Number(rows.at("Puissance absorb\xE9"
                                           "e P_a"));
    const double parts = Number(rows.at("Pertes Joule stator P_js")) +
                         Number(rows.at("Pertes du pas (fer) P_fer")) +
                         Number(rows.at("Puissance transmise P_tr"));
    EXPECT_NEAR(parts, absorbee, 1.5) << "each row rounded to the watt";
    EXPECT_NEAR(Number(rows.at("Puissance utile P_u")), PLAQUE_PUISSANCE, 100);
    EXPECT_NEAR(Number(rows.at("Couple utile").substr(rows.at("Couple utile").find('(') + 1)),
                PlaqueCoupleNominal(), 0.3);
}

} // namespace
