#include "shell/etat_de_depart.h"

#include "base/apparences.h"
#include "base/textes.h"
#include "shell/scene.h"

void EtatDeDepart() {
    // The same constructors as static initialisation, over the zeroes static storage starts with.
    Mas = tagMas(0.0, 0.0);
    alim = tagAlim();
    masdessin.show_field1 = false;
    masdessin.show_field2 = false;
    masdessin.show_field3 = false;
    masdessin.show_resultant = false;
    courbe = tagCourbe();
    frein.couple = 0;
    for (tagPixel& pixel : frein.pixels)
        pixel = tagPixel{0, 0, 0};
    frein.couple_step = 0.5;
    frein.forme = FORME_LIGNE;
    frein.signe = 1;
    frein.ligne_rendue = false;
    for (tagPixel& pixel : frein.sous_courbe)
        pixel = tagPixel{0, 0, 0};
    frein.nb_sous_courbe = 0;
    echelle_trace = tagEchelleTrace();
    labo = tagLabo();
    demarrage = tagDemarrage();
    ChoisirApparence(APPARENCE_DEFAUT);
    textes = &textes_fr;
}
