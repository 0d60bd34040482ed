// Every text the picture shows, one table per language: another language is one more table and
// one more row of `langues`. ISO 8859-1, drawn with the exact lengths given.
#pragma once

struct TexteEcran {
    const char* texte;
    int longueur;
};

class tagTextes {
  public:
    TexteEcran alim;            // the supply switch's label
    TexteEcran tu;              // the plot's torque axis
    TexteEcran n;               // the plot's speed axis
    TexteEcran raz;             // the plot's reset label
    TexteEcran frein;           // the brake box's label
    TexteEcran mode_emploi[10]; // the instructions, top to bottom; the last three are the credits
};

extern const tagTextes textes_fr;
extern const tagTextes textes_en;

struct LangueTextes {
    const char* code; // as given to --lang and KORVELINE_LANG
    const tagTextes* textes;
};
extern const LangueTextes langues[2];

// The table the picture is drawn with: French, unless a program picks another before its window
// exists.
extern const tagTextes* textes;

// The table of a language code, or nullptr when there is none.
const tagTextes* TextesLangue(const char* code);
