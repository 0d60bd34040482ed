// The numbers docs/model.md and docs/modele.md quote, measured again from the runs that
// scripts/make-docs.sh draws its figures from (see script/quoted_numbers.h): a change of the model
// or of those runs makes this fail. A number given as a steady value is checked to be one.
#include "model/bilan.h"
#include "model/constantes.h"
#include "model/plaque.h"
#include "model/unites.h"
#include "script/quoted_numbers.h"
#include "script/run_script.h"
#include "tools/instruments/plot_scales.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace {

using kvtest::CurveFor;
using kvtest::ExpectSteady;
using kvtest::ReadTrace;
using kvtest::TraceRow;

// The model's constants, as model.md gives them.
constexpr double kStepSeconds = 0.0002; // motor time per Tick
constexpr double kAmplitude = 0.075;
constexpr double kInductance = 0.0002;
constexpr double kResistance = 0.01;
constexpr double kShownSeconds = 0.05; // screen time per Tick

// The runs of scripts/make-docs.sh, in its data-only form: the same CSVs the figures are drawn
// from.
std::string MakeDocsData() {
    const std::string dir = kvtest::scratch_dir("data");
    const std::string command = "KORVELINE_SCRIPT='" + std::string(KORVELINE_SCRIPT_PROGRAM) +
                                "' bash '" + KORVELINE_SOURCE_DIR +
                                "/scripts/make-docs.sh' --data-only '" + dir + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir;
}

// Seconds after the change that preceded a run's first row, at the end of row `i`.
double After(std::size_t i) {
    return static_cast<double>(i + 1) * kShownSeconds;
}

// The first row at or after `from` for which `pred` holds, or rows.size().
template <typename Pred>
std::size_t FirstWhere(const std::vector<TraceRow>& rows, std::size_t from, Pred pred) {
    for (std::size_t i = from; i < rows.size(); i++)
        if (pred(rows[i])) return i;
    ADD_FAILURE() << "no such row";
    return rows.size();
}

std::size_t Highest(const std::vector<TraceRow>& rows, std::size_t from, std::size_t to,
                    double TraceRow::*field) {
    std::size_t best = from;
    for (std::size_t i = from; i < to && i < rows.size(); i++)
        if (rows[i].*field > rows[best].*field) best = i;
    return best;
}

double MeanTorque(const std::vector<TraceRow>& rows, std::size_t last) {
    double sum = 0;
    for (std::size_t i = rows.size() - last; i < rows.size(); i++)
        sum += rows[i].torque;
    return sum / static_cast<double>(last);
}

// The rows of --steady-curve's CSV: slip, speed over sync, useful torque, em torque, current.
struct CurveRow {
    double slip, useful, electromagnetic;
    std::string branch;
};

std::vector<CurveRow> ReadCurve(const std::string& path) {
    std::ifstream in(path);
    std::vector<CurveRow> rows;
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        std::istringstream cells(line);
        std::vector<std::string> v;
        for (std::string cell; std::getline(cells, cell, ',');)
            v.push_back(cell);
        EXPECT_EQ(v.size(), 6u) << line;
        if (v.size() == 6)
            rows.push_back({std::stod(v[0]), std::stod(v[2]), std::stod(v[3]), v[5]});
    }
    EXPECT_FALSE(rows.empty()) << path;
    return rows;
}

// Where the laboratory's settings take the model past what the rest of the page says: a line
// open, and V/f at low frequencies.
void MeasureLimits(std::map<std::string, double>& m) {
    const tagCaracteristique open = CurveFor("open=1");
    m["open_pull_out"] = open.decrochage.couple;
    m["open_pull_out_rated"] = open.decrochage.couple / kv::tools::kRatedTorque;
    const tagCaracteristique nominal = CurveFor(""), vf20 = CurveFor("frequency=20 voltage=20"),
                             vf10 = CurveFor("frequency=10 voltage=10");
    m["vf20_pull_out"] = vf20.decrochage_em.couple_em;
    m["vf20_pull_out_slip_percent"] = 100 * vf20.decrochage_em.glissement;
    m["vf10_pull_out"] = vf10.decrochage_em.couple_em;
    m["vf10_pull_out_percent"] =
        100 * vf10.decrochage_em.couple_em / nominal.decrochage_em.couple_em;
    m["vf_pull_out"] = nominal.decrochage_em.couple_em;
    EXPECT_EQ(vf10.decrochage_em.glissement, 1) << "at standstill";
}

