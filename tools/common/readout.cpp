#include "tools/common/readout.h"

#include "shell/aspects.h"
#include "shell/scene.h"
#include "shell/textes.h"
#include "tools/common/lab_settings.h"
#include "tools/common/layer_drawing.h"
#include "tools/common/steady_curve.h"
#include "tools/common/synchronous_speed.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// Every label, one table per language. ISO 8859-1.
struct ReadoutTexts {
    const char* title;
    char decimal;
    const char* supply_label;
    const char* supply; // "%s Hz, %s V"
    const char* sync_label;
    const char* sync;        // "%s rpm (%d pole pair%s)"
    const char* pole_plural; // after the number of pole pairs when more than one
    const char* speed_label;
    const char* speed; // "%s %% of sync."
    const char* speed_rpm_label;
    const char* rpm; // "%s rpm"
    const char* slip;
    const char* rotor_frequency;
    const char* motor_torque;
    const char* brake_torque;
    const char* laws[3]; // after the brake's value, by load law
    const char* rotor_current;
    const char* of_standstill; // "%s %% of standstill"
    const char* air_gap;
    const char* copper;
    const char* friction;
    const char* useful;
    const char* rotor_efficiency;
    const char* time_label;
    const char* time; // "slowed down %s times"
    const char* settings_label;
    const char* settings_default;
    const char* phase[3];
    const char* coil[3];
    const char* resultant_label;
    const char* resultant;
    const char* pulsating;
    const char* forces_label;
    const char* forces;
    const char* open; // after a coil whose line is open
    const char* none; // a share that does not exist (no power through the air gap)
};

// 0xE0 a grave, 0xE9 e acute, 0xF4 o circumflex in ISO 8859-1.
const ReadoutTexts kFrench = {
    "Couples en unit\xE9s du trac\xE9",
    ',',
    "Alimentation",
    "%s Hz, %s V",
    "Vitesse de synchronisme",
    "%s tr/min (%d paire%s de p\xF4les)",
    "s",
    "Vitesse",
    "%s %% de n_s",
    "Vitesse (tr/min)",
    "%s tr/min",
    "Glissement",
    "Fr\xE9quence rotorique",
    "Couple moteur",
    "Couple r\xE9sistant",
    {"", " (frein x n/n_s)", " (frein x (n/n_s)\xB2)"},
    "Courant rotorique",
    "%s %% de sa valeur \xE0 l'arr\xEAt",
    "Puissance transmise P_tr",
    "Pertes Joule rotor P_jr",
    "Frottements P_f",
    "Puissance utile P_u",
    "Rendement du rotor P_m/P_tr",
    "Temps",
    "ralenti %s fois",
    "Laboratoire",
    "r\xE9glages d'origine",
    {"Phase 1", "Phase 2", "Phase 3"},
    {"bobine de gauche", "bobine en bas \xE0 droite", "bobine en haut \xE0 droite"},
    "R\xE9sultante",
    "champ tournant",
    "champ pulsant",
    "Forces",
    "sur le rotor",
    " (ligne ouverte)",
    "-",
};

const ReadoutTexts kEnglish = {
    "Torques in plot units",
    '.',
    "Supply",
    "%s Hz, %s V",
    "Synchronous speed",
    "%s rpm (%d pole pair%s)",
    "s",
    "Speed",
    "%s %% of sync.",
    "Speed (rpm)",
    "%s rpm",
    "Slip",
    "Rotor frequency",
    "Motor torque",
    "Brake torque",
    {"", " (brake x n/n_s)", " (brake x (n/n_s)\xB2)"},
    "Rotor current",
    "%s %% of standstill",
    "Air-gap power P_tr",
    "Rotor copper losses P_jr",
    "Friction P_f",
    "Useful power P_u",
    "Rotor efficiency P_m/P_tr",
    "Time",
    "slowed down %s times",
    "Laboratory",
    "original settings",
    {"Phase 1", "Phase 2", "Phase 3"},
    {"left coil", "bottom right coil", "top right coil"},
    "Resultant",
    "rotating field",
    "pulsating field",
    "Forces",
    "on the rotor",
    " (line open)",
    "-",
};

const ReadoutTexts& Texts() {
    return textes == &textes_en ? kEnglish : kFrench;
}

// A number as the language writes it: its decimal mark, and in French a space between thousands.
std::string Number(double value, int decimals) {
    return kv::tools::number_text(value, decimals, Texts().decimal == ',');
}

std::string Format(const char* format, const std::string& value) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, format, value.c_str());
    return buffer;
}

// The rotor's current at standstill under these settings, measured once for each set of them.
double StandstillCurrent(const tagLabo& settings) {
    static tagLabo measured_for;
    static double current = -1;
    if (current < 0 || !SameSteadyCurve(measured_for, settings)) {
        current = HeldSpeedPoint(settings, 1.0).rotor_current;
        measured_for = settings;
    }
    return current;
}

