#include "tools/instruments/readout.h"

#include "base/apparences.h"
#include "base/textes.h"
#include "model/caracteristique.h"
#include "model/constantes.h"
#include "model/plaque.h"
#include "model/unites.h"
#include "shell/scene.h"
#include "tools/instruments/lab_settings.h"
#include "tools/instruments/layer_drawing.h"
#include "viewer/actions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

using kv::viewer::Text;

constexpr Text kGenerator{"génératrice hypersynchrone", "generator"};
constexpr Text kPlugging{"freinage à contre-courant", "plugging"};

bool French() {
    return textes != &textes_en;
}

// A text in the picture's language, in ISO 8859-1 as boxes take it.
std::string Say(Text text) {
    return kv::viewer::latin1(French() ? text.fr : text.en);
}

// A number as the language writes it: its decimal mark, and in French a space between thousands.
std::string Number(double value, int decimals) {
    return kv::tools::number_text(value, decimals, French());
}

// `format` in the picture's language, each "%s" in it given the next of the values.
std::string Format(const Text& format, const std::string& a, const std::string& b = {},
                   const std::string& c = {}) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, Say(format).c_str(), a.c_str(), b.c_str(), c.c_str());
    return buffer;
}

// The rotor's current at standstill under these settings, measured once for each set of them.
double StandstillCurrent(const tagLabo& settings) {
    static tagLabo measured_for;
    static double current = -1;
    if (current < 0 || !MemeCaracteristique(measured_for, settings)) {
        current = PointAVitesseTenue(settings, 1.0).courant;
        measured_for = settings;
    }
    return current;
}

// What has changed from the original motor, as `lab` takes it.
std::string ChangedSettings() {
    const tagLabo original;
    std::string text;
    for (const kv::tools::LabSetting* s : kv::tools::AllLabSettings()) {
        const std::string value = kv::tools::LabValue(*s, labo);
        if (value == kv::tools::LabValue(*s, original)) continue;
        if (!text.empty()) text += ' ';
        text.append(s->name).append("=").append(value);
    }
    return text.empty() ? Say({"réglages d'origine", "original settings"}) : text;
}

// Where the start stands, after the supply's values; nothing on direct on line.
std::string StartStage(const tagLabo& settings, const tagDemarrage& start) {
    const int step = start.etape;
    switch (settings.demarrage) {
    case DEMARRAGE_ETOILE_TRIANGLE:
        return Say(step != 0 ? Text{", étoile", ", star"} : Text{", triangle", ", delta"});
    case DEMARRAGE_PROGRESSIF:
    case DEMARRAGE_VF:
        return Say(step != 0 ? Text{", rampe", ", ramp"} : Text{", rampe finie", ", ramp done"});
    case DEMARRAGE_ROTORIQUE:
        if (step == 0) return Say({", rotor en court-circuit", ", rotor short-circuited"});
        return Format({", cran %s sur %s", ", step %s of %s"}, std::to_string(step),
                      std::to_string(settings.crans));
    default:
        return {};
    }
}

kv::Color Couleur(const tagTrait& trait) {
    return kv::rgb(GetRValue(trait.couleur), GetGValue(trait.couleur), GetBValue(trait.couleur));
}