std::map<std::string, double> Measure() {
    const std::string data = MakeDocsData();
    std::map<std::string, double> m;
    const std::vector<TraceRow> b0 = ReadTrace(data + "/runup-brake0.csv");
    if (b0.size() < 6000) return m;
    const double sync = b0[0].phase - b0[1].phase; // the field's turn per Tick
    m["sync_rad_per_tick"] = sync;
    m["sync_rad_per_s"] = sync / kShownSeconds;
    m["sync_rev_per_min"] = sync / kShownSeconds * 60 / (2 * std::numbers::pi);
    m["supply_period_s"] = 2 * std::numbers::pi / sync * kShownSeconds;
    m["real_hz"] = sync / kStepSeconds / (2 * std::numbers::pi);
    m["real_period_ms"] = 1000 * 2 * std::numbers::pi / sync * kStepSeconds;
    m["slowed_by"] = kShownSeconds / kStepSeconds;
    m["time_constant_ms"] = 1000 * kInductance / kResistance;

    // Steady state is Kloss's formula with these constants: the turns' field, at the synchronous
    // speed in rad/s.
    const double omega_s = sync / kStepSeconds;
    const double s_k = kResistance / (omega_s * kInductance);
    const double t_max = 3 * kAmplitude * kAmplitude / (4 * kInductance);
    m["kloss_slip_percent"] = 100 * s_k;
    m["kloss_max_torque"] = t_max;
    const double start_exact = 2 * t_max / (1 / s_k + s_k);
    m["start_torque_exact"] = start_exact;

    // The plot: 5000 pixels per rad per Tick from column 460; the window's last column is 779.
    m["plot_pixel_percent"] = 100 * 0.0002 / sync;
    m["plot_sync_column"] = std::trunc(460 + 5000 * sync);
    m["plot_edge_percent"] = 100 * (779 - 460) / 5000.0 / sync;

    // The supply is switched on at Tick 1, before the first row.
    const auto seconds = [](const TraceRow& p) { return (p.tick - 1) * kShownSeconds; };
    const std::size_t cross = FirstWhere(b0, 0, [&](const TraceRow& p) { return p.speed > sync; });
    const std::size_t peak = Highest(b0, 0, b0.size(), &TraceRow::speed);
    if (cross >= b0.size()) return m;
    // The first seconds: the switch-on transient. Then the trail climbs to its peak.
    const std::size_t kick = Highest(b0, 0, 200, &TraceRow::torque);
    m["switch_on_peak_torque"] = b0[kick].torque;
    m["switch_on_peak_s"] = seconds(b0[kick]);
    const std::size_t trail = Highest(b0, 200, cross, &TraceRow::torque);
    m["runup_trail_peak"] = b0[trail].torque;
    m["runup_trail_peak_percent"] = 100 * b0[trail].speed / sync;
    // Past synchronous speed the torque stays positive until the speed peaks, and it is negative
    // on the way back down, below synchronous speed, until the speed stops falling.
    m["runup_cross_s"] = seconds(b0[cross]);
    m["runup_cross_torque"] = b0[cross].torque;
    const std::size_t above =
        FirstWhere(b0, 0, [&](const TraceRow& p) { return p.speed >= 1.01 * sync; });
    m["runup_above_torque"] = b0[above].torque;
    m["runup_peak_s"] = seconds(b0[peak]);
    m["runup_peak_speed"] = b0[peak].speed;
    m["runup_peak_percent"] = 100 * b0[peak].speed / sync;
    const std::size_t back =
        FirstWhere(b0, peak + 1, [](const TraceRow& p) { return p.torque > 0; });
    EXPECT_TRUE(std::all_of(b0.begin() + static_cast<long>(above),
                            b0.begin() + static_cast<long>(peak),
                            [](const TraceRow& p) { return p.torque > 0; }));
    EXPECT_LT(b0[back - 1].speed, sync) << "negative below synchronous speed";
    m["runup_under_percent"] = 100 * b0[back].speed / sync;
    m["runup_under_s"] = seconds(b0[back]);

    ExpectSteady(b0, b0.size() - 1, "brake 0");
    m["b0_speed"] = b0.back().speed;
    m["b0_percent"] = 100 * b0.back().speed / sync;
    m["b0_slip_percent"] = 100 * b0.back().slip;
    m["b0_friction"] = b0.back().electromagnetic;
    m["b0_column"] = std::trunc(460 + 5000 * b0.back().speed);

    const std::vector<TraceRow> b2 = ReadTrace(data + "/runup-brake2.csv");
    ExpectSteady(b2, b2.size() - 1, "brake 2");
    m["b2_slip_percent"] = 100 * b2.back().slip;
    const std::vector<TraceRow> b5 = ReadTrace(data + "/runup-brake5.csv");
    ExpectSteady(b5, b5.size() - 1, "brake 5");
    m["b5_speed"] = b5.back().speed;
    m["b5_percent"] = 100 * b5.back().speed / sync;
    m["b5_slip_percent"] = 100 * b5.back().slip;
    m["b5_torque"] = b5.back().torque;

    // Too much brake before the start: the rotor only trembles, its torque the starting torque.
    const std::vector<TraceRow> b7 = ReadTrace(data + "/runup-brake7.csv");
    double tremble = 0;
    for (const TraceRow& p : b7)
        tremble = std::max(tremble, std::abs(p.speed));
    m["b7_max_speed"] = tremble;
    const double start = MeanTorque(b7, 2000);
    m["start_torque"] = start;
    m["start_error_percent"] = 100 * (start_exact - start) / start_exact;
    m["start_over_rated"] = start / kv::tools::kRatedTorque;
    // Just above it: the rotor creeps, then runs up.
    const std::vector<TraceRow> creep = ReadTrace(data + "/runup-brake6.5.csv");
    if (creep.size() < 16000) return m;
    m["creep_percent"] = 100 * creep[1999].speed / sync;
    m["creep_half_s"] =
        After(FirstWhere(creep, 0, [&](const TraceRow& p) { return p.speed > sync / 2; }));
    ExpectSteady(creep, creep.size() - 1, "brake 6.5");
    m["creep_slip_percent"] = 100 * creep.back().slip;

    // The brake raised by half a unit a step while the motor runs: each step's last Tick is a
    // steady point, up to the last step the motor holds.
    std::vector<TraceRow> steps;
    for (int k = 0; k <= 40; k++) {
        char name[32];
        std::snprintf(name, sizeof name, "/sweep-%02d.csv", k);
        const std::vector<TraceRow> step = ReadTrace(data + name);
        ExpectSteady(step, step.size() - 1, name);
        if (!step.empty()) steps.push_back(step.back());
    }
    // The rated torque the plot's scales take (tools/instruments/plot_scales.h): brake 10, step 20.
    if (steps.size() > 20) {
        EXPECT_EQ(steps[20].brake, 10);
        m["rated_slip_percent"] = 100 * steps[20].slip;
    }
    m["steady_top_brake"] = steps.back().brake;
    m["steady_top_slip_percent"] = 100 * steps.back().slip;
    // One step more: the motor slows down for minutes, passing through its largest torque, and
    // stalls.
    const std::vector<TraceRow> stall = ReadTrace(data + "/sweep-41.csv");
    if (stall.size() < 16000) return m;
    m["stall_brake"] = stall[0].brake;
    const std::size_t most = Highest(stall, 0, stall.size(), &TraceRow::torque);
    m["max_torque"] = stall[most].torque;
    m["max_torque_slip_percent"] = 100 * stall[most].slip;
    m["max_torque_electromagnetic"] = stall[most].electromagnetic;
    m["max_over_start"] = stall[most].torque / start;
    m["max_over_rated"] = stall[most].torque / 10;
    const std::size_t half =
        FirstWhere(stall, 0, [&](const TraceRow& p) { return p.speed < sync / 2; });
    m["stall_half_s"] = After(half);
    m["stall_half_min"] = After(half) / 60;
    m["stall_rest_s"] = After(FirstWhere(stall, 0, [](const TraceRow& p) { return p.speed <= 0; }));

    // The steady curve at held speeds: its pull-out point meets the slow stall's largest torque,
    // and above synchronous speed its torque is negative: a generator.
    const std::vector<CurveRow> curve = ReadCurve(data + "/steady-curve.csv");
    for (const CurveRow& p : curve) {
        if (p.branch == "pull_out") {
            m["curve_pull_out"] = p.useful;
            m["curve_pull_out_slip_percent"] = 100 * p.slip;
            EXPECT_NEAR(p.useful, m["max_torque"], 0.05) << "the stall passes through it";
        }
        if (std::abs(p.slip + 0.01) < 1e-12) {
            m["curve_above_useful"] = p.useful;
            m["curve_above_electromagnetic"] = p.electromagnetic;
            EXPECT_LT(p.electromagnetic, 0) << "a generator above synchronous speed";
        }
    }

    // Raised every 100 s up to brake 21: after 100 s there it seems to run, but the slip rises.
    const std::vector<TraceRow> early = ReadTrace(data + "/early-brake21.csv");
    if (early.size() < 4000) return m;
    EXPECT_EQ(early[0].brake, 21);
    m["early_slip_percent"] = 100 * early[1999].slip;
    EXPECT_GT(early[1999].slip, early[1599].slip + 0.01) << "rising";
    m["early_half_s"] =
        After(FirstWhere(early, 0, [&](const TraceRow& p) { return p.speed < sync / 2; }));
    m["early_rest_s"] = After(FirstWhere(early, 0, [](const TraceRow& p) { return p.speed <= 0; }));
    return m;
}

