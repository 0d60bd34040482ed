#include "base/textes.h"

#include <cstring>

// 0xE0 is a grave and 0xE9 e acute in ISO 8859-1.
const tagTextes textes_fr = {
    {"ALIM", 4},
    {"Tu", 2},
    {"n", 1},
    {"R \xE0 Z", 5},
    {"Frein", 5},
    {
        {"Cliquer gauche (droit):", 23},
        {"- sur ALIM pour mise sous (hors) tension.", 41},
        {"- sur les bobines pour visualiser (effacer)le champs.", 53},
        {"- sur le rotor pour visualiser (effacer) le champs", 50},
        {"  tournant r\xE9sultant et le couple.", 34},
        {"- sur le frein pour augmenter (diminuer) le couple", 50},
        {"  r\xE9sistant.", 12},
        {" KORVELINE (2026)", 17},
        {" Machine asynchrone", 19},
        {" Distribu\xE9 sous licence MIT", 27},
    },
};

// Each text fits the place of its French counterpart: the same boxes, the same lines.
const tagTextes textes_en = {
    {"Mains", 5},
    {"Tu", 2},
    {"n", 1},
    {"Reset", 5},
    {"Brake", 5},
    {
        {"Left (right) click:", 19},
        {"- on Mains to switch the supply on (off).", 41},
        {"- on a coil to show (hide) its field.", 37},
        {"- on the rotor to show (hide) the resultant", 43},
        {"  rotating field and the forces.", 32},
        {"- on the brake to raise (lower) the load", 40},
        {"  torque.", 9},
        {" KORVELINE (2026)", 17},
        {" Induction machine", 18},
        {" Distributed under the MIT License", 34},
    },
};

const LangueTextes langues[2] = {{"fr", &textes_fr}, {"en", &textes_en}};

const tagTextes* TextesLangue(const char* code) {
    for (const LangueTextes& langue : langues)
        if (std::strcmp(langue.code, code) == 0) return langue.textes;
    return nullptr;
}
