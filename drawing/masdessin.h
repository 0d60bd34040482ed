// The motor's cross-section: stator coils, field vectors, rotor and Laplace forces.
#pragma once

#include <windows.h>

// What the user has asked to see, and every drawing operation of the motor picture. The flags
// start false because the one instance, masdessin, lives in zero-initialised static storage.
class tagMasDessin {
  public:
    bool show_field1;    // pulsating field of the left coil (phase offset 0)
    bool show_field2;    // pulsating field of the upper-right coil (phase offset +2pi/3)
    bool show_field3;    // pulsating field of the lower-right coil (phase offset -2pi/3)
    bool show_resultant; // rotating resultant field, and the Laplace forces on the rotor

    tagMasDessin();

    // Stator coils (masdessin_bobines.cpp). A spire is drawn at `offset` pixels from the motor
    // centre, with whatever pen is selected; a coil is 25 spires in copper.
    void CreateSpire1(int offset, HDC hdc);
    void CreateSpire2(int offset, HDC hdc);
    void CreateSpire3(int offset, HDC hdc);
    void CreateBobine1(HDC hdc); // left coil
    void CreateBobine2(HDC hdc); // lower-right coil
    void CreateBobine3(HDC hdc); // upper-right coil, then the three coil leads

    // Field vectors (masdessin_champs.cpp). P is the supply phase, A the vector scale.
    void VecteurChamps(HDC hdc, double P, double alpha, int n, double A, HPEN pen);
    void ChampsTotal(HDC hdc, double P, double A);
    void ChampsResultant(HDC hdc, double P, double A);

    // The same picture from what each coil carries, for any supply: courants[] relative to a
    // phase's peak (left, upper right, lower right), the open coil (-1 for none) left bare, and
    // the field (bx, by) they make together, of length 1 for a balanced supply.
    void VecteurBobine(HDC hdc, double k, double alpha, int n, double A, HPEN pen);
    void ChampsBobines(HDC hdc, const double courants[3], int ouverte, double bx, double by,
                       double A);
    void ChampResultantVecteur(HDC hdc, double bx, double by, double A);

    // Rotor and forces (masdessin_rotor.cpp).
    void RotorTourne(HDC hdc, double a);
    void RotorTourneTotal(HDC hdc, double theta);
    void ForceLaplace(HDC hdc, double a, double L);
    void ForceLaplaceTotal(HDC hdc, double theta, double F1, double F2, double F3);
    // The same for forces of any size: a force beyond what fits inside the disc the Tick wipes
    // (a flux above nominal gives them) is drawn at that length.
    void ForceLaplaceBornee(HDC hdc, double theta, double F1, double F2, double F3);
};
