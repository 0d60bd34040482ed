#include "tools/instruments/lab_settings.h"

#include <cmath>
#include <cstdio>
#include <type_traits>
#include <utility>

namespace kv::tools {

namespace {

// A setting's value is its field in tagLabo, less `Offset` (pole pairs count from 1, their
// choices from 0). A choice's field holds its index.
template <auto Field, int Offset = 0> double get(const tagLabo& l) {
    return static_cast<double>(l.*Field) - Offset;
}
template <auto Field, int Offset = 0> void set(tagLabo& l, double v) {
    l.*Field = static_cast<std::remove_reference_t<decltype(l.*Field)>>(v + Offset);
}

bool is_choice(const LabSetting& s) {
    return !s.choices[0].empty();
}

// Echoes what was typed in a message; a value may be a megabyte long, the message stays short.
std::string shown(std::string_view text, std::size_t limit = 40) {
    std::size_t cut = text.size();
    if (cut > limit) {
        cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
    }
    std::string out(1, '\'');
    out.append(text.substr(0, cut));
    out.append(cut < text.size() ? "...'" : "'");
    return out;
}

// Plain decimal: digits, then optionally a point (or a comma, as French writes it) and more
// digits, with a leading '-' so that a negative value is told it is out of range. Up to 15
// significant digits read exactly as the nearest double: an integer over a power of ten, both
// exact, in one division; a longer value, far outside any setting's precision, is near enough.
bool read_number(std::string_view text, double& value) {
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    double mantissa = 0;
    int decimals = 0;
    std::size_t digits = 0;
    bool point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
            // Past 17 digits a digit changes nothing that shows; more would overflow.
            if (mantissa < 1e17) {
                mantissa = mantissa * 10 + (c - '0');
                if (point) ++decimals;
            } else if (!point) {
                mantissa *= 10;
            }
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (digits == 0) return false;
    double scale = 1;
    for (int k = 0; k < decimals; ++k)
        scale *= 10;
    value = mantissa / scale;
    if (negative) value = -value;
    // To the nanounit: a value then reads back the same from its shortest decimal writing (past
    // 15 significant digits, or far below one, no writing of the double itself might).
    value = std::round(value * 1e9) / 1e9;
    value = value + 0.0; // no "-0"
    return true;
}

// The shortest plain decimal that reads back to the same value (settings lie within 0..200).
std::string number_text(double v) {
    char buffer[48];
    for (int decimals = 0; decimals <= 17; ++decimals) {
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
        double back = 0;
        if (read_number(buffer, back) && back == v) break;
    }
    return buffer;
}

std::string choices_text(const LabSetting& s, const char* separator = ", ") {
    std::string text;
    for (const std::string_view choice : s.choices) {
        if (choice.empty()) break;
        text += (text.empty() ? "" : separator) + std::string(choice);
    }
    return text;
}

std::string range_text(const LabSetting& s) {
    return number_text(s.min) + " to " + number_text(s.max) + " (" + std::string(s.unit) + ")";
}

} // namespace

// Each setting: its name and label, the words it takes or its range, its default, what it does.
const std::array<LabSetting, 8> kLabSettings{{
    {.name = "order",
     .label = {"Ordre des phases", "Phase order"},
     .choices = {"direct", "reversed"},
     .fallback = "direct",
     .meaning = "reversed swaps phases 2 and 3: the field and the motor turn the other way",
     .get = get<&tagLabo::ordre_inverse>,
     .set = set<&tagLabo::ordre_inverse>},
    {.name = "open",
     .label = {"Ligne ouverte", "Open line"},
     .choices = {"none", "1", "2", "3"},
     .fallback = "none",
     .meaning = "its line open (1 left coil, 2 lower right, 3 upper right): the field pulsates",
     .get = get<&tagLabo::ligne_ouverte>,
     .set = set<&tagLabo::ligne_ouverte>},
    {.name = "frequency",
     .label = {"Fréquence", "Frequency"},
     .min = 10,
     .max = 200,
     .unit = "% of nominal",
     .shown_unit = {"% de 50 Hz", "% of 50 Hz"},
     .step = 10,
     .fallback = "100",
     .meaning = "the supply's frequency (nominal 50 Hz): the field turns that much faster",
     .get = get<&tagLabo::frequence>,
     .set = set<&tagLabo::frequence>},
    {.name = "voltage",
     .label = {"Tension", "Voltage"},
     .min = 0,
     .max = 200,
     .unit = "% of nominal",
     .shown_unit = {"% de 400 V", "% of 400 V"},
     .step = 10,
     .fallback = "100",
     .meaning = "the supply's voltage; the flux follows voltage / frequency",
     .get = get<&tagLabo::tension>,
     .set = set<&tagLabo::tension>},
    {.name = "resistance",
     .label = {"Résistance rotorique", "Rotor resistance"},
     .min = 0.25,
     .max = 8,
     .unit = "times nominal",
     .shown_unit = {"× nominale", "× nominal"},
     .fallback = "1",
     .meaning = "the resistance of the rotor's turns",
     .get = get<&tagLabo::resistance>,
     .set = set<&tagLabo::resistance>},
    {.name = "load",
     .label = {"Loi de charge", "Load law"},
     .choices = {"constant", "linear", "quadratic", "driving"},
     .fallback = "constant",
     .meaning = "the brake times 1, speed / synchronous speed, or its square (a fan), against "
                "the motion; or driving: a torque of fixed direction, the brake through zero",
     .get = get<&tagLabo::loi_charge>,
     .set = set<&tagLabo::loi_charge>},
    {.name = "poles",
     .label = {"Paires de pôles", "Pole pairs"},
     .choices = {"1", "2", "3", "4"},
     .fallback = "1",
     .meaning = "pole pairs, for the speed in rpm only (the picture stays two-pole)",
     .get = get<&tagLabo::paires_poles, 1>,
     .set = set<&tagLabo::paires_poles, 1>},
    {.name = "plot",
     .label = {"Tracé", "Plot"},
     .choices = {"motor", "four-quadrants"},
     .fallback = "motor",
     .meaning = "four-quadrants: the plot from -n_s to 2 n_s, torques of both signs (generator, "
                "plugging)",
     .get = get<&tagLabo::quatre_quadrants>,
     .set = set<&tagLabo::quatre_quadrants>},
}};

// The real motor's: taken wherever a setting is typed and written once changed, not shown in the
// window's panel or the page's form, whose column beside the picture holds the eight above.
const std::array<LabSetting, 15> kLaterLabSettings{{
    {.name = "motor",
     .label = {"Moteur", "Motor"},
     .choices = {"ideal", "real"},
     .fallback = "ideal",
     .meaning = "real: the stator fed in voltage through its resistance and leakage, the 4 kW "
                "230/400 V nameplate's motor (with poles=2, its 1450 rpm): line current, power "
                "factor, efficiency",
     .get = get<&tagLabo::moteur_reel>,
     .set = set<&tagLabo::moteur_reel>,
     .always_written = false},
    {.name = "coupling",
     .label = {"Couplage", "Coupling"},
     .choices = {"star", "delta"},
     .fallback = "star",
     .meaning = "the coils in star or in delta: for 230/400 V coils, star on 400 V mains, delta "
                "on 230 V",
     .get = get<&tagLabo::triangle>,
     .set = set<&tagLabo::triangle>,
     .always_written = false},
    {.name = "mains",
     .label = {"Réseau", "Mains"},
     .choices = {"400", "230"},
     .fallback = "400",
     .meaning = "the mains' line voltage, in V: delta on 400 V overfluxes the coils, star on "
                "230 V gives a third of the torque",
     .get = [](const tagLabo& l) { return l.reseau == 230 ? 1.0 : 0.0; },
     .set = [](tagLabo& l, double v) { l.reseau = v == 1 ? 230 : 400; },
     .always_written = false},
    {.name = "stator_resistance",
     .label = {"Résistance statorique", "Stator resistance"},
     .min = 0.25,
     .max = 4,
     .unit = "times the real motor's",
     .shown_unit = {"× celle du moteur réel", "× the real motor's"},
     .step = 0.25,
     .fallback = "1",
     .meaning = "the real motor's coil resistance (motor=real)",
     .get = get<&tagLabo::r_stator>,
     .set = set<&tagLabo::r_stator>,
     .always_written = false},
    {.name = "leakage_inductance",
     .label = {"Inductance de fuites", "Leakage inductance"},
     .min = 0,
     .max = 4,
     .unit = "times the real motor's",
     .shown_unit = {"× celle du moteur réel", "× the real motor's"},
     .step = 0.25,
     .fallback = "1",
     .meaning = "the real motor's coil leakage inductance (motor=real)",
     .get = get<&tagLabo::l_fuite>,
     .set = set<&tagLabo::l_fuite>,
     .always_written = false},
    {.name = "magnetising_inductance",
     .label = {"Inductance magnétisante", "Magnetising inductance"},
     .min = 0.25,
     .max = 4,
     .unit = "times the real motor's",
     .shown_unit = {"× celle du moteur réel", "× the real motor's"},
     .step = 0.25,
     .fallback = "1",
     .meaning = "the real motor's magnetising inductance (motor=real)",
     .get = get<&tagLabo::l_magnetisante>,
     .set = set<&tagLabo::l_magnetisante>,
     .always_written = false},
    {.name = "curve",
     .label = {"Courbe", "Curve"},
     .choices = {"torque", "current"},
     .fallback = "torque",
     .meaning = "current: the steady curve shows the line current against the speed "
                "(motor=real)",
     .get = get<&tagLabo::courbe_courant>,
     .set = set<&tagLabo::courbe_courant>,
     .always_written = false},
    {.name = "start",
     .label = {"Démarrage", "Starting"},
     .choices = {"direct", "star-delta", "soft", "vf", "rotor"},
     .fallback = "direct",
     .meaning = "how the supply starts the motor: direct on line, star then delta, a soft "
                "starter's voltage ramp, a drive's V/f ramp, or rotor resistance steps",
     .get = get<&tagLabo::demarrage>,
     .set = set<&tagLabo::demarrage>,
     .always_written = false},
    {.name = "switch_speed",
     .label = {"Commutation à", "Switching at"},
     .min = 10,
     .max = 100,
     .unit = "% of synchronous speed",
     .shown_unit = {"% de n_s", "% of n_s"},
     .step = 5,
     .fallback = "90",
     .meaning = "star-delta: to delta at this speed; rotor: the last resistance step cut out at "
                "it, the others at equal shares of it",
     .get = get<&tagLabo::commutation_vitesse>,
     .set = set<&tagLabo::commutation_vitesse>,
     .always_written = false},
    {.name = "switch_time",
     .label = {"Commutation au plus tard", "Switching at the latest"},
     .min = 0,
     .max = 20,
     .unit = "s of the motor's time, 0 never",
     .shown_unit = {"s (0 : jamais)", "s (0: never)"},
     .step = 0.5,
     .fallback = "0",
     .meaning = "star-delta: to delta after this time even below the switching speed",
     .get = get<&tagLabo::commutation_temps>,
     .set = set<&tagLabo::commutation_temps>,
     .always_written = false},
    {.name = "initial_voltage",
     .label = {"Tension initiale", "Initial voltage"},
     .min = 10,
     .max = 100,
     .unit = "% of the voltage",
     .shown_unit = {"% de la tension", "% of the voltage"},
     .step = 10,
     .fallback = "40",
     .meaning = "soft: where the soft starter's voltage ramp begins",
     .get = get<&tagLabo::tension_initiale>,
     .set = set<&tagLabo::tension_initiale>,
     .always_written = false},
    {.name = "ramp",
     .label = {"Durée de la rampe", "Ramp time"},
     .min = 0.05,
     .max = 20,
     .unit = "s of the motor's time",
     .shown_unit = {"s", "s"},
     .fallback = "1",
     .meaning = "soft and vf: the time the voltage (and the frequency) take to reach their "
                "settings",
     .get = get<&tagLabo::duree_rampe>,
     .set = set<&tagLabo::duree_rampe>,
     .always_written = false},
    {.name = "boost",
     .label = {"Surtension à fréquence nulle", "Boost at zero frequency"},
     .min = 0,
     .max = 50,
     .unit = "% of the voltage",
     .shown_unit = {"% de la tension", "% of the voltage"},
     .step = 5,
     .fallback = "0",
     .meaning = "vf: the voltage added at low frequency, fading as the frequency rises",
     .get = get<&tagLabo::surtension>,
     .set = set<&tagLabo::surtension>,
     .always_written = false},
    {.name = "start_resistance",
     .label = {"Résistance de démarrage", "Starting resistance"},
     .min = 1,
     .max = 32,
     .unit = "times the rotor resistance",
     .shown_unit = {"× R rotor", "× rotor R"},
     .fallback = "4",
     .meaning = "rotor: the wound rotor's resistance at the start, in series resistors included",
     .get = get<&tagLabo::resistance_depart>,
     .set = set<&tagLabo::resistance_depart>,
     .always_written = false},
    {.name = "steps",
     .label = {"Crans de résistance", "Resistance steps"},
     .choices = {"1", "2", "3", "4", "5"},
     .fallback = "3",
     .meaning = "rotor: the steps by which the added resistance is cut out",
     .get = get<&tagLabo::crans, 1>,
     .set = set<&tagLabo::crans, 1>,
     .always_written = false},
}};

std::vector<const LabSetting*> AllLabSettings() {
    std::vector<const LabSetting*> all;
    all.reserve(kLabSettings.size() + kLaterLabSettings.size());
    for (const LabSetting& s : kLabSettings)
        all.push_back(&s);
    for (const LabSetting& s : kLaterLabSettings)
        all.push_back(&s);
    return all;
}

bool LaterSettingChanged(const tagLabo& labo) {
    const tagLabo original;
    for (const LabSetting& s : kLaterLabSettings) {
        if (s.get(labo) != s.get(original)) return true;
    }
    return false;
}

std::string_view LabChoiceWord(std::string_view choice, viewer::Lang lang) {
    constexpr std::pair<std::string_view, viewer::Text> kWords[] = {
        {"reversed", {"inversé", "reversed"}},
        {"none", {"aucune", "none"}},
        {"constant", {"constante", "constant"}},
        {"linear", {"proportionnelle à la vitesse", "proportional to speed"}},
        {"quadratic", {"quadratique (ventilateur)", "quadratic (fan)"}},
        {"driving", {"charge entraînante", "driving load"}},
        {"motor", {"moteur", "motor"}},
        {"four-quadrants", {"quatre quadrants", "four quadrants"}},
        {"ideal", {"idéal", "ideal"}},
        {"real", {"réel (4 kW)", "real (4 kW)"}},
        {"star", {"étoile", "star"}},
        {"delta", {"triangle", "delta"}},
        {"400", {"400 V", "400 V"}},
        {"230", {"230 V", "230 V"}},
        {"torque", {"couple", "torque"}},
        {"current", {"courant de ligne", "line current"}},
        {"star-delta", {"étoile-triangle", "star-delta"}},
        {"soft", {"démarreur progressif", "soft starter"}},
        {"vf", {"variateur V/f", "V/f drive"}},
        {"rotor", {"résistances rotoriques", "rotor resistances"}},
    };
    for (const auto& [word, text] : kWords) {
        if (word == choice) return text(lang);
    }
    return choice;
}

const LabSetting* FindLabSetting(std::string_view name) {
    for (const LabSetting* s : AllLabSettings()) {
        if (s->name == name) return s;
    }
    return nullptr;
}

std::string SetLabSetting(std::string_view name, std::string_view value, tagLabo& labo) {
    const LabSetting* s = FindLabSetting(name);
    if (s == nullptr) {
        std::string names;
        for (const LabSetting* known : AllLabSettings())
            names += (names.empty() ? "" : ", ") + std::string(known->name);
        // The list of every name is long already: a name longer than any setting's is cut short
        // enough for the message to stay under 300 bytes (16 bytes tell a mistyped name).
        return "unknown setting " + shown(name, 16) + " (settings: " + names + ")";
    }
    const std::string what = std::string(s->name) + ": ";
    if (is_choice(*s)) {
        for (std::size_t k = 0; k < s->choices.size() && !s->choices[k].empty(); ++k) {
            if (s->choices[k] == value) {
                s->set(labo, static_cast<double>(k));
                return {};
            }
        }
        return what + shown(value) + " is not one of " + choices_text(*s);
    }
    double v = 0;
    if (!read_number(value, v)) return what + shown(value) + " is not a number " + range_text(*s);
    if (!(v >= s->min && v <= s->max)) return what + shown(value) + " is outside " + range_text(*s);
    s->set(labo, v);
    return {};
}

std::string SetLabPair(std::string_view pair, tagLabo& labo) {
    const std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos || equals == 0) return shown(pair) + " is not NAME=VALUE";
    return SetLabSetting(pair.substr(0, equals), pair.substr(equals + 1), labo);
}

std::string LabValue(const LabSetting& setting, const tagLabo& labo) {
    const double v = setting.get(labo);
    if (!is_choice(setting)) return number_text(v);
    return std::string(setting.choices[static_cast<std::size_t>(v)]);
}

std::string LabSettingsText(const tagLabo& labo) {
    const tagLabo original;
    std::string text;
    for (const LabSetting* s : AllLabSettings()) {
        if (!s->always_written && s->get(labo) == s->get(original)) continue;
        if (!text.empty()) text += ' ';
        text.append(s->name).append("=").append(LabValue(*s, labo));
    }
    return text;
}

std::string LabRecordingComment(const tagLabo& labo) {
    return "KORVELINE, laboratory settings: " + LabSettingsText(labo);
}

std::string LabSettingsHelp() {
    std::string text;
    for (const LabSetting* setting : AllLabSettings()) {
        const LabSetting& s = *setting;
        std::string line = "  " + std::string(s.name) + "=";
        line += is_choice(s) ? choices_text(s, "|") : range_text(s);
        line += ", default " + std::string(s.fallback) + ":\n      " + std::string(s.meaning);
        text += line + "\n";
    }
    return text;
}

} // namespace kv::tools
