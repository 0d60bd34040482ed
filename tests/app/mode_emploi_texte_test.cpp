// The instructions panel's French text: the exact bytes and lengths of its ten lines.
#include "panels/mode_emploi.h"
#include "base/textes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Texte(int i) {
    return std::string(textes_fr.mode_emploi[i].texte);
}

TEST(ModeEmploiTexte, InstructionLinesAreExact) {
    const char* attendu[7] = {
        "Cliquer gauche (droit):",
        "- sur ALIM pour mise sous (hors) tension.",
        "- sur les bobines pour visualiser (effacer)le champs.",
        "- sur le rotor pour visualiser (effacer) le champs",
        "  tournant r\xE9sultant et le couple.",
        "- sur le frein pour augmenter (diminuer) le couple",
        "  r\xE9sistant.",
    };
    const int longueur[7] = {23, 41, 53, 50, 34, 50, 12};
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(Texte(i), attendu[i]) << "line " << i + 1;
        EXPECT_EQ(textes_fr.mode_emploi[i].longueur, longueur[i]) << "line " << i + 1;
    }
}

TEST(ModeEmploiTexte, AccentsAreSingleLatin1Bytes) {
    EXPECT_EQ(static_cast<unsigned char>(textes_fr.mode_emploi[4].texte[12]), 0xE9);
    EXPECT_EQ(static_cast<unsigned char>(textes_fr.mode_emploi[6].texte[3]), 0xE9);
}

TEST(ModeEmploiTexte, CreditLinesHaveTheirLengthsAndLeadingSpace) {
    const int longueur[3] = {17, 19, 27};
    for (int i = 7; i < 10; i++) {
        const TexteEcran& l = textes_fr.mode_emploi[i];
        EXPECT_EQ(l.longueur, longueur[i - 7]) << "line " << i + 1;
        EXPECT_EQ(static_cast<int>(std::strlen(l.texte)), l.longueur) << "line " << i + 1;
        EXPECT_EQ(l.texte[0], ' ') << "line " << i + 1;
        EXPECT_NE(l.texte[1], ' ') << "line " << i + 1;
        // Printable ISO 8859-1 only: no control characters, nothing in 0x7F..0x9F.
        for (int c = 0; c < l.longueur; c++) {
            const unsigned char octet = static_cast<unsigned char>(l.texte[c]);
            EXPECT_TRUE(octet >= 0x20 && (octet < 0x7F || octet >= 0xA0))
                << "line " << i + 1 << " byte " << c;
        }
    }
}

TEST(ModeEmploiTexte, EveryLengthIsTheWholeText) {
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(static_cast<int>(std::strlen(textes_fr.mode_emploi[i].texte)),
                  textes_fr.mode_emploi[i].longueur)
            << "line " << i + 1;
}

TEST(ModeEmploiTexte, LinesStand16PixelsApartWithAGapBeforeTheCredits) {
    const int y[10] = {370, 386, 402, 418, 434, 450, 466, 490, 506, 522};
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(lignes_mode_emploi_y[i], y[i]) << "line " << i + 1;
}

} // namespace
