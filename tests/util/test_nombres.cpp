// Numbers to text and back under a ',' and a '.' regional setting.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "faux_util.h"
#include "util/nombres.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

std::string AvecSeparateur(std::string texte, char sep) {
  if (const auto p = texte.find('.'); p != std::string::npos) texte[p] = sep;
  return texte;
}

void AttendMeme(double attendu, double obtenu) {
  if (std::isnan(attendu)) {
    EXPECT_TRUE(std::isnan(obtenu)) << obtenu;
  } else {
    EXPECT_DOUBLE_EQ(attendu, obtenu);
  }
}

// Every test of this file runs once with each separator.
class SousRegional : public ::testing::TestWithParam<char> {
protected:
  char Sep() const { return GetParam(); }
  TRegionalInstalle regional_{GetParam()};
};

struct LigneLecture {
  const char* nom;
  std::string texte;
  double attendu;
};

// The same answers under both separators: either one may be typed or received.
const std::vector<LigneLecture> Lectures = {
    {"point", "3.5", 3.5},
    {"virgule", "3,5", 3.5},
    {"milliers_refuses", "1.234,5", NaN},
    {"milliers_inverses", "1,234.5", NaN},
    {"deux_points", "1.2.3", NaN},
    {"deux_virgules", "1,2,3", NaN},
    {"vide", "", NaN},
    {"blancs_seuls", "   ", NaN},
    {"exposant", "2e-3", 0.002},
    {"exposant_signe_plus", "4.7E+3", 4700},
    {"negatif", "-12", -12},
    {"signe_plus", "+0,5", 0.5},
    {"blancs_autour", "  7.02 ", 7.02},
    {"tabulation", "\t3", 3},
    {"sans_partie_entiere", ".5", 0.5},
    {"sans_decimales", "5.", 5},
    {"separateur_seul", ",", NaN},
    {"signe_seul", "-", NaN},
    {"double_signe", "--1", NaN},
    {"exposant_sans_chiffres", "1e", NaN},
    {"exposant_signe_seul", "1e+", NaN},
    {"exposant_seul", "e5", NaN},
    {"unite_collee", "7.02 pH", NaN},
    {"blanc_interne", "1 000", NaN},
    {"texte_nan", "NAN", NaN},
    {"texte_inf", "INF", NaN},
    {"hexadecimal", "0x10", NaN},
    {"trop_grand", "1e400", NaN},
    {"trop_petit_devient_zero", "-1e-400", 0},
    {"zeros_de_tete", "007", 7},
    {"chiffres_nombreux", "0.1000000000000000000000000001", 0.1},
};

TEST_P(SousRegional, LitNombreAccepteLesDeuxSeparateurs) {
  for (const auto& l : Lectures) {
    SCOPED_TRACE(l.nom);
    AttendMeme(l.attendu, LitNombre(l.texte));
  }
}

TEST_P(SousRegional, LitNombreDefautRemplaceSeulementNaN) {
  EXPECT_EQ(7.0, LitNombreDefaut("abc", 7.0));
  EXPECT_EQ(7.0, LitNombreDefaut("", 7.0));
  EXPECT_EQ(0.0, LitNombreDefaut("0", 7.0));
  EXPECT_EQ(-2.5, LitNombreDefaut("-2,5", 7.0));
}

struct LigneGeneral {
  const char* nom;
  double x;
  int precision, exposant;
  std::string attendu;  // written with '.', the separator of the test is put in its place
};

const std::vector<LigneGeneral> Generaux = {
    {"huit_chiffres_entiers", 12345678, 7, 2, "1.234568E07"},
    {"sept_chiffres_entiers", 1234567, 7, 2, "1234567"},
    {"petit_exposant_negatif", 1.5e-5, 7, 2, "1.5E-05"},
    {"negatif_scientifique", -1.5e-5, 7, 2, "-1.5E-05"},
    {"grand_sans_plus", 2.5e10, 7, 2, "2.5E10"},
    {"demi", 0.5, 7, 2, "0.5"},
    {"cent", 100, 7, 2, "100"},
    {"negatif", -3.25, 7, 2, "-3.25"},
    {"zero", 0, 7, 2, "0"},
    {"zero_negatif", -0.0, 7, 2, "0"},
    {"limite_1e-4_en_clair", 0.0001, 7, 2, "0.0001"},
    {"sous_1e-4_scientifique", 0.00009, 7, 2, "9E-05"},
    {"arrondi_jusqu_a_1e-4", 0.000099999999, 7, 2, "0.0001"},
    {"arrondi_ajoute_un_chiffre", 9999999.6, 7, 2, "1E07"},
    {"un_tiers", 1.0 / 3, 7, 2, "0.3333333"},
    {"deux_tiers_15", 2.0 / 3, 15, 2, "0.666666666666667"},
    {"dixieme_15", 0.1, 15, 2, "0.1"},
    {"quinze_chiffres_entiers", 999999999999999, 15, 2, "999999999999999"},
    {"seize_chiffres_entiers", 1e15, 15, 2, "1E15"},
    {"exposant_trois_chiffres", 1e100, 7, 2, "1E100"},
    {"exposant_tres_negatif", 1.5e-300, 7, 2, "1.5E-300"},
    {"denormal", 5e-324, 7, 2, "4.940656E-324"},
    {"trois_chiffres", 123.456, 3, 1, "123"},
    {"trois_chiffres_exposant_1", 1234.5, 3, 1, "1.23E3"},
    {"arrondi_au_plus_proche", 0.1251, 2, 2, "0.13"},
    {"precision_nulle_bornee", 0.5, 0, 2, "0.5"},
    {"exposant_quatre_chiffres", 1e-5, 7, 4, "1E-0005"},
    {"nan", NaN, 7, 2, "NAN"},
    {"infini", Inf, 7, 2, "INF"},
    {"moins_infini", -Inf, 7, 2, "-INF"},
};

