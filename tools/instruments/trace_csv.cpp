#include "tools/instruments/trace_csv.h"

#include "core/run_error.h"
#include "model/bilan.h"
#include "model/unites.h"
#include "shell/scene.h"
#include "tools/instruments/lab_settings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr double kSecondsPerTick = 0.05;

constexpr const char* kNumberColumns =
    "tick,time_s,phase_rad,theta_rad,omega_rad_per_tick,speed_over_sync,slip,motor_torque,"
    "brake_torque,force1,force2,force3,current1,current2,current3,flux1,flux2,flux3,"
    "sync_omega_rad_per_tick,load_torque,speed_rpm,rotor_frequency_hz,air_gap_power,"
    "rotor_copper_losses,mechanical_power,friction_power";

// The real motor's, in SI units: the line currents after the Tick, then the last supply period's
// averages. Empty cells for the ideal motor, which has no stator circuit.
constexpr const char* kStatorColumns =
    "line_current1_a,line_current2_a,line_current3_a,period_line_current_a,period_cos_phi,"
    "period_absorbed_power_w,period_stator_copper_losses_w,period_iron_losses_w,"
    "period_air_gap_power_w,period_rotor_copper_losses_w,period_mechanical_power_w,"
    "period_useful_power_w,period_efficiency,period_useful_torque_nm";
constexpr int kStatorColumnCount = 14;

// After the later settings: the start's step and what the starter applies, % of the settings'
// values.
constexpr const char* kStartColumns = ",start_stage,applied_voltage_percent,"
                                      "applied_frequency_percent";

// memcpy rather than std::bit_cast, which the WebAssembly build's C++ library lacks.
bool same_bits(double a, double b) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

// The plot holds the point in the direction the rotor turns (the original motor's path never
// turns it round).
double PlotSign() {
    return labo.ParDefaut() ? 1 : labo.SensDuTrace(Mas.omega);
}

void append(std::string& row, double v, CsvStyle style) {
    char buffer[40];
    if (style == CsvStyle::Plain) {
        // As `state` prints them: 17 significant digits read back to the same double.
        std::snprintf(buffer, sizeof buffer, ",%.17g", v);
        row += buffer;
        return;
    }
    // + 0.0 turns a -0 into 0, which a spreadsheet would show as text.
    std::snprintf(buffer, sizeof buffer, ";%.15g", v + 0.0);
    std::replace(buffer, buffer + std::strlen(buffer), '.', ',');
    row += buffer;
}

// What the row adds to the sample: real values and the powers of that Tick, per second of the
// motor's time: the electromagnetic torque at the field's speed (what a rotating field carries
// across the air gap) and at the rotor's, R i^2, the friction. Over a supply period, and with a
// line open, the balance is the readout's.
std::array<double, 6> derived(const TraceSample& s) {
    const auto& v = s.values;
    const double omega = v[3];
    const double speed_over_sync = v[4];
    const double slip = v[5];
    const double hz = s.applied.FrequenceHz();
    const double rpm = speed_over_sync * s.applied.VitesseSynchroneTrMin();
    const double em_torque = v[8] + v[9] + v[10];
    const double currents[3] = {v[11], v[12], v[13]};
    return {rpm,
            slip * hz,
            PuissanceDuCouple(em_torque, s.sync_omega),
            PertesJouleRotor(s.applied, currents),
            PuissanceDuCouple(em_torque, omega),
            PuissanceFrottements(omega)};
}

} // namespace

namespace {

// What a real motor's row adds.
std::array<double, kStatorColumnCount> stator_values(const TraceSample& s) {
    const tagPuissances& m = s.period;
    const tagLabo& settings = s.applied;
    const double utile = m.mecanique - m.frottements;
    return {s.line_currents[0] * AMPERES_PAR_UNITE,
            s.line_currents[1] * AMPERES_PAR_UNITE,
            s.line_currents[2] * AMPERES_PAR_UNITE,
            CourantDeLigne(m.carres_ligne),
            FacteurDePuissance(settings, m.absorbee, m.carres_ligne),
            m.absorbee * WATTS_PAR_UNITE,
            m.joule_stator * WATTS_PAR_UNITE,
            m.fer * WATTS_PAR_UNITE,
            m.transmise * WATTS_PAR_UNITE,
            m.joule * WATTS_PAR_UNITE,
            m.mecanique * WATTS_PAR_UNITE,
            utile * WATTS_PAR_UNITE,
            m.absorbee > 0 ? utile / m.absorbee : 0,
            NewtonMetres(settings.SensDuTrace(m.omega) * m.couple, settings.paires_poles)};
}

} // namespace