// The real motor's stator side, after the rotor's current: what the coils are fed, the line
// current, the power factor, what the supply gives and what the stator keeps of it, and after the
// rotor's powers the efficiency; the useful torque in N.m.
void AddStatorRows(std::vector<kv::viewer::BoxRow>& rows, const tagPuissances& mean,
                   double plot_sign) {
    // During a start, the coupling and the voltage the starter applies.
    const tagLabo applied = demarrage.Applique(labo);
    const double absorbee = mean.absorbee;
    const double current = CourantDeLigne(mean.carres_ligne);
    const double useful = mean.mecanique - mean.frottements;
    const auto watts = [](double p) { return Number(p * WATTS_PAR_UNITE, 0) + " W"; };
    const auto at = [&](const Text& name) {
        const std::string left = Say(name);
        return std::find_if(rows.begin(), rows.end(),
                            [&](const kv::viewer::BoxRow& r) { return r.left == left; });
    };
    const auto torque = at({"Couple utile", "Useful torque"});
    if (torque != rows.end()) {
        const double nm = NewtonMetres(plot_sign * mean.couple, labo.paires_poles);
        torque->right += " (" + Number(nm, 1) + " N.m)";
    }
    const std::string coupling =
        Say(applied.triangle ? Text{"triangle", "delta"} : Text{"étoile", "star"});
    const std::vector<kv::viewer::BoxRow> stator = {
        {Say({"Bobines", "Coils"}),
         Format({"%s, %s V chacune", "%s, %s V each"}, coupling,
                Number(TENSION_BOBINE_NOMINALE * applied.TensionBobine(), 0)),
         {}},
        {Say({"Courant de ligne", "Line current"}),
         Format({"%s A (%s %% de I_N)", "%s A (%s %% of I_N)"}, Number(current, 2),
                Number(100 * current / PlaqueCourantNominal(), 0)),
         {}},
        {Say({"Facteur de puissance", "Power factor"}),
         "cos phi = " + Number(FacteurDePuissance(applied, absorbee, mean.carres_ligne), 3),
         {}},
        {Say({"Puissance absorbée P_a", "Absorbed power P_a"}), watts(absorbee), {}},
        {Say({"Pertes Joule stator P_js", "Stator copper losses P_js"}),
         watts(mean.joule_stator),
         {}},
        {Say({"Pertes du pas (fer) P_fer", "Step's losses (iron) P_fer"}), watts(mean.fer), {}},
    };
    const auto rotor = at({"Courant rotorique", "Rotor current"});
    rows.insert(rotor == rows.end() ? rotor : rotor + 1, stator.begin(), stator.end());
    const auto rendement = at({"Rendement du rotor P_m/P_tr", "Rotor efficiency P_m/P_tr"});
    const kv::viewer::BoxRow efficiency = {Say({"Rendement P_u/P_a", "Efficiency P_u/P_a"}),
                                           absorbee > 0 ? Number(100 * useful / absorbee, 1) + " %"
                                                        : "-",
                                           {}};
    rows.insert(rendement == rows.end() ? rendement : rendement + 1, efficiency);
}

} // namespace

std::string ReadoutTitle() {
    return Say({"Couples en unités du tracé", "Torques in plot units"});
}