TEST_P(SousRegional, FormatGeneralEcritLeSeparateurDemande) {
  for (const auto& l : Generaux) {
    SCOPED_TRACE(l.nom);
    EXPECT_EQ(AvecSeparateur(l.attendu, Sep()), FormatGeneral(l.x, l.precision, l.exposant, Sep()));
  }
}

TEST_P(SousRegional, FormatGeneralRelitLaMemeValeur) {
  for (double x : {0.1, 1.0 / 3, 2.5e-7, 123456.789, -9.87654321e12}) {
    SCOPED_TRACE(x);
    const std::string t = FormatGeneral(x, 15, 2, Sep());
    EXPECT_EQ(t, FormatGeneral(LitNombre(t), 15, 2, Sep()));
  }
  EXPECT_EQ(0.1, LitNombre(FormatGeneral(0.1, 15, 2, Sep())));
}

struct LigneTexte {
  const char* nom;
  double x;
  std::string attendu;
};

TEST_P(SousRegional, FormatNombrePointEcritToujoursUnPoint) {
  const std::vector<LigneTexte> lignes = {
      {"demi", 0.5, "0.5"},
      {"huit_chiffres", 12345678, "1.234568E07"},
      {"nan_blanc", NaN, " "},
      {"negatif", -3.25, "-3.25"},
      {"petit", 1.5e-5, "1.5E-05"},
      {"entier", 42, "42"},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_EQ(l.attendu, FormatNombrePoint(l.x));
  }
}

struct LigneFixe {
  const char* nom;
  double x;
  int precision, decimales;
  std::string attendu;
};

TEST_P(SousRegional, FormatFixePointVolumesDeBurette) {
  const std::vector<LigneFixe> lignes = {
      {"deux_decimales", 12.5, 4, 2, "12.50"},
      {"zero", 0, 4, 2, "0.00"},
      {"chiffre_avant_le_point", 0.25, 4, 2, "0.25"},
      {"negatif", -1.5, 4, 2, "-1.50"},
      {"negatif_arrondi_a_zero_sans_signe", -0.004, 4, 2, "0.00"},
      {"arrondi_sur_la_valeur_binaire", 2.675, 4, 2, "2.67"},
      {"arrondi_superieur", 1.236, 4, 2, "1.24"},
      {"quatre_chiffres_entiers", 9999.99, 4, 2, "9999.99"},
      {"trop_de_chiffres_entiers", 12345.6, 4, 2, "1.235E04"},
      {"arrondi_ajoute_un_chiffre", 9999.996, 4, 2, "1E04"},
      {"sans_decimales", 3, 4, 0, "3"},
      {"tres_grand", 1e30, 4, 2, "1E30"},
      {"nan_blanc", NaN, 4, 2, " "},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_EQ(l.attendu, FormatFixePoint(l.x, l.precision, l.decimales));
  }
}

TEST_P(SousRegional, FormatNombreCourtGardeLeSeparateurDuRegional) {
  const std::vector<LigneTexte> lignes = {
      {"demi", 0.5, "0.5"},
      {"trois_chiffres", 2.345678, "2.35"},
      {"millier", 1234, "1.23E3"},
      {"petit_exposant_un_chiffre", 1.5e-5, "1.5E-5"},
      {"limite_basse_un_chiffre", 1e-10, "1E-10"},
      {"sous_la_limite_deux_chiffres", 1.5e-11, "1.5E-11"},
      {"sous_la_limite_haute", 9.99e9, "9.99E9"},
      {"limite_haute_deux_chiffres", 1e10, "1E10"},
      {"grand_deux_chiffres", 2e12, "2E12"},
      {"negatif", -0.0123, "-0.0123"},
      {"zero", 0, "0"},
      {"nan_blanc", NaN, " "},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_EQ(AvecSeparateur(l.attendu, Sep()), FormatNombreCourt(l.x));
  }
}