std::string TraceHeader(CsvStyle style, bool later) {
    std::string header = kNumberColumns;
    for (const kv::tools::LabSetting& s : kv::tools::kLabSettings)
        header.append(",").append(s.name);
    if (later) {
        header.append(",").append(kStatorColumns);
        for (const kv::tools::LabSetting& s : kv::tools::kLaterLabSettings)
            header.append(",").append(s.name);
        header.append(kStartColumns);
    }
    if (style == CsvStyle::French) std::replace(header.begin(), header.end(), ',', ';');
    return header;
}

void TraceSampler::BeforeTick() {
    before_ = Mas;
}

TraceSample TraceSampler::Sample(std::uint64_t tick) {
    using kv::RunError;
    if (!before_) throw RunError("the trace has no state from before Tick " + std::to_string(tick));
    // The settings the starter applied this Tick.
    const tagLabo applied = demarrage.Applique(labo);
    balance_.Ajoute(PuissancesDuTick(*before_, Mas, applied, alim.amplitude, alim.phase), applied);
    tagMas replay = *before_;
    double forces[3];
    double torque;
    PasModele(replay, applied, alim.amplitude, alim.phase, applied.PasPhase(alim.phase_step),
              frein.couple, forces, &torque);
    const bool same = same_bits(replay.theta, Mas.theta) && same_bits(replay.omega, Mas.omega) &&
                      same_bits(replay.i1, Mas.i1) && same_bits(replay.i2, Mas.i2) &&
                      same_bits(replay.i3, Mas.i3) && same_bits(replay.phi1, Mas.phi1) &&
                      same_bits(replay.phi2, Mas.phi2) && same_bits(replay.phi3, Mas.phi3) &&
                      same_bits(PlotSign() * torque, courbe.last_torque);
    if (!same) {
        throw RunError("the trace cannot follow the model at Tick " + std::to_string(tick) +
                       ": its replayed step differs from the program's");
    }

    const double sync = applied.OmegaSynchrone();
    const double speed_over_sync = Mas.omega / sync;
    TraceSample sample;
    sample.tick = tick;
    sample.values = {static_cast<double>(tick) * kSecondsPerTick,
                     alim.phase,
                     Mas.theta,
                     Mas.omega,
                     speed_over_sync,
                     Glissement(Mas.omega, sync),
                     torque,
                     frein.couple,
                     forces[0],
                     forces[1],
                     forces[2],
                     Mas.i1,
                     Mas.i2,
                     Mas.i3,
                     Mas.phi1,
                     Mas.phi2,
                     Mas.phi3};
    sample.sync_omega = sync;
    sample.load_torque = applied.ParDefaut()
                             ? frein.couple
                             : applied.CoupleResistant(frein.couple, before_->omega, sync);
    sample.settings = labo;
    sample.applied = applied;
    sample.stage = demarrage.etape;
    sample.applied_voltage = 100 * demarrage.facteur_tension;
    sample.applied_frequency = 100 * demarrage.facteur_frequence;
    sample.line_currents = {Mas.stator.ligne[0], Mas.stator.ligne[1], Mas.stator.ligne[2]};
    sample.period = balance_.Moyenne();
    return sample;
}

std::string TraceRow(const TraceSample& sample, CsvStyle style, bool later) {
    std::string row = std::to_string(sample.tick);
    for (const double v : sample.values)
        append(row, v, style);
    append(row, sample.sync_omega, style);
    append(row, sample.load_torque, style);
    for (const double v : derived(sample))
        append(row, v, style);
    const char separator = style == CsvStyle::French ? ';' : ',';
    const auto settings = [&](const auto& table) {
        for (const kv::tools::LabSetting& s : table) {
            std::string value = kv::tools::LabValue(s, sample.settings);
            if (style == CsvStyle::French) std::replace(value.begin(), value.end(), '.', ',');
            row += separator + value;
        }
    };
    settings(kv::tools::kLabSettings);
    if (!later) return row;
    if (sample.settings.moteur_reel) {
        for (const double v : stator_values(sample))
            append(row, v, style);
    } else {
        row.append(kStatorColumnCount, separator);
    }
    settings(kv::tools::kLaterLabSettings);
    row += separator + std::to_string(sample.stage);
    append(row, sample.applied_voltage, style);
    append(row, sample.applied_frequency, style);
    return row;
}
