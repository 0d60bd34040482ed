// The program's state as static initialisation leaves it, before the window is made, for those
// that run the program again and again in one process (the tests, the fuzzers): each run then
// starts from the same state, and a failure reproduces from its input alone.
#pragma once

// Puts every global that static initialisation sets back to its value: the scene objects, the
// laboratory's settings, the look and the language. (The GDI objects the palette made stay, as
// on Windows they live as long as the process.)
void EtatDeDepart();
