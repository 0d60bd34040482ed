// The laboratory: what a teacher may change of the supply, the rotor and the load. At the
// defaults the motor is the one the program always showed, and the Tick takes its original path.
#pragma once

// How the brake torque follows the speed. The first three oppose the motion; a driving load
// keeps its direction whatever the rotation, as a hoist's load or a turbine does.
enum LoiCharge {
    CHARGE_CONSTANTE,   // the brake's value at every speed
    CHARGE_LINEAIRE,    // times speed / synchronous speed
    CHARGE_QUADRATIQUE, // times its square: a fan or a pump
    CHARGE_ENTRAINANTE  // the brake's value, of either sign, towards positive speeds
};

// How the motor is started when the supply is switched on. Direct on line is the motor as it
// always was; the others follow a schedule (model/demarrage.h) from the switching on.
enum ModeDemarrage {
    DEMARRAGE_DIRECT,          // full voltage at once
    DEMARRAGE_ETOILE_TRIANGLE, // the coils in star, then in delta
    DEMARRAGE_PROGRESSIF,      // a soft starter: the voltage ramps up from a fraction
    DEMARRAGE_VF,              // a drive: frequency and voltage ramp up together, with a boost
    DEMARRAGE_ROTORIQUE        // a wound rotor: resistances in series, cut out step by step
};

// The coils by the phase that feeds them in direct order, numbered so that the field turns
// 1 -> 2 -> 3. The drawing's flags and arrays take the coils in another order: left, upper right,
// lower right.
constexpr int PHASE_BOBINE_GAUCHE = 1;      // blue, show_field1
constexpr int PHASE_BOBINE_BAS_DROITE = 2;  // red, show_field3
constexpr int PHASE_BOBINE_HAUT_DROITE = 3; // green, show_field2

class tagLabo {
  public:
    bool ordre_inverse;    // the supplies of phases 2 and 3 swapped: the field turns the other way
    int ligne_ouverte;     // 0, or the phase whose line is open (star-connected stator)
    double frequence;      // the supply's frequency, % of nominal (50 Hz)
    double tension;        // the supply's voltage, % of nominal
    double resistance;     // the rotor turns' resistance, times nominal
    int loi_charge;        // a LoiCharge
    int paires_poles;      // pole pairs, for the real values only: the picture stays two-pole
    bool quatre_quadrants; // the plot shows speeds from -n_s to 2 n_s and torques of both signs,
                           // in the field's direction (the model does not read it)
    bool moteur_reel;      // the stator's coils fed in voltage through their resistance and
                           // leakage, the nameplate's motor (model/plaque.h); else the supply
                           // imposes the flux, as the program always did
    bool triangle;         // the coils in delta, each across two lines; else in star
    double reseau;         // the mains' line voltage in volts, 400 or 230, for 230/400 V coils
    double r_stator;       // the real motor's stator resistance, times the preset's
    double l_fuite;        // its stator leakage inductance, times the preset's
    double l_magnetisante; // its magnetising inductance, times the preset's
    bool courbe_courant;   // the steady curve shows the line current against the speed (the
                           // model does not read it)

    // The start (a ModeDemarrage) and its parameters; only the schedule reads them.
    int demarrage;
    double commutation_vitesse; // % of n_s: star to delta, the last rotor step cut out
    double commutation_temps;   // s of the motor's time: star to delta at the latest (0: never)
    double tension_initiale;    // % of the set voltage: where the soft starter's ramp begins
    double duree_rampe;         // s of the motor's time: the soft starter's and the drive's ramp
    double surtension;          // % of the set voltage added at zero frequency (V/f boost)
    double resistance_depart;   // times the set rotor resistance at the start
    int crans;                  // the rotor resistance's steps before it is cut out

    // The motor as it always was.
    tagLabo();

    // Every setting the model reads is at its default (the pole pairs and the plot change only
    // what is shown; a start's parameters count only for a start other than direct on line).
    bool ParDefaut() const;

    // What the supply's phase advances by in one Tick at this frequency.
    double PasPhase(double phase_step) const;

    // The supply's frequency in Hz.
    double FrequenceHz() const;

    // The supply's period in Ticks: 100 at the nominal frequency, not a whole number at many.
    double PeriodeEnTicks() const;

    // The rotating field's speed in radians per Tick: the supply's phase moves by its step each
    // Tick and the field turns with it, the other way when two phases are swapped. A rotor at
    // this speed (signs alike) has no slip. With a line open the field pulsates; the speed is
    // still the one the order gives.
    double OmegaSynchrone() const;

    // The synchronous speed of the real motor, in revolutions per minute, for its pole pairs.
    double VitesseSynchroneTrMin() const;

    // The peak flux through a rotor turn: the supply's amplitude times voltage / frequency.
    double Flux(double amplitude) const;

    // What the coupling and the mains make of a coil's voltage, relative to its rating (230 V, the
    // nameplate's 230/400 V): 1 in star on 400 V, 0.996 in delta on 230 V; sqrt(3) in delta on
    // 400 V, 1/sqrt(3) in star on 230 V. Exactly 1 at the defaults.
    double FacteurReseau() const;

    // A coil's voltage relative to its rating: that, times the supply's voltage setting.
    double TensionBobine() const;

    // What each coil carries at supply phase P, relative to a phase's peak, in the order left,
    // upper right, lower right: each coil follows its phase; an open line leaves its coil without
    // current and puts the other two in series across the line-to-line voltage.
    void Courants(double P, double courants[3]) const;

    // The coil left without current, in the order left, upper right, lower right; -1 for none.
    int BobineOuverte() const;

    // The field the three coils make together, relative to the field of a balanced supply:
    // (2/3) * sum of each coil's current along its axis. Length 1 for a balanced supply.
    static void Champ(const double courants[3], double* bx, double* by);

    // The brake's torque at speed omega under this load law; omega_synchrone is the field's
    // speed (both in radians per Tick, signs as the model's). Against the motion, but for a
    // driving load: its signed value, towards positive speeds.
    double CoupleResistant(double couple, double omega, double omega_synchrone) const;

    // The plot shows the speed and the torque in the direction the rotor turns: +1 the original
    // motor's way (negative speeds), -1 the other way (the plot's point is then (-omega,
    // -torque)); near standstill, the way the field turns, so that a rotor held still by the
    // brake does not flip from side to side. The four-quadrant plot shows them in the field's
    // direction whatever the rotor does: +1 in direct order, -1 reversed.
    int SensDuTrace(double omega) const;

    // The vector scale of the field drawing at this flux. A flux above nominal is drawn at the
    // nominal length: the arrows must stay inside the disc the Tick wipes.
    double EchelleDessin(double echelle) const;
};

// The slip of a rotor turning at omega in a field turning at omega_synchrone (radians per Tick).
double Glissement(double omega, double omega_synchrone);