// The power balance over a supply period, from the model itself: the original motor at brake 1,
// its line 1 opened once it runs; after 20000 Ticks more, the balance of the last period.
void MeasureBalance(std::map<std::string, double>& m) {
    tagLabo labo;
    tagMas mas(0.0, 0.0);
    tagBilanPeriode bilan;
    double phase = 0;
    for (int n = 0; n < 28000; n++) {
        if (n == 8000) labo.ligne_ouverte = 1;
        const double pas = labo.PasPhase(PAS_PHASE_NOMINAL);
        phase = phase + pas;
        const tagMas avant = mas;
        double forces[3];
        double couple;
        PasModele(mas, labo, AMPLITUDE_ALIMENTATION, phase, pas, 1.0, forces, &couple);
        bilan.Ajoute(PuissancesDuTick(avant, mas, labo, AMPLITUDE_ALIMENTATION, phase), labo);
    }
    const tagPuissances p = bilan.Moyenne();
    const double sync = labo.OmegaSynchrone();
    m["balance_open_slip_percent"] = 100 * Glissement(p.omega, sync);
    m["balance_open_air_gap"] = p.transmise;
    m["balance_open_copper"] = p.joule;
    // R i^2 alone; the rest of P_jr is what the step dissipates.
    m["balance_open_step"] = p.joule - RESISTANCE_SPIRE * p.carres;
    m["balance_open_mechanical"] = p.mecanique;
    m["balance_open_friction"] = p.frottements;
    m["balance_open_useful"] = p.mecanique - p.frottements;
    // What the rotating field's formula, T_em ω_s / h, would make of it.
    m["balance_open_torque_sync"] = PuissanceDuCouple(p.couple - FROTTEMENT * p.omega, sync);
    EXPECT_NEAR(p.joule + p.mecanique, p.transmise, 1e-9 * p.transmise);
}

