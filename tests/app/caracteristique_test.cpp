// The steady torque/speed curve, measured at held speeds: a free rotor under a brake must settle
// on its stable branch, the pull-out point must be where the model's torque peaks, and the
// curve must follow the settings as the motor does.
#include "model/caracteristique.h"
#include "model/constantes.h"
#include "model/mas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr double kPasPhase = -0.06283185307179587;

// Where a free rotor settles under this brake, raised once it has run up: the slip, averaged
// over ten supply periods.
double SettledSlip(const tagLabo& labo, double couple) {
    tagMas mas(0.0, 0.0);
    double phase = 0;
    const double pas = labo.PasPhase(kPasPhase);
    const double sync = labo.ordre_inverse ? -pas : pas;
    double omega = 0;
    const int periode = static_cast<int>(std::lround(100 / (labo.frequence / 100)));
    for (int n = 0; n < 14000 + 10 * periode; n++) {
        phase = phase + pas;
        double forces[3];
        double torque;
        PasModele(mas, labo, AMPLITUDE_ALIMENTATION, phase, pas, n < 3000 ? 0.0 : couple, forces,
                  &torque);
        if (n >= 14000) omega += mas.omega;
    }
    return 1 - omega / (10 * periode) / sync;
}

// The stable branch's slip where the useful torque (in the motor's direction) is `torque`.
double SlipOnTheCurve(const tagCaracteristique& c, double torque) {
    const double sens = c.omega_synchrone < 0 ? 1 : -1;
    for (std::size_t k = 1; k < c.points.size(); ++k) {
        const tagPointPermanent& a = c.points[k - 1];
        const tagPointPermanent& b = c.points[k];
        const double ta = sens * a.couple;
        const double tb = sens * b.couple;
        if (a.stable && ta <= torque && tb >= torque)
            return a.glissement + (b.glissement - a.glissement) * (torque - ta) / (tb - ta);
    }
    ADD_FAILURE() << "no stable point at torque " << torque;
    return 0;
}

tagLabo Settings(bool reversed, double frequency, double voltage, double resistance) {
    tagLabo l;
    l.ordre_inverse = reversed;
    l.frequence = frequency;
    l.tension = voltage;
    l.resistance = resistance;
    return l;
}

TEST(SteadyCurve, TheOriginalMotorsCurveHasItsKnownPoints) {
    const tagCaracteristique c = MesureCaracteristique(tagLabo());
    EXPECT_EQ(c.omega_synchrone, kPasPhase);
    EXPECT_NEAR(c.decrochage_em.couple_em, 20.99, 0.02);
    EXPECT_NEAR(c.decrochage_em.glissement, 0.158, 0.002);
    EXPECT_NEAR(c.decrochage.couple, 20.47, 0.02) << "friction apart from the useful torque";
    EXPECT_NEAR(c.decrochage.glissement, 0.16, 0.01);
    EXPECT_NEAR(c.points.back().glissement, 1.0, 1e-12);
    EXPECT_NEAR(c.points.back().couple, 6.48, 0.01) << "the starting torque";
    EXPECT_NEAR(c.points.back().omega, 0.0, 1e-15);

    // By slip: the torque rises on the stable branch (it falls as the speed rises) and falls on
    // the other; above synchronism the machine brakes, as a generator.
    for (std::size_t k = 0; k < c.points.size(); ++k) {
        const tagPointPermanent& p = c.points[k];
        EXPECT_EQ(p.stable, p.glissement <= c.decrochage.glissement) << "slip " << p.glissement;
        EXPECT_LE(p.couple, c.decrochage.couple) << "slip " << p.glissement;
        if (k > 0 && c.points[k - 1].stable == p.stable) {
            if (p.stable) {
                EXPECT_GT(p.couple, c.points[k - 1].couple) << "slip " << p.glissement;
            } else {
                EXPECT_LT(p.couple, c.points[k - 1].couple) << "slip " << p.glissement;
            }
        }
        if (p.glissement < 0) {
            EXPECT_LT(p.couple, 0.0) << "slip " << p.glissement;
        }
        EXPECT_NEAR(p.omega, (1 - p.glissement) * kPasPhase, 1e-15);
    }
    EXPECT_GT(c.points.back().courant, 10 * c.points[5].courant + 1)
        << "a standing rotor carries the most current";
}

TEST(SteadyCurve, AFreeRotorSettlesOnItsStableBranch) {
    struct Case {
        tagLabo settings;
        double brakes[3];
    };
    for (const Case& t :
         {Case{tagLabo(), {2, 10, 18}}, Case{Settings(true, 50, 50, 1), {2, 10, 18}},
          Case{Settings(false, 100, 80, 2.5), {3, 8, 12}}}) {
        const tagCaracteristique c = MesureCaracteristique(t.settings);
        for (const double brake : t.brakes) {
            const double settled = SettledSlip(t.settings, brake);
            // Within what a straight line between two of the curve's points gives.
            EXPECT_NEAR(SlipOnTheCurve(c, brake), settled, 1e-4)
                << "brake " << brake << ", frequency " << t.settings.frequence;
        }
    }
}

TEST(SteadyCurve, ReversedOrderMirrorsTheCurve) {
    const tagCaracteristique direct = MesureCaracteristique(tagLabo());
    const tagCaracteristique reversed = MesureCaracteristique(Settings(true, 100, 100, 1));
    ASSERT_EQ(reversed.points.size(), direct.points.size());
    EXPECT_EQ(reversed.omega_synchrone, -kPasPhase);
    for (std::size_t k = 0; k < direct.points.size(); ++k) {
        EXPECT_NEAR(reversed.points[k].omega, -direct.points[k].omega, 1e-15);
        EXPECT_NEAR(reversed.points[k].couple, -direct.points[k].couple, 1e-6);
    }
    EXPECT_NEAR(reversed.decrochage.glissement, direct.decrochage.glissement, 1e-6);
}

TEST(SteadyCurve, AnOpenLineGivesNoStartingTorque) {
    tagLabo open;
    open.ligne_ouverte = 2;
    const tagCaracteristique c = MesureCaracteristique(open);
    EXPECT_NEAR(c.points.back().couple_em, 0.0, 1e-6);
    EXPECT_GT(c.decrochage.couple, 2.0);
    EXPECT_LT(c.decrochage.couple, 0.8 * 20.47);
}

} // namespace
