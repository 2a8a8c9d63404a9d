// The escape notation of instrument strings (read and written) and the display of
// received bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aides_instruments.h"
#include "instruments/commande.h"

namespace {

struct CasDecode {
  const char* nom;
  std::string texte;   // as in the device file (UTF-8)
  std::string octets;  // as sent on the wire
};

void PrintTo(const CasDecode& c, std::ostream* os) { *os << c.nom; }

class DecodeCommandeCas : public ::testing::TestWithParam<CasDecode> {};

TEST_P(DecodeCommandeCas, DonneLesOctets) {
  EXPECT_EQ(DecodeCommande(GetParam().texte), GetParam().octets);
}

INSTANTIATE_TEST_SUITE_P(
    Textes, DecodeCommandeCas,
    ::testing::Values(
        CasDecode{"noms_et_barre_double", "|ESC|P|CR||LF|", Hex("1B 50 0D 0A")},
        CasDecode{"deux_barres_une_barre", "a||b", "a|b"},
        CasDecode{"nom_en_minuscules", "|cr|", "\r"},
        CasDecode{"DC1_est_XON", "|DC1|", "\x11"},
        CasDecode{"DC3_est_XOFF", "|DC3|", "\x13"},
        CasDecode{"nom_inconnu_donne_un_blanc", "|FOO|", " "},
        CasDecode{"nom_non_ferme_jusqua_la_fin", "?D|CR", "?D\r"},
        CasDecode{"barre_seule_en_fin", "a|", "a|"},
        CasDecode{"NUL_et_US_bornes_de_la_table", "|NUL||US|", std::string("\0\x1f", 2)},
        CasDecode{"lettre_accentuee_en_octet_1252", "é°µ", Hex("E9 B0 B5")},
        CasDecode{"euro_en_octet_1252", "€", Hex("80")},
        CasDecode{"vide", "", ""},
        CasDecode{"300_caracteres_donnent_250_octets", std::string(300, 'a'), std::string(250, 'a')},
        CasDecode{"la_limite_coupe_apres_un_nom", std::string(249, 'a') + "|CR||LF|",
                  std::string(249, 'a') + "\r"}),
    NomDuCas());

TEST(CodeCommande, ControlesParLeurNomEtOctetsHautsEnCaracteres1252) {
  EXPECT_EQ(CodeCommande(Hex("1B 50 0D 0A")), "|ESC|P|CR||LF|");
  EXPECT_EQ(CodeCommande(Hex("11 13 00")), "|XON||XOFF||NUL|");
  EXPECT_EQ(CodeCommande(Hex("E9 80 B0")), "é€°");
  EXPECT_EQ(CodeCommande("01V="), "01V=");
}

TEST(CodeCommande, UneBarreEstEcriteDoublePourQueLaRelectureLaRende) {
  // Written as it stands, "a|b" would read back as "a " (an unknown name).
  EXPECT_EQ(CodeCommande("a|b"), "a||b");
  EXPECT_EQ(DecodeCommande(CodeCommande("a|b|")), "a|b|");
}

TEST(CodeCommande, AllerRetourDeChaqueOctet) {
  for (int b = 0; b < 256; ++b) {
    const std::string octets{static_cast<char>(b), 'x', static_cast<char>(b)};
    EXPECT_EQ(DecodeCommande(CodeCommande(octets)), octets) << "octet " << b;
  }
}

TEST(LignesRecues, UneLigneParRetourChariotLesControlesNommes) {
  std::vector<std::string> lignes{"ancienne"};
  LignesRecues("  7.02pH" + Hex("0D 0A") + "25.0" + Hex("F8") + "C" + Hex("0D") + "12" + Hex("E6 7F 81") + "S",
               lignes);
  ASSERT_EQ(lignes.size(), 3u);
  EXPECT_EQ(lignes[0], "  7.02pH|CR|");
  EXPECT_EQ(lignes[1], "|LF|25.0°C|CR|");
  EXPECT_EQ(lignes[2], "12µµµS");  // the last line, unfinished, is kept too
  LignesRecues("", lignes);
  EXPECT_TRUE(lignes.empty());
}

TEST(CompteRetours, CompteLesOctets13) {
  EXPECT_EQ(CompteRetours(""), 0u);
  EXPECT_EQ(CompteRetours("a\rb\r\n\n"), 2u);
}

}  // namespace