// The model alone under these settings, the brake set from rest, as the window's Tick runs it:
// the last supply period's averages once the slip has settled (it moved by less than 1e-7 over
// the last 4000 Ticks).
tagPuissances SteadyBalance(const std::string& pairs, double brake) {
    const tagLabo labo = kvtest::LabFor(pairs);
    tagMas mas(0.0, 0.0);
    tagBilanPeriode bilan;
    double phase = 0;
    double before = 0;
    constexpr int kTicks = 60000;
    for (int n = 0; n < kTicks; n++) {
        const double pas = labo.PasPhase(PAS_PHASE_NOMINAL);
        phase = phase + pas;
        const tagMas avant = mas;
        double forces[3];
        double couple;
        PasModele(mas, labo, AMPLITUDE_ALIMENTATION, phase, pas, brake, forces, &couple);
        bilan.Ajoute(PuissancesDuTick(avant, mas, labo, AMPLITUDE_ALIMENTATION, phase), labo);
        if (n == kTicks - 4000) before = bilan.Moyenne().omega;
    }
    const tagPuissances p = bilan.Moyenne();
    const double sync = labo.OmegaSynchrone();
    EXPECT_LT(std::abs(Glissement(p.omega, sync) - Glissement(before, sync)), 1e-7)
        << pairs << ", brake " << brake << " is still moving";
    EXPECT_NEAR(p.joule + p.mecanique, p.transmise, 1e-9 * std::abs(p.transmise)) << pairs;
    return p;
}