// What has changed from the original motor, as `lab` takes it.
std::string ChangedSettings() {
    const tagLabo original;
    std::string text;
    for (const kv::tools::LabSetting& s : kv::tools::kLabSettings) {
        const std::string value = kv::tools::LabValue(s, labo);
        if (value == kv::tools::LabValue(s, original)) continue;
        if (!text.empty()) text += ' ';
        text.append(s.name).append("=").append(value);
    }
    return text.empty() ? Texts().settings_default : text;
}

kv::Color Couleur(const tagTrait& trait) {
    return kv::rgb(GetRValue(trait.couleur), GetGValue(trait.couleur), GetBValue(trait.couleur));
}

} // namespace

const char* ReadoutTitle() {
    return Texts().title;
}

std::vector<kv::viewer::BoxRow> ReadoutRowsAt(double clock_speed) {
    constexpr double kModelSecondsPerTick = 0.0002; // the circuit's step: 100 Ticks a 50 Hz period
    constexpr double kShownSecondsPerTick = 0.05;   // a Tick every 50 ms at the program's pace
    const ReadoutTexts& t = Texts();

    const double sync = kv::tools::SynchronousOmega();
    const double speed = Mas.omega / sync;
    const double slip = 1.0 - speed;
    const double hz = kv::tools::kNominalHz * labo.frequence / 100;
    const double sync_rpm = 60 * hz / labo.paires_poles;

    // The power balance, per second of the motor's time; torques drive towards negative speeds.
    const double omega = Mas.omega;
    const double squares = Mas.i1 * Mas.i1 + Mas.i2 * Mas.i2 + Mas.i3 * Mas.i3;
    // The plot, and so courbe, holds the torque in the direction the rotor turns.
    const double plot_sign = labo.ParDefaut() ? 1 : labo.SensDuTrace(omega);
    const double em_torque = plot_sign * courbe.last_torque - 10 * omega;
    const double air_gap = em_torque * -sync / kModelSecondsPerTick;
    const double copper = 0.01 * labo.resistance * squares;
    const double mechanical = em_torque * -omega / kModelSecondsPerTick;
    const double friction = 10 * omega * omega / kModelSecondsPerTick;
    const bool flowing = std::fabs(air_gap) > 1e-9;
    const auto share = [&](double power) {
        return flowing ? Number(100 * power / std::fabs(air_gap), 1) + " %" : t.none;
    };

    const double brake = labo.CoupleResistant(frein.couple, omega, sync);
    const double standstill = StandstillCurrent(labo);
    const double current = std::sqrt(2.0 / 3.0 * squares);
    const std::string pairs_plural = labo.paires_poles > 1 ? t.pole_plural : "";
    char sync_text[96];
    std::snprintf(sync_text, sizeof sync_text, t.sync, Number(sync_rpm, 0).c_str(),
                  labo.paires_poles, pairs_plural.c_str());
    char supply_text[96];
    std::snprintf(supply_text, sizeof supply_text, t.supply, Number(hz, 1).c_str(),
                  Number(400 * labo.tension / 100, 0).c_str());
    const int open = labo.ligne_ouverte;
    // The phases in the order of the phase sequence, in the colours of the look shown.
    const tagAspect& look = aspects[aspect_courant];
    const double slowed = kShownSecondsPerTick / kModelSecondsPerTick / clock_speed;
    const auto coil = [&](int phase) {
        return std::string(t.coil[phase - 1]) + (open == phase ? t.open : "");
    };

    return {
        {t.settings_label, ChangedSettings(), {}},
        {t.supply_label, supply_text, {}},
        {t.sync_label, sync_text, {}},
        {t.speed_label, Format(t.speed, Number(100.0 * speed, 1)), {}},
        {t.speed_rpm_label, Format(t.rpm, Number(speed * sync_rpm, 0)), {}},
        {t.slip, Number(100.0 * slip, 2) + " %", {}},
        {t.rotor_frequency, Number(slip * hz, 2) + " Hz", {}},
        {t.motor_torque, Number(courbe.last_torque, 4), {}},
        {t.brake_torque, Number(brake, 4) + t.laws[labo.loi_charge], {}},
        {t.rotor_current,
         standstill > 0 ? Format(t.of_standstill, Number(100 * current / standstill, 1)) : t.none,
         {}},
        {t.air_gap, share(air_gap), {}},
        {t.copper, share(copper), {}},
        {t.friction, share(friction), {}},
        {t.useful, share(mechanical - friction), {}},
        {t.rotor_efficiency,
         air_gap > 0 && flowing ? Number(100 * mechanical / air_gap, 1) + " %" : t.none,
         {}},
        {t.time_label, Format(t.time, Number(slowed, slowed == std::floor(slowed) ? 0 : 2)), {}},
        {t.phase[0], coil(1), Couleur(look.blue_pen_3)},
        {t.phase[1], coil(2), Couleur(look.red_pen_3)},
        {t.phase[2], coil(3), Couleur(look.green_pen_3)},
        {t.resultant_label, open != 0 ? t.pulsating : t.resultant, Couleur(look.black_pen_3)},
        {t.forces_label, t.forces, Couleur(look.yellow_pen_3)},
    };
}

std::vector<kv::viewer::BoxRow> ReadoutRows() {
    return ReadoutRowsAt(1.0);
}
