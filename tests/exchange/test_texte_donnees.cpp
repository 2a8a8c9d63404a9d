// The data text of the table: its lines, a missing value, the page comment, the
// constants with their names made distinct from the columns, and the markers.
#include <cmath>

#include "banc_echange.h"
#include "exchange/texte_donnees.h"

namespace {
class TexteDonnees_ : public TBancEchange {
protected:
  std::string Texte() { return TexteDonnees(*moteur, CheminProgramme); }
  static std::vector<std::string> Lignes(const std::string& texte) {
    std::vector<std::string> lignes;
    std::size_t debut = 0;
    for (std::size_t fin; (fin = texte.find("\r\n", debut)) != std::string::npos; debut = fin + 2)
      lignes.push_back(texte.substr(debut, fin - debut));
    EXPECT_EQ(debut, texte.size()) << "the last line ends with CR LF";
    return lignes;
  }
  void Constantes(int nbre, bool c1, bool c2, const std::string& nom1, const std::string& nom2) {
    TPageInfo& page = moteur->Page;
    page.NbreConst = nbre;
    page.Const1 = c1;
    page.Const2 = c2;
    page.constante1 = {nom1, "mol/L", "1.5E-2"};
    page.constante2 = {nom2, "mL", "4.7E+3"};
  }
};
}  // namespace

TEST_F(TexteDonnees_, DeuxVoiesTroisPointsHuitLignes) {
  Tableau();
  EXPECT_EQ(Texte(),
            "/opt/pelitrax/Pelitrax.exe\r\n"
            "\r\n"
            "t\tpH\tT\r\n"
            "s\t\t°C\r\n"
            "temps\tpH\tTempérature\r\n"
            "0\t7.02\t25\r\n"
            "1\t7.1\t25.5\r\n"
            "2\t7.25\t26\r\n");
}

TEST_F(TexteDonnees_, ValeurManquanteEstUnBlancEntreDeuxTabulations) {
  Tableau();
  moteur->Graphe->mondeY[0].valeur[1] = std::nan("");
  const auto lignes = Lignes(Texte());
  ASSERT_EQ(lignes.size(), 8u);
  EXPECT_EQ(lignes[6], "1\t \t25.5");
}

TEST_F(TexteDonnees_, CommentaireDePlusieursLignesEtDecimalesAuPoint) {
  // The user's separator is ',' on this platform: the data text still uses '.'.
  Tableau();
  moteur->Page.Memo = {"Dosage de l'acide", "", "groupe 3"};
  moteur->Graphe->mondeX.valeur[2] = 12345678.9;
  const auto lignes = Lignes(Texte());
  ASSERT_EQ(lignes.size(), 10u);
  EXPECT_EQ(lignes[1], "Dosage de l'acide");
  EXPECT_EQ(lignes[2], "");
  EXPECT_EQ(lignes[3], "groupe 3");
  EXPECT_EQ(lignes[4], "t\tpH\tT");
  EXPECT_EQ(lignes[9].find(','), std::string::npos) << lignes[9];
  EXPECT_NE(lignes[8].find("7.1"), std::string::npos) << lignes[8];
}

TEST_F(TexteDonnees_, TableVideGardeSesEntetes) {
  Tableau();
  moteur->Graphe->NbrePoints = 0;
  EXPECT_EQ(Lignes(Texte()).size(), 5u);
}

TEST_F(TexteDonnees_, ConstantesNomsDistinctsDesColonnes) {
  struct Cas {
    const char* nom;
    int nbre;
    bool c1, c2;
    const char* nom1;
    const char* nom2;
    const char* noms;     // expected line of names
    const char* unites;   // expected line of units
    const char* valeurs;  // expected line of values
    const char* apres1;   // names left in the page afterwards
    const char* apres2;
  };
  const Cas cas[] = {
      {"comme l'abscisse puis comme la voie 1", 2, true, true, "t", "T", "t0\tT1", "mol/L\tmL", "1.5E-2\t4.7E+3", "t0", "T1"},
      {"comme la voie 0", 1, true, false, "pH", "T", "pH0", "mol/L", "1.5E-2", "pH0", "T"},
      {"seule la seconde est valide", 1, false, true, "t", "c", "c", "mL", "4.7E+3", "t", "c"},
      {"la premiere invalide sur deux", 2, false, true, "t", "V", "\tV", "\tmL", "\t4.7E+3", "t", "V"},
      {"sans conflit", 2, true, true, "Ka", "Cb", "Ka\tCb", "mol/L\tmL", "1.5E-2\t4.7E+3", "Ka", "Cb"},
      {"la casse compte", 1, true, false, "ph", "", "ph", "mol/L", "1.5E-2", "ph", ""},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    Tableau();
    Constantes(c.nbre, c.c1, c.c2, c.nom1, c.nom2);
    const auto lignes = Lignes(Texte());
    ASSERT_EQ(lignes.size(), 12u);
    EXPECT_EQ(lignes[8], "");
    EXPECT_EQ(lignes[9], c.noms);
    EXPECT_EQ(lignes[10], c.unites);
    EXPECT_EQ(lignes[11], c.valeurs);
    // Written back into the page, where the page dialog shows them.
    EXPECT_EQ(moteur->Page.constante1.nom, c.apres1);
    EXPECT_EQ(moteur->Page.constante2.nom, c.apres2);
  }
}

TEST_F(TexteDonnees_, NomDistinctSuitLesVoiesDansLOrdre) {
  // "t" equals the abscissa: "t0"; "t0" is then channel 0's symbol: "t00".
  Tableau();
  ph.SymboleGrandeur = "t0";
  EXPECT_EQ(NomConstanteDistinct(*moteur, "t"), "t00");
  EXPECT_EQ(NomConstanteDistinct(*moteur, "T"), "T1");
  EXPECT_EQ(NomConstanteDistinct(*moteur, "x"), "x");
}

TEST_F(TexteDonnees_, BlocDesReperes) {
  Tableau();
  moteur->Graphe->AjouteRepere("ajout de soude", 12.5);
  moteur->Graphe->AjouteRepere("", 30);
  const auto lignes = Lignes(Texte());
  ASSERT_EQ(lignes.size(), 11u);
  EXPECT_EQ(lignes[8], "&2 REPERE");
  EXPECT_EQ(lignes[9], "12.5\tajout de soude");
  EXPECT_EQ(lignes[10], "30\t");
}

TEST_F(TexteDonnees_, ConstantesPuisReperes) {
  Tableau();
  Constantes(1, true, false, "V0", "");
  moteur->Graphe->AjouteRepere("r", 1);
  const auto lignes = Lignes(Texte());
  ASSERT_EQ(lignes.size(), 14u);
  EXPECT_EQ(lignes[9], "V0");
  EXPECT_EQ(lignes[12], "&1 REPERE");
  EXPECT_EQ(lignes[13], "1\tr");
}
