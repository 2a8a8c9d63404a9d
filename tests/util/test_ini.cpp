// The INI reader and writer: values, case rules, untouched lines kept byte for byte,
// and a failed save that leaves the previous file as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "faux_util.h"
#include "util/cp1252.h"
#include "util/fichiers.h"
#include "util/ini.h"

namespace fs = std::filesystem;

namespace {

std::string Remplace(std::string texte, const std::string& de, const std::string& par) {
  const auto p = texte.find(de);
  EXPECT_NE(std::string::npos, p) << de;
  if (p != std::string::npos) texte.replace(p, de.size(), par);
  return texte;
}

std::string SansRetourChariot(std::string texte) {
  std::erase(texte, '\r');
  return texte;
}

// The mixed fixture copied into the test's own folder, with each regional setting.
class IniFixture : public ::testing::TestWithParam<char> {
protected:
  void SetUp() override {
    dossier_ = DossierDuTest();
    chemin_ = (dossier_ / "RS232.INI").string();
    original_ = *LitFichier(std::string(PELITRAX_FIXTURES_DIR) + "/donnees/melange.ini");
    ASSERT_TRUE(EcritFichierSur(chemin_, original_));
  }
  std::string Disque() const { return LitFichier(chemin_).value_or("<illisible>"); }

  TRegionalInstalle regional_{GetParam()};
  fs::path dossier_;
  std::string chemin_, original_;
};

const std::string Pm = "pHmètre Démo";

TEST_P(IniFixture, LitLesValeursQuelleQueSoitLaCasse) {
  const TFichierIni ini(chemin_);
  ASSERT_TRUE(ini.Lisible());
  EXPECT_EQ((std::vector<std::string>{"Index", Pm, "BuretteRS232"}), ini.Sections());
  EXPECT_EQ("pH", ini.LitTexte("PHMèTRE DéMO", "nom", ""));
  EXPECT_EQ("µS/cm", ini.LitTexte(Pm, "UNITé", ""));
  EXPECT_EQ("", ini.LitTexte(Pm, "UNITÉ", ""));  // only ASCII letters fold
  EXPECT_EQ(4, ini.LitEntier(Pm, "Precision", 6));
  EXPECT_EQ(31, ini.LitEntier(Pm, "com", 1));
  EXPECT_EQ(9600, ini.LitEntier(Pm, "BAUD", 0));
  EXPECT_EQ(9600, ini.LitEntier("buretters232", "Baud", 0));
  EXPECT_EQ(44, ini.LitEntier(Pm, "Séparateur", 0));
  EXPECT_EQ(-2.5, ini.LitReel(Pm, "Mini", 0));
  EXPECT_EQ(14.25, ini.LitReel(Pm, "Maxi", 1));
  EXPECT_EQ(0.01, ini.LitReel(Pm, "Derive", -1));
  EXPECT_EQ("pH", ini.LitTexte(Pm, "Symbole", ""));
  EXPECT_EQ("|ESC|P|CR|", ini.LitTexte(Pm, "Demande", ""));
  EXPECT_EQ("Appuyer sur « Print »", ini.LitTexte(Pm, "1", ""));
  EXPECT_FALSE(ini.LitBooleen(Pm, "LireCoeffUnite", true));
  EXPECT_TRUE(ini.LitBooleen("BuretteRS232", "Continu", false));
  EXPECT_EQ(2, ini.LitEntier("Index", "Nombre", 0));
}

TEST_P(IniFixture, RelueEtReecriteALIdentique) {
  const TFichierIni ini(chemin_);
  EXPECT_EQ(original_, Utf8VersCp1252(ini.Texte()));
  ASSERT_TRUE(ini.Enregistre());
  EXPECT_EQ(original_, Disque());
}

TEST_P(IniFixture, ValeursReecritesIdentiquesNeChangentRien) {
  TFichierIni ini(chemin_);
  ini.EcritTexte(Pm, "nom", "pH");
  ini.EcritTexte(Pm, "symbole", "pH");  // its line keeps its blanks
  ini.EcritEntier(Pm, "Precision", 4);
  ini.EcritEntier(Pm, "Séparateur", 44);
  ini.EcritBooleen(Pm, "LireCoeffUnite", false);
  ASSERT_TRUE(ini.Enregistre());
  EXPECT_EQ(original_, Disque());
}

TEST_P(IniFixture, UneCleModifieeNeChangeQueSaLigne) {
  TFichierIni ini(chemin_);
  ini.EcritEntier("PHMèTRE DéMO", "COM", 3);
  ini.EcritTexte(Pm, "unité", "mS/cm");
  ASSERT_TRUE(ini.Enregistre());
  std::string attendu = Remplace(original_, "Com=$1F", "Com=3");
  attendu = Remplace(attendu, "Unit\xE9=\xB5S/cm", "Unit\xE9=mS/cm");  // the key keeps its spelling
  EXPECT_EQ(attendu, Disque());
}

TEST_P(IniFixture, ReelsAvecLeSeparateurDuRegional) {
  TFichierIni ini(chemin_);
  ini.EcritReel(Pm, "Mini", -2.5);
  ini.EcritReel(Pm, "Maxi", 14.25);
  ini.EcritReel(Pm, "Derive", 0.01);
  ASSERT_TRUE(ini.Enregistre());
  std::string attendu = original_;
  if (GetParam() == '.') {
    attendu = Remplace(attendu, "Mini=-2,5", "Mini=-2.5");
    attendu = Remplace(attendu, "MAXI=14,25", "MAXI=14.25");
    attendu = Remplace(attendu, "Derive=0,01", "Derive=0.01");
  }
  EXPECT_EQ(attendu, Disque());
}

TEST_P(IniFixture, FinsDeLigneLFReecritesEnCRLF) {
  ASSERT_TRUE(EcritFichierSur(chemin_, SansRetourChariot(original_)));
  const TFichierIni ini(chemin_);
  EXPECT_EQ(31, ini.LitEntier(Pm, "Com", 0));
  ASSERT_TRUE(ini.Enregistre());
  EXPECT_EQ(original_, Disque());
}

TEST_P(IniFixture, EnregistrementEchoueLaisseLAncienFichier) {
  TFichierIni ini(chemin_);
  for (int i = 0; i < 500; ++i) ini.EcritTexte("Grosse", "Cle" + std::to_string(i), std::string(40, 'v'));
  {
    TLimiteTailleFichiers limite(static_cast<rlim_t>(original_.size()));
    EXPECT_FALSE(ini.Enregistre());
  }
  EXPECT_EQ(original_, Disque());
  EXPECT_EQ(1u, std::distance(fs::directory_iterator(dossier_), fs::directory_iterator()));

  TFichierIni ailleurs(TFichierIni::DepuisTexte((dossier_ / "absent" / "RS232.INI").string(), "[A]\nb=1\n"));
  EXPECT_FALSE(ailleurs.Enregistre());
  EXPECT_FALSE(fs::exists(dossier_ / "absent"));
}

INSTANTIATE_TEST_SUITE_P(Separateurs, IniFixture, ::testing::Values(',', '.'),
                         NomSeparateur);

TFichierIni UneCle(const std::string& valeur) { return TFichierIni::DepuisTexte("", "[S]\nk=" + valeur + "\n"); }

TEST(Ini, LitEntier) {
  constexpr std::int64_t Def = -999;
  struct Ligne {
    const char* nom;
    std::string valeur;
    std::int64_t attendu;
  };
  const std::vector<Ligne> lignes = {
      {"decimal", "12", 12},
      {"negatif", "-7", -7},
      {"signe_plus", "+5", 5},
      {"dollar", "$ff", 255},
      {"zero_x", "0x1A", 26},
      {"zero_x_majuscule", "0X1a", 26},
      {"blancs_autour", "  42 ", 42},
      {"hexa_negatif", "-$10", -16},
      {"zeros_de_tete", "007", 7},
      {"plus_grand", "9223372036854775807", std::numeric_limits<std::int64_t>::max()},
      {"plus_petit", "-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
      {"hexa_plus_grand", "$7FFFFFFFFFFFFFFF", std::numeric_limits<std::int64_t>::max()},
      {"depassement", "9223372036854775808", Def},
      {"hexa_depassement", "0x8000000000000000", Def},
      {"suivi_de_lettres", "12abc", Def},
      {"vide", "", Def},
      {"dollar_seul", "$", Def},
      {"zero_x_seul", "0x", Def},
      {"reel", "1.5", Def},
      {"hexa_non_hexa", "$1G", Def},
      {"blanc_interne", "1 2", Def},
      {"signe_seul", "-", Def},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_EQ(l.attendu, UneCle(l.valeur).LitEntier("S", "k", Def));
  }
  EXPECT_EQ(Def, UneCle("1").LitEntier("S", "absente", Def));
  EXPECT_EQ(Def, UneCle("1").LitEntier("Absente", "k", Def));
}

TEST(Ini, LitBooleen) {
  struct Ligne {
    const char* nom;
    std::string valeur;
    bool siDefautFaux, siDefautVrai;
  };
  const std::vector<Ligne> lignes = {
      {"un", "1", true, true},     {"zero", "0", false, false}, {"deux", "2", true, true},
      {"hexa_nul", "$0", false, false}, {"texte", "oui", false, true}, {"vide", "", false, true},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_EQ(l.siDefautFaux, UneCle(l.valeur).LitBooleen("S", "k", false));
    EXPECT_EQ(l.siDefautVrai, UneCle(l.valeur).LitBooleen("S", "k", true));
  }
}

class IniReels : public ::testing::TestWithParam<char> {
protected:
  TRegionalInstalle regional_{GetParam()};
};

TEST_P(IniReels, LitReel) {
  struct Ligne {
    const char* nom;
    std::string valeur;
    double attendu;
  };
  const std::vector<Ligne> lignes = {
      {"virgule", "0,5", 0.5},        {"point", "0.5", 0.5},       {"exposant", "1E-3", 0.001},
      {"vide_defaut", "", 7},         {"texte_defaut", "abc", 7},  {"milliers_defaut", "1.234,5", 7},
      {"nan_ecrit_defaut", "NAN", 7}, {"negatif", "-14,25", -14.25},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_EQ(l.attendu, UneCle(l.valeur).LitReel("S", "k", 7));
  }
}

TEST_P(IniReels, EcritReelQuinzeChiffresEtRelecture) {
  const char sep = GetParam();
  struct Ligne {
    const char* nom;
    double valeur;
    std::string texte;  // with '.', replaced by the test's separator
    double relu;        // 15 digits do not hold every double
  };
  const std::vector<Ligne> lignes = {
      {"dixieme", 0.1, "0.1", 0.1},
      {"entier", 14, "14", 14},
      {"petit", 1e-7, "1E-07", 1e-7},
      {"tiers", -1.0 / 3, "-0.333333333333333", -0.333333333333333},
      {"grand", 1.5e20, "1.5E20", 1.5e20},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    TFichierIni ini = TFichierIni::DepuisTexte("", "");
    ini.EcritReel("S", "r", l.valeur);
    std::string attendu = l.texte;
    if (const auto p = attendu.find('.'); p != std::string::npos) attendu[p] = sep;
    EXPECT_EQ(attendu, ini.LitTexte("S", "r", ""));
    EXPECT_EQ(l.relu, ini.LitReel("S", "r", 0));
  }
  TFichierIni ini = TFichierIni::DepuisTexte("", "");
  ini.EcritReel("S", "r", 0.1);
  EXPECT_EQ(0.1, ini.LitReel("S", "r", 0));  // exactly the same double
}

INSTANTIATE_TEST_SUITE_P(Separateurs, IniReels, ::testing::Values(',', '.'),
                         NomSeparateur);

TEST(Ini, NouvellesClesEtSections) {
  TFichierIni ini = TFichierIni::DepuisTexte("", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  ini.EcritTexte("a", "z", "3");  // at the end of A, above the blank line
  ini.EcritTexte("C", "w", "4");  // a new section at the end, set apart
  ini.EcritTexte("B", "v", "5");  // B is no longer last: still at its own end
  EXPECT_EQ("[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\nv=5\r\n\r\n[C]\r\nw=4\r\n", ini.Texte());

  TFichierIni vide = TFichierIni::DepuisTexte("", "");
  EXPECT_EQ("", vide.Texte());
  vide.EcritEntier("Index", "Nombre", 0);
  vide.EcritBooleen("Index", "Trie", true);
  EXPECT_EQ("[Index]\r\nNombre=0\r\nTrie=1\r\n", vide.Texte());
}

TEST(Ini, ValeurALaSuiteDuSigneEgal) {
  const TFichierIni ini = TFichierIni::DepuisTexte(
      "", "[ Espaces ]\nDemande=a=b\n\tTab\t=\tx y\t\nsans signe egal\n=orpheline\n;cle=commentaire\n");
  EXPECT_TRUE(ini.SectionExiste("Espaces"));
  EXPECT_EQ("a=b", ini.LitTexte("Espaces", "Demande", ""));
  EXPECT_EQ("x y", ini.LitTexte("Espaces", "tab", ""));
  EXPECT_EQ((std::vector<std::string>{"Demande", "Tab"}), ini.Cles("Espaces"));
  EXPECT_FALSE(ini.CleExiste("Espaces", ";cle"));
  EXPECT_FALSE(ini.CleExiste("Espaces", "sans signe egal"));
  // Lines that are no entries are kept as they stand.
  EXPECT_EQ("[ Espaces ]\r\nDemande=a=b\r\n\tTab\t=\tx y\t\r\nsans signe egal\r\n=orpheline\r\n;cle=commentaire\r\n",
            ini.Texte());
}

TEST(Ini, RetourALaLigneDansUneValeurNeFabriquePasDeCle) {
  TFichierIni ini = TFichierIni::DepuisTexte("", "[S]\nk=1\n");
  ini.EcritTexte("S", "k", "a\r\n[Autre]\r\nx=1");
  ini.EcritTexte("S\n[Pirate]", "n\nj=2", "v");
  const TFichierIni relu = TFichierIni::DepuisTexte("", ini.Texte());
  EXPECT_EQ((std::vector<std::string>{"S", "S [Pirate]"}), relu.Sections());
  EXPECT_EQ((std::vector<std::string>{"k"}), relu.Cles("S"));
  EXPECT_EQ("a  [Autre]  x=1", relu.LitTexte("S", "k", ""));
}

TEST(Ini, DoublonsLePremierGagne) {
  TFichierIni ini = TFichierIni::DepuisTexte("", "[A]\nk=1\nK=9\n[a]\nk=2\nj=3\n");
  EXPECT_EQ(1, ini.LitEntier("A", "k", 0));
  EXPECT_EQ((std::vector<std::string>{"A"}), ini.Sections());
  EXPECT_EQ((std::vector<std::string>{"k"}), ini.Cles("A"));
  ini.EcritEntier("a", "K", 5);
  EXPECT_EQ("[A]\r\nk=5\r\nK=9\r\n[a]\r\nk=2\r\nj=3\r\n", ini.Texte());
  ini.EffaceCle("A", "k");  // every copy in the section, so none is read instead
  EXPECT_FALSE(ini.CleExiste("A", "k"));
  ini.EffaceSection("A");  // every copy of the section
  EXPECT_FALSE(ini.SectionExiste("A"));
  EXPECT_EQ("", ini.Texte());
}

TEST(Ini, EffacementsGardentLeReste) {
  TFichierIni ini = TFichierIni::DepuisTexte("", "; tete\n[A]\nx=1\ny=2\n[B]\nz=3\n");
  ini.EffaceCle("a", "X");
  ini.EffaceSection("b");
  ini.EffaceCle("Absente", "x");
  ini.EffaceSection("Absente");
  EXPECT_EQ("; tete\r\n[A]\r\ny=2\r\n", ini.Texte());
}

TEST(Ini, FichierAbsentPuisCree) {
  const auto dossier = DossierDuTest();
  const auto chemin = (dossier / "nouveau.rs2").string();
  TFichierIni ini(chemin);
  EXPECT_FALSE(ini.Lisible());
  EXPECT_TRUE(ini.Sections().empty());
  EXPECT_EQ(chemin, ini.Chemin());
  ini.EcritTexte("Général", "Unité", "Ω·m");  // Ω and · : only · exists in 1252
  ASSERT_TRUE(ini.Enregistre());
  EXPECT_EQ("[G\xE9n\xE9ral]\r\nUnit\xE9=?\xB7m\r\n", LitFichier(chemin));
  const TFichierIni relu(chemin);
  EXPECT_TRUE(relu.Lisible());
  EXPECT_EQ("?·m", relu.LitTexte("général", "UNITé", ""));
}

// Model names are typed by the user and may hold brackets of their own.
TEST(Ini, CrochetsDansUnNomDeSection) {
  TFichierIni ini = TFichierIni::DepuisTexte("", "");
  ini.EcritEntier("pH [labo 2]", "Com", 4);
  const TFichierIni relu = TFichierIni::DepuisTexte("", ini.Texte());
  EXPECT_EQ((std::vector<std::string>{"pH [labo 2]"}), relu.Sections());
  EXPECT_EQ(4, relu.LitEntier("pH [labo 2]", "Com", 0));
}

TEST(Ini, DerniereLigneSansFinEtRetourIsole) {
  const TFichierIni ini = TFichierIni::DepuisTexte("", "[A]\r\nx=1\ry\r\r\nz=2");
  EXPECT_EQ("2", ini.LitTexte("A", "z", ""));
  EXPECT_EQ("[A]\r\nx=1\ry\r\r\nz=2\r\n", ini.Texte());
}

}  // namespace