// The speeds (in % of n_s) between which the curve's points are unstable under its load law:
// the middles between a stable point and an unstable one, from synchronism to rest.
std::vector<double> UnstableEdges(const tagCaracteristique& curve) {
    std::vector<double> edges;
    for (std::size_t k = 1; k < curve.points.size(); ++k) {
        if (curve.points[k].stable != curve.points[k - 1].stable)
            edges.push_back(
                100 * (1 - (curve.points[k].glissement + curve.points[k - 1].glissement) / 2));
    }
    return edges;
}

// Stability under each load law, and the machine past synchronism and past standstill.
void MeasureQuadrants(std::map<std::string, double>& m) {
    const auto percent = [](const tagPuissances& p, const std::string& pairs) {
        return 100 * p.omega / kvtest::LabFor(pairs).OmegaSynchrone();
    };
    m["fan60_percent"] = percent(SteadyBalance("load=quadratic", 60), "load=quadratic");
    m["linear30_percent"] = percent(SteadyBalance("load=linear", 30), "load=linear");
    const std::vector<double> linear = UnstableEdges(kvtest::CurveFor("load=linear"));
    EXPECT_EQ(linear.size(), 2u);
    if (linear.size() == 2) {
        m["linear_unstable_from_percent"] = linear[1];
        m["linear_unstable_to_percent"] = linear[0];
    }
    EXPECT_TRUE(UnstableEdges(kvtest::CurveFor("load=quadratic")).empty()) << "a fan: all stable";

    // A driving load of -5 past synchronism: a generator.
    const tagPuissances g = SteadyBalance("load=driving", -5);
    m["generator_percent"] = percent(g, "load=driving");
    m["generator_slip_percent"] = 100 - percent(g, "load=driving");
    m["generator_air_gap"] = g.transmise;
    m["generator_copper"] = g.joule;
    m["generator_mechanical"] = g.mecanique;
    m["generator_useful"] = g.mecanique - g.frottements;
    EXPECT_LT(g.transmise, 0) << "given back to the supply";
    // A driving load of 20, heavier than the starting torque, held back past standstill by a
    // rotor of 8 times the resistance: plugging.
    const std::string brake_pairs = "load=driving resistance=8";
    const tagPuissances b = SteadyBalance(brake_pairs, 20);
    m["plugging_percent"] = percent(b, brake_pairs);
    m["plugging_slip_percent"] = 100 - percent(b, brake_pairs);
    m["plugging_air_gap"] = b.transmise;
    m["plugging_copper"] = b.joule;
    m["plugging_mechanical"] = b.mecanique;
    EXPECT_GT(b.transmise, 0) << "taken from the supply";
    EXPECT_LT(b.mecanique, 0) << "and from the load";
    const tagCaracteristique wide = kvtest::CurveFor("resistance=8 plot=four-quadrants");
    EXPECT_TRUE(wide.decrochage_trouve);
    m["plugging_pull_out"] = wide.decrochage.couple;
    m["plugging_pull_out_slip_percent"] = 100 * wide.decrochage.glissement;
    m["slip_ring_start"] = kvtest::CurveFor("resistance=8").points.back().couple;
}

