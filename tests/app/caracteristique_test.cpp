// The steady torque/speed curve, measured at held speeds: a free rotor under a brake must settle
// on its stable branch, the pull-out point must be where the model's torque peaks, and the
// curve must follow the settings as the motor does.
#include "model/caracteristique.h"
#include "model/constantes.h"
#include "model/mas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

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

namespace {

// The useful torque of the original motor in the field's direction at a speed x (in synchronous
// speeds), from Kloss's formula less friction: what the held-speed bench measures, to the step's
// one per cent.
double KlossUseful(double x) {
    const double s_k = 0.01 / (-kPasPhase / 0.0002 * 0.0002);
    const double t_max = 3 * 0.075 * 0.075 / (4 * 0.0002);
    const double s = 1 - x;
    const double friction = 10 * x * -kPasPhase;
    return s == 0 ? -friction : 2 * t_max / (s / s_k + s_k / s) - friction;
}

// Where the motor's slope against the speed equals the load's, k T / x, between x0 and x1 (the
// margin changes sign there), by bisection on Kloss's torque.
double KlossEdge(int k, double x0, double x1) {
    const auto margin = [&](double x) {
        const double h = 1e-6;
        const double slope = (KlossUseful(x + h) - KlossUseful(x - h)) / (2 * h);
        return k * KlossUseful(x) / x - slope;
    };
    for (int n = 0; n < 60; ++n) {
        const double m = (x0 + x1) / 2;
        (margin(m) > 0) == (margin(x0) > 0) ? x0 = m : x1 = m;
    }
    return (x0 + x1) / 2;
}

TEST(SteadyCurve, TheLoadLawSortsThePointsIntoBranches) {
    // The slips where the branch changes, by load law; the unstable stretch of a load in
    // proportion to the speed lies where the motor's torque rises faster than T / n.
    struct Law {
        int loi;
        std::vector<double> edges; // slips, from synchronism to rest
    };
    const Law laws[] = {
        {CHARGE_CONSTANTE, {1 - KlossEdge(0, 0.7, 0.95)}},
        {CHARGE_ENTRAINANTE, {1 - KlossEdge(0, 0.7, 0.95)}},
        {CHARGE_LINEAIRE, {1 - KlossEdge(1, 0.7, 0.9), 1 - KlossEdge(1, 0.4, 0.7)}},
        {CHARGE_QUADRATIQUE, {}},
    };
    for (const Law& law : laws) {
        tagLabo labo;
        labo.loi_charge = law.loi;
        const tagCaracteristique c = MesureCaracteristique(labo);
        std::vector<double> edges;
        for (std::size_t k = 1; k < c.points.size(); ++k) {
            if (c.points[k].stable != c.points[k - 1].stable)
                edges.push_back((c.points[k].glissement + c.points[k - 1].glissement) / 2);
        }
        ASSERT_EQ(edges.size(), law.edges.size()) << "law " << law.loi;
        for (std::size_t k = 0; k < edges.size(); ++k)
            EXPECT_NEAR(edges[k], law.edges[k], 0.015) << "law " << law.loi << ", edge " << k;
        EXPECT_TRUE(c.points.front().stable) << "near synchronism, under every law";
    }
}

TEST(SteadyCurve, APullOutOnlyWhereTheTorquePeaksBetweenTheEnds) {
    tagLabo slip_ring;
    slip_ring.resistance = 8;
    tagLabo low_vf = Settings(false, 10, 10, 1);
    for (const tagLabo& labo : {slip_ring, low_vf}) {
        const tagCaracteristique c = MesureCaracteristique(labo);
        EXPECT_FALSE(c.decrochage_trouve) << "resistance " << labo.resistance;
        EXPECT_EQ(c.decrochage.glissement, 1) << "the largest torque, at standstill";
        for (const tagPointPermanent& p : c.points)
            EXPECT_TRUE(p.stable) << "slip " << p.glissement << ": the torque falls all along";
    }
    EXPECT_TRUE(MesureCaracteristique(tagLabo()).decrochage_trouve);
    // Past standstill the slip ring rotor's torque peaks: near s_k = R / (omega_s L) = 1.27,
    // which the step moves by a few per cent at a rotor frequency above the supply's.
    slip_ring.quatre_quadrants = true;
    const tagCaracteristique wide = MesureCaracteristique(slip_ring);
    EXPECT_TRUE(wide.decrochage_trouve);
    EXPECT_NEAR(wide.decrochage_em.glissement, 8 * 0.01 / (-kPasPhase / 0.0002 * 0.0002), 0.06);
}

TEST(SteadyCurve, FourQuadrantsRunFromSlipMinusOneToTwoAsKlossSays) {
    tagLabo labo;
    labo.quatre_quadrants = true;
    const tagCaracteristique wide = MesureCaracteristique(labo);
    const tagCaracteristique plain = MesureCaracteristique(tagLabo());
    EXPECT_EQ(wide.points.front().glissement, -1);
    EXPECT_EQ(wide.points.back().glissement, 2);
    for (const tagPointPermanent& p : wide.points) {
        // The step's loss, about one per cent, at every rotor frequency up to twice the supply's.
        const double kloss = KlossUseful(1 - p.glissement);
        EXPECT_NEAR(p.couple, kloss, 0.015 * std::abs(kloss) + 0.02) << "slip " << p.glissement;
        // Below synchronism and above standstill, the plain curve's points.
        for (const tagPointPermanent& q : plain.points) {
            if (q.glissement == p.glissement) {
                EXPECT_NEAR(p.couple, q.couple, 1e-3) << "slip " << p.glissement;
            }
        }
    }
    EXPECT_NEAR(wide.decrochage.glissement, plain.decrochage.glissement, 1e-6);
    EXPECT_NEAR(wide.decrochage.couple, plain.decrochage.couple, 1e-6);
}

} // namespace