std::vector<kv::viewer::BoxRow> ReadoutRows(const tagBilanPeriode& balance, double clock_speed) {
    constexpr double kShownSecondsPerTick = 0.05; // a Tick every 50 ms at the program's pace
    const std::string none = "-"; // a share that does not exist (no power through the air gap)

    // The last supply period's averages: with a line open, the torque and the currents pulsate
    // at twice the supply's frequency, and a Tick's values would jump from one to the next.
    const tagPuissances mean = balance.Moyenne();
    // During a start, what the starter applies.
    const tagLabo applied = demarrage.Applique(labo);
    const double sync = applied.OmegaSynchrone();
    const double omega = mean.omega;
    const double speed = omega / sync;
    const double slip = Glissement(omega, sync);
    const double hz = applied.FrequenceHz();
    const double sync_rpm = applied.VitesseSynchroneTrMin();
    const double period = applied.PeriodeEnTicks();

    // The power balance, per second of the motor's time.
    // The plot shows the torque in the direction the rotor turns.
    const double plot_sign = labo.ParDefaut() ? 1 : labo.SensDuTrace(omega);
    const double air_gap = mean.transmise;
    const double copper = mean.joule;
    const double mechanical = mean.mecanique;
    const double friction = mean.frottements;
    const bool flowing = std::fabs(air_gap) > 1e-9;
    const bool real = labo.moteur_reel;
    // The real motor's powers in watts, then their share of P_tr.
    const auto share = [&](double power) {
        const std::string watts = real ? Number(power * WATTS_PAR_UNITE, 0) + " W" : "";
        if (!flowing) return real ? watts : none;
        const std::string percent = Number(100 * power / std::fabs(air_gap), 1) + " %";
        return real ? watts + " (" + percent + ")" : percent;
    };

    const double brake = applied.CoupleResistant(frein.couple, omega, sync);
    // After the brake's value, by load law.
    const Text laws[4] = {{"", ""},
                          {" (frein x n/n_s)", " (brake x n/n_s)"},
                          {" (frein x (n/n_s)²)", " (brake x (n/n_s)²)"},
                          {" (charge entraînante)", " (driving load)"}};
    // Past synchronism the rotor gives power back to the supply; turning against the field, the
    // machine brakes it while taking power from both.
    const Text* working = nullptr;
    if (flowing && slip < 0) working = &kGenerator;
    if (flowing && slip > 1) working = &kPlugging;
    const double standstill = StandstillCurrent(labo);
    const double current = std::sqrt(2.0 / 3.0 * mean.carres);
    const int pairs = labo.paires_poles;
    const int open = labo.ligne_ouverte;
    // The phases in the order of the phase sequence, in the colours of the look shown.
    const tagApparence& look = apparences[apparence_courante];
    const double slowed = kShownSecondsPerTick / PAS_TEMPS / clock_speed;
    const auto coil = [&](int phase, Text name) {
        return Say(name) + (open == phase ? Say({" (ligne ouverte)", " (line open)"}) : "");
    };

    std::vector<kv::viewer::BoxRow> rows = {
        {Say({"Laboratoire", "Laboratory"}), ChangedSettings(), {}},
        {Say({"Alimentation", "Supply"}),
         Number(hz, 1) + " Hz, " + Number(TensionDeLigne(applied), 0) + " V" +
             StartStage(labo, demarrage),
         {}},
        {Say({"Vitesse de synchronisme", "Synchronous speed"}),
         Format({"%s tr/min (%s paire%s de pôles)", "%s rpm (%s pole pair%s)"}, Number(sync_rpm, 0),
                std::to_string(pairs), pairs > 1 ? "s" : ""),
         {}},
        {Say({"Temps", "Time"}),
         Format({"ralenti %s fois", "slowed down %s times"},
                Number(slowed, slowed == std::floor(slowed) ? 0 : 2)),
         {}},
        // The rows below it are averages over the last supply period.
        {Say({"Moyennes sur une période", "Averages over a period"}),
         Format({"%s pas de temps (%s ms)", "%s Ticks (%s ms)"},
                Number(period, period == std::floor(period) ? 0 : 1),
                Number(1000 * period * PAS_TEMPS, 1)),
         {}},
        {Say({"Vitesse", "Speed"}),
         Format({"%s %% de n_s", "%s %% of sync."}, Number(100.0 * speed, 1)),
         {}},
        {Say({"Vitesse (tr/min)", "Speed (rpm)"}),
         Format({"%s tr/min", "%s rpm"}, Number(speed * sync_rpm, 0)),
         {}},
        {Say({"Glissement", "Slip"}),
         Number(100.0 * slip, 2) + " %" + (working ? ", " + Say(*working) : ""),
         {}},
        {Say({"Fréquence rotorique", "Rotor frequency"}), Number(slip * hz, 2) + " Hz", {}},
        {Say({"Couple utile", "Useful torque"}), Number(plot_sign * mean.couple, 4), {}},
        {Say({"Couple résistant", "Brake torque"}),
         Number(brake, 4) + Say(laws[labo.loi_charge]),
         {}},
        {Say({"Courant rotorique", "Rotor current"}),
         standstill > 0 ? Format({"%s %% de sa valeur à l'arrêt", "%s %% of standstill"},
                                 Number(100 * current / standstill, 1))
                        : none,
         {}},
        {Say({"Puissance transmise P_tr", "Air-gap power P_tr"}), share(air_gap), {}},
        {Say({"Pertes Joule rotor P_jr", "Rotor copper losses P_jr"}), share(copper), {}},
        {Say({"Pertes mécaniques P_f", "Friction losses P_f"}), share(friction), {}},
        {Say({"Puissance utile P_u", "Useful power P_u"}), share(mechanical - friction), {}},
        {Say({"Rendement du rotor P_m/P_tr", "Rotor efficiency P_m/P_tr"}),
         air_gap > 0 && flowing ? Number(100 * mechanical / air_gap, 1) + " %" : none,
         {}},
        {"Phase 1", coil(1, {"bobine de gauche", "left coil"}), Couleur(look.blue_pen_3)},
        {"Phase 2", coil(2, {"bobine en bas à droite", "bottom right coil"}),
         Couleur(look.red_pen_3)},
        {"Phase 3", coil(3, {"bobine en haut à droite", "top right coil"}),
         Couleur(look.green_pen_3)},
        {Say({"Résultante", "Resultant"}),
         Say(open != 0 ? Text{"champ pulsant", "pulsating field"}
                       : Text{"champ tournant", "rotating field"}),
         Couleur(look.black_pen_3)},
        {"Forces", Say({"sur le rotor", "on the rotor"}), Couleur(look.yellow_pen_3)},
    };
    if (real) AddStatorRows(rows, mean, plot_sign);
    return rows;
}