// The real motor (motor=real poles=2) against its nameplate, in SI units: at the rated torque, at
// no load, held at standstill, and on the wrong mains.
void MeasureStator(std::map<std::string, double>& m) {
    const std::string real = "motor=real poles=2";
    const tagLabo labo = kvtest::LabFor(real);
    const double rated_torque = CoupleDuModele(PlaqueCoupleNominal(), PLAQUE_PAIRES_POLES);
    const tagPuissances p = SteadyBalance(real, rated_torque);
    const double sync = labo.OmegaSynchrone();
    const double slip = Glissement(p.omega, sync);
    const double current = CourantDeLigne(p.carres_ligne);
    const double useful = p.mecanique - p.frottements;
    EXPECT_NEAR(p.absorbee, p.joule_stator + p.fer + p.transmise, 1e-9 * p.absorbee);
    m["stator_rated_slip_percent"] = 100 * slip;
    m["stator_rated_rpm"] = (1 - slip) * labo.VitesseSynchroneTrMin();
    m["stator_rated_current"] = current;
    m["stator_rated_cos_phi"] = FacteurDePuissance(labo, p.absorbee, p.carres_ligne);
    m["stator_rated_efficiency_percent"] = 100 * useful / p.absorbee;
    m["stator_rated_useful_w"] = useful * WATTS_PAR_UNITE;
    m["stator_rated_absorbed_w"] = p.absorbee * WATTS_PAR_UNITE;
    m["stator_rated_pjs_w"] = p.joule_stator * WATTS_PAR_UNITE;
    m["stator_rated_pfer_w"] = p.fer * WATTS_PAR_UNITE;
    m["stator_rated_ptr_w"] = p.transmise * WATTS_PAR_UNITE;
    m["stator_rated_pjr_w"] = p.joule * WATTS_PAR_UNITE;
    m["stator_rated_pf_w"] = p.frottements * WATTS_PAR_UNITE;
    const tagPuissances idle = SteadyBalance(real, 0);
    m["stator_no_load_current"] = CourantDeLigne(idle.carres_ligne);
    m["stator_no_load_cos_phi"] = FacteurDePuissance(labo, idle.absorbee, idle.carres_ligne);
    m["stator_no_load_absorbed_w"] = idle.absorbee * WATTS_PAR_UNITE;
    const tagPointPermanent start = PointAVitesseTenue(labo, 1.0);
    m["stator_start_current"] = start.courant_ligne * AMPERES_PAR_UNITE;
    m["stator_start_current_ratio"] = start.courant_ligne * AMPERES_PAR_UNITE / current;
    m["stator_start_torque_ratio"] = std::abs(start.couple) / rated_torque;
    const tagCaracteristique curve = MesureCaracteristique(labo);
    EXPECT_TRUE(curve.decrochage_trouve);
    m["stator_pull_out_ratio"] = std::abs(curve.decrochage.couple) / rated_torque;
    m["stator_pull_out_slip_percent"] = 100 * curve.decrochage.glissement;
    // Star on 230 V: the coils at 1/sqrt(3) of their voltage; delta on 400 V: at sqrt(3).
    const tagPointPermanent star230 = PointAVitesseTenue(kvtest::LabFor(real + " mains=230"), 1.0);
    const tagPointPermanent delta400 =
        PointAVitesseTenue(kvtest::LabFor(real + " coupling=delta"), 1.0);
    m["stator_star_230_torque_percent"] = 100 * star230.couple / start.couple;
    m["stator_delta_400_current_ratio"] = delta400.courant_ligne / start.courant_ligne;
}

TEST(DocsNumbers, TheModelDocsQuoteWhatTheRunsGive) {
    std::map<std::string, double> measured = Measure();
    MeasureLimits(measured);
    MeasureBalance(measured);
    MeasureQuadrants(measured);
    MeasureStator(measured);
    for (const auto& [name, value] : measured)
        std::printf("%-28s %.17g\n", name.c_str(), value);
    kvtest::CheckQuoted("docs/model.md", measured);
    kvtest::CheckQuoted("docs/modele.md", measured);
}

} // namespace
