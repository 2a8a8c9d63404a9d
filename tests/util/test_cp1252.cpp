// The Windows-1252 codec at the edge of every file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/cp1252.h"

namespace {

TEST(Cp1252, ChaqueOctetRevientTelQuel) {
  std::string tous;
  for (int o = 0; o < 256; ++o) tous += static_cast<char>(o);
  const std::string utf8 = Cp1252VersUtf8(tous);
  EXPECT_EQ(tous, Utf8VersCp1252(utf8));
  // Each byte is one character: decoding a byte at a time gives the same text.
  std::string unParUn;
  for (char o : tous) unParUn += Cp1252VersUtf8(std::string(1, o));
  EXPECT_EQ(utf8, unParUn);
}

TEST(Cp1252, CorrespondancesConnues) {
  struct Ligne {
    const char* nom;
    std::string octet, utf8;
  };
  const std::vector<Ligne> lignes = {
      {"ascii", "A", "A"},
      {"nul", std::string(1, '\0'), std::string(1, '\0')},
      {"euro_80", "\x80", "\u20AC"},
      {"non_defini_81", "\x81", "\u0081"},
      {"non_defini_8D", "\x8D", "\u008D"},
      {"non_defini_8F", "\x8F", "\u008F"},
      {"non_defini_90", "\x90", "\u0090"},
      {"non_defini_9D", "\x9D", "\u009D"},
      {"oe_9C", "\x9C", "\u0153"},
      {"tiret_96", "\x96", "\u2013"},
      {"y_trema_9F", "\x9F", "\u0178"},
      {"espace_insecable_A0", "\xA0", "\u00A0"},
      {"micro_B5", "\xB5", "\u00B5"},
      {"degre_B0", "\xB0", "\u00B0"},
      {"e_aigu_E9", "\xE9", "\u00E9"},
      {"y_trema_FF", "\xFF", "\u00FF"},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_EQ(l.utf8, Cp1252VersUtf8(l.octet));
    EXPECT_EQ(l.octet, Utf8VersCp1252(l.utf8));
  }
}

TEST(Cp1252, CaractereAbsentDevientPointDInterrogation) {
  struct Ligne {
    const char* nom;
    std::string utf8, octets;
  };
  const std::vector<Ligne> lignes = {
      {"omega_grec", "Ω=1", "?=1"},
      {"ideogramme", "a\u4E2Db", "a?b"},
      {"hors_du_plan_de_base_un_seul", "\U0001F600", "?"},
      {"controle_80_pris_par_l_euro", "\u0080", "?"},
      {"controle_82", "\u0082", "?"},
      {"mu_grec_n_est_pas_micro", "\u03BCS", "?S"},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_EQ(l.octets, Utf8VersCp1252(l.utf8));
  }
}

TEST(Cp1252, UtfMalFormeGardeSesOctets) {
  const std::vector<std::pair<const char*, std::string>> lignes = {
      {"latin1_tel_quel", "\xE9t\xE9"},
      {"sequence_tronquee_en_fin", "ab\xC3"},
      {"suite_sans_tete", "\x80\xBF"},
      {"trop_longue", "\xC0\xAF"},
      {"surrogate", "\xED\xA0\x80"},
      {"au_dela_de_10FFFF", "\xF4\x90\x80\x80"},
      {"tete_suivie_d_ascii", "\xC3" "A"},
  };
  for (const auto& [nom, octets] : lignes) {
    SCOPED_TRACE(nom);
    EXPECT_EQ(octets, Utf8VersCp1252(octets));
  }
  EXPECT_EQ("\xE9t\xE9 \xE9", Utf8VersCp1252("\xE9t\xE9 \u00E9"));
}

}  // namespace