TEST_P(SousRegional, FiltreToucheNombre) {
  const char32_t sep = static_cast<unsigned char>(Sep());
  struct Ligne {
    const char* nom;
    char32_t touche, attendu;
  };
  const std::vector<Ligne> lignes = {
      {"virgule", U',', sep}, {"point", U'.', sep},     {"chiffre_0", U'0', U'0'},
      {"chiffre_9", U'9', U'9'}, {"exposant", U'E', U'E'}, {"exposant_minuscule", U'e', U'e'},
      {"plus", U'+', U'+'},     {"moins", U'-', U'-'},     {"effacement", 8, 8},
      {"saut_de_page", 12, 12}, {"retour", 13, 13},        {"lettre", U'a', 0},
      {"blanc", U' ', 0},       {"barre_avant_0", U'/', 0}, {"deux_points_apres_9", U':', 0},
      {"tabulation", 9, 0},     {"micro", U'\u00B5', 0},   {"euro_au_dela_de_255", U'\u20AC', 0},
      {"chiffre_arabe", U'\u0663', 0},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    char32_t t = l.touche;
    FiltreToucheNombre(t);
    EXPECT_EQ(l.attendu, t);
  }
}

INSTANTIATE_TEST_SUITE_P(Separateurs, SousRegional, ::testing::Values(',', '.'), NomSeparateur);

TEST(Regional, SeparateurLuAChaqueAppel) {
  TRegionalInstalle regional(',');
  EXPECT_EQ("0,5", FormatNombreCourt(0.5));
  regional.Regional().SetSeparateur('.');
  EXPECT_EQ("0.5", FormatNombreCourt(0.5));
}

TEST(Regional, SansRegionalLePoint) {
  InstalleRegional(nullptr);
  EXPECT_EQ('.', SeparateurDecimal());
  EXPECT_EQ(3.5, LitNombre("3,5"));
}

TEST(DeveloppePrefixe, Lettres) {
  struct Ligne {
    const char* nom;
    std::string avant, apres;
  };
  const std::vector<Ligne> lignes = {
      {"lettre_seule", "k", "k"},      {"milli", "10m", "10E-3"},     {"yotta_refuse", "10Y", "10Y"},
      {"zetta_refuse", "10Z", "10Z"},  {"kilo", "4.7k", "4.7E+3"},    {"micro", "2\u00B5", "2E-6"},
      {"micro_seul", "\u00B5", "\u00B5"}, {"mu_grec_refuse", "2\u03BC", "2\u03BC"},
      {"vide", "", ""},                {"exa", "5E", "5E+18"},        {"sans_prefixe", "12", "12"},
      {"lettre_interieure", "1k0", "1k0"},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    std::string t = l.avant;
    DeveloppePrefixe(t);
    EXPECT_EQ(l.apres, t);
  }
}

TEST(DeveloppePrefixe, ChaqueLettreSeRelitAvecSaPuissance) {
  TRegionalInstalle regional(',');
  const std::vector<std::pair<std::string, double>> prefixes = {
      {"y", 1e-24}, {"z", 1e-21}, {"a", 1e-18}, {"f", 1e-15}, {"p", 1e-12}, {"n", 1e-9}, {"\u00B5", 1e-6},
      {"m", 1e-3},  {"k", 1e3},   {"M", 1e6},   {"G", 1e9},   {"T", 1e12},  {"P", 1e15}, {"E", 1e18}};
  for (const auto& [lettre, facteur] : prefixes) {
    SCOPED_TRACE(lettre);
    std::string t = "2,5" + lettre;
    DeveloppePrefixe(t);
    EXPECT_DOUBLE_EQ(2.5 * facteur, LitNombre(t));
  }
}

TEST(ValeurChiffre, ChiffresEtAutres) {
  for (char c = '0'; c <= '9'; ++c) EXPECT_EQ(c - '0', ValeurChiffre(c));
  for (char c : {'a', '/', ':', ' ', '\0', '\xB5'}) EXPECT_EQ(0, ValeurChiffre(c)) << int(c);
}

TEST(OrdonneBornes, Paires) {
  struct Ligne {
    const char* nom;
    double bas, haut, basAttendu, hautAttendu;
  };
  const std::vector<Ligne> lignes = {
      {"inversees", 5, 2, 2, 5},
      {"egales", 3, 3, 3, 6},
      {"zeros", 0, 0, 0, 0},
      {"dans_l_ordre", -1, 4, -1, 4},
      {"egales_negatives_restent_ordonnees", -2, -2, -4, -2},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    double bas = l.bas, haut = l.haut;
    OrdonneBornes(bas, haut);
    EXPECT_EQ(l.basAttendu, bas);
    EXPECT_EQ(l.hautAttendu, haut);
  }
}

}  // namespace
