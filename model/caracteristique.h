// The steady torque/speed curve for a set of laboratory settings, measured as on a test bench:
// the model itself run at held speeds, each until its currents have settled, the torque averaged
// over whole supply periods. It takes milliseconds: compute it when the settings change, never
// on the Tick's path.
#pragma once

#include "model/labo.h"
#include "model/mas.h"

#include <memory>
#include <vector>

// Speeds and torques are signed as the model's. The plot (courbe) shows them in the direction the
// rotor turns: a point goes on it at (k * omega, k * couple), k = labo.SensDuTrace(omega), as
// the Tick puts the operating point there.
class tagPointPermanent {
  public:
    double glissement = 0; // 1 - speed / synchronous speed
    double omega = 0;      // radians per Tick, signed as the model's
    double couple = 0;     // useful torque, as the plot shows it: friction taken, signed as the
                           // model's (positive drives towards negative speeds)
    double couple_em = 0;  // electromagnetic torque: the forces alone, signed alike
    double courant = 0;    // a turn's peak current: sqrt(2/3 of the mean sum of squares)
    double pente = 0;      // how the useful torque changes with the speed, both in the field's
                           // direction, the speed in synchronous speeds; 0 at the pull-out
    bool stable = false;   // a rotor running here stays here under the load law measured for
    // The real motor's line current, rms (sqrt of the mean sum of squares / 3), and its P_a,
    // averaged like the torque.
    double courant_ligne = 0;
    double absorbee = 0;
};

class tagCaracteristique {
  public:
    double omega_synchrone = 0;            // the field's speed, radians per Tick, signed
    std::vector<tagPointPermanent> points; // by slip, from a little above synchronism to rest
    tagPointPermanent decrochage;          // the largest useful torque in the motor's direction
    tagPointPermanent decrochage_em;       // the largest electromagnetic torque (friction apart)
    bool decrochage_trouve = false;        // that largest useful torque lies between the slips
                                           // measured: a pull-out, not one end of the curve
};

// Whether two sets of settings give the same curve: the load law and the pole pairs reach neither
// the model's currents nor its torques at a held speed (only the brake and the rpm shown), and
// the load law only sorts its points into branches (ClasseBranches). The four-quadrant plot
// measures more of it.
bool MemeCaracteristique(const tagLabo& a, const tagLabo& b);

// How far a rotor running steadily at this point is from leaving it under this load law: the
// load's torque's slope there less the motor's, both against the speed; positive where it is
// stable. The brake that makes the point an operating point fixes the load's curve through it,
// whose slope is 0 for a constant or driving load, T/n for a linear one and 2T/n for a fan.
double MargeDeStabilite(const tagPointPermanent& p, double omega_synchrone, int loi);

// Each point's branch under this load law: stable where its margin is positive.
void ClasseBranches(tagCaracteristique& courbe, int loi);

// One point measured from scratch: the rotor held at this slip from a standing start.
tagPointPermanent PointAVitesseTenue(const tagLabo& labo, double glissement);

// The whole curve. Slips run from -0.05 to 1 (from -1 to 2 for the four-quadrant plot: the
// generator above synchronism and the brake below standstill), finest near synchronism where
// the curve is steep; the pull-out points are searched between the grid's points; the branches
// are sorted for the settings' load law.
tagCaracteristique MesureCaracteristique(const tagLabo& labo);

// The model with its speed held: the brake and Newton's step have no say.
class tagRotorTenu {
  public:
    tagLabo labo;
    double pas_phase;
    double omega_synchrone;
    tagMas mas;
    double phase;
    int ticks_moyennes; // whole supply periods, at least a few hundred Ticks

    explicit tagRotorTenu(const tagLabo& reglages);

    // Runs `attente` Ticks at this slip, then averages over whole periods.
    tagPointPermanent Mesure(double glissement, int attente);

    // One Tick at this speed; the sum of the forces and the useful torque.
    void Pas(double omega, double* forces, double* couple);
};

// The same, measured a point at a time, so that a window can spread it between its Ticks:
// MesureCaracteristique is Pas() until it is done.
class tagMesureCaracteristique {
  public:
    explicit tagMesureCaracteristique(const tagLabo& reglages);
    ~tagMesureCaracteristique();

    // Measures one more point; false once the curve is whole.
    bool Pas();

    tagLabo labo;
    std::vector<double> glissements;    // the grid
    std::unique_ptr<tagRotorTenu> banc; // the rotor measured along the grid
    std::vector<tagRotorTenu> etats;    // the rotor after each grid point
    int attente;                        // Ticks a point settles from the last one
    tagCaracteristique courbe;          // whole once Pas() returns false

    // The search for the largest useful torque, then the largest electromagnetic one, around
    // the grid's best point.
    struct Recherche;
    std::unique_ptr<Recherche> recherche;

  private:
    void Commence(bool electromagnetique);
    void Termine(const tagPointPermanent& pic);
};
