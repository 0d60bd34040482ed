// The phases told apart by more than colour, in a look that numbers them (base/apparences.h): a
// label 1, 2 or 3 by each coil and by its arrows, and an arrow of the phase's own style: an open
// head and a ring about the base for phase 1, a closed head and a square for phase 2, a double head
// and a diamond for phase 3. The base's mark stays while the field, and the arrow with it, shrinks
// to nothing. The phases are numbered in the order of the phase sequence: 1 the left coil, 2 the
// lower-right, 3 the upper-right. In a look that does not number them these draw nothing.
#pragma once

#include <windows.h>

// The label of phase 1, 2 or 3 by its coil: the digit on a patch of the phase's colour. Drawn
// with the coil.
void NumeroteBobine(HDC hdc, int phase);

// Completes the arrow VecteurBobine has just drawn with `pen` (same arguments: k the coil's
// current relative to a phase's peak): the head of its phase, and for an arrow off the centre the
// mark about its base and the label beside it. The centre's arrows have no mark or label: the
// three phases' would cover one another there.
void NumeroteVecteur(HDC hdc, double k, double alpha, int n, double A, HPEN pen);
