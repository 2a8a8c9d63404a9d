// The data files: the .qw3 of a known table against a file written by hand, the
// forms chosen by the extension, the number formats under both separators, the text
// and CSV tables, a failed save that keeps the previous file, and the running text
// copy.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/fichiers_donnees.h"
#include "core/page_dialogue.h"
#include "moteur_essai.h"
#include "util/faux_util.h"

namespace fs = std::filesystem;

namespace {

const std::string Executable = "/opt/pelitrax/bin/pelitrax";
// 12:00:00 at virtual time 0, so the page line reads 14:03:27.
constexpr std::int64_t Vers140327 = (2 * 3600 + 3 * 60 + 27) * 1000LL;

// The table of the fixture: two channels, four points, two constants (Greek names
// and units), a two-line comment, two markers, one of them holding a TAB.
void TableConnue(TMoteurEssai& e) {
  e.Voies({PH, THERMO});
  e.Point(0, 0, {4.02, 21.5});
  e.Point(1, 2.5, {4.05, 21.52});
  e.Point(2, 1000000, {7, -3.25});
  e.Point(3, 12345678, {12.3456, 0.00001234});
  TPageDlg dlg(e.M().Page);
  dlg.SetEditNom(1, "τ");
  dlg.SetEditUnite(1, "μs");  // Greek mu
  dlg.SetEditValeur(1, "4.7k");
  dlg.SetEditNom(2, "Ωα");
  dlg.SetEditUnite(2, "µΩ");  // micro sign
  dlg.SetEditValeur(2, "2,5");
  dlg.SetMemo("Dosage de l'acide éthanoïque\nTempérature 21 °C\n");
  dlg.OKBtnClick();
  e.M().Graphe->AjouteRepere("ajout\tbase", 1.5);
  e.M().Graphe->AjouteRepere("équivalence", 12.25);
  e.p.boucle.Avance(Vers140327);
}

TEST(FichierQW3, TableConnueIdentiqueAuFichierEcritALaMain) {
  const fs::path dossier = DossierDuTest();
  TMoteurEssai e(dossier);
  TableConnue(e);
  const fs::path cible = dossier / "table.qw3";
  ASSERT_TRUE(EcritFichierDonnees(e.M(), cible.string(), Executable));
  const std::string attendu = LitOctets(fs::path(PELITRAX_FIXTURES_DIR) / "donnees" / "table_connue.qw3");
  ASSERT_FALSE(attendu.empty());
  EXPECT_EQ(LitOctets(cible), attendu);
  EXPECT_TRUE(e.M().FormatQW3);
  EXPECT_EQ(e.M().NomFichierData, cible.string());
  EXPECT_TRUE(e.M().dataSaved);
  EXPECT_TRUE(e.M().PagePermise);
}

TEST(FichierQW3, SansConstanteNiCommentaireNiRepereFinitParLeDernierPoint) {
  TMoteurEssai e(DossierDuTest());
  e.Voies({PH});
  e.Point(0, 0, {4.02});
  e.Point(1, 1, {4.05});
  e.p.boucle.Avance(Vers140327);
  const std::string texte = TexteFichierDonnees(e.M(), TFormeFichier::QW3, "C:\\Programmes\\acquisition.exe",
                                                "08/12/2025 14:03:27");
  EXPECT_EQ(texte,
            "NORVALIS TRACORIA WINDOWS 1.0\r\n£2 NOM VAR\r\nt\r\npH\r\n£2 UNITE VAR\r\ns\r\n\r\n£1 ACQUISITION\r\n"
            "C:\\Programmes\\acquisition.exe\r\n£1 PAGE COMMENT\r\nZevoridod08/12/2025 14:03:27\r\n&2 VALEUR VAR\r\n"
            "0 4,02\r\n1 4,05\r\n");
}

struct TCasSeparateur {
  const char* nom;
  char separateur;
  std::string ligneQW3, ligneTexte;
};

void PrintTo(const TCasSeparateur& c, std::ostream* os) { *os << c.nom; }

class NombresSelonSeparateur : public ::testing::TestWithParam<TCasSeparateur> {};

TEST_P(NombresSelonSeparateur, GrandNombreEnNotationScientifique) {
  const auto& c = GetParam();
  TMoteurEssai e(DossierDuTest(), c.separateur);
  e.Voies({THERMO});
  e.Point(0, 1000000, {21.5});
  e.Point(1, 12345678, {-0.5});
  const std::string qw3 = EcritPage(e.M(), "");
  EXPECT_NE(qw3.find("\r\n1000000 21" + std::string(1, c.separateur) + "5\r\n"), std::string::npos) << qw3;
  EXPECT_NE(qw3.find("\r\n" + c.ligneQW3 + "\r\n"), std::string::npos) << qw3;
  const std::string texte = EcritValeursTableau(e.M(), false);
  EXPECT_EQ(texte, "1000000\t21.5\r\n" + c.ligneTexte + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Cas, NombresSelonSeparateur,
                         ::testing::Values(TCasSeparateur{"Virgule", ',', "1,234568E07 -0,5", "1.234568E07\t-0.5"},
                                           TCasSeparateur{"Point", '.', "1.234568E07 -0.5", "1.234568E07\t-0.5"}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST(TableauxTexte, TexteEtCsvAvecReperesEtConstantes) {
  TMoteurEssai e(DossierDuTest());
  TableConnue(e);
  const std::string entete = "t\tpH\tT\ns\t\t°C\n";
  const std::string valeurs =
      "0\t4.02\t21.5\n2.5\t4.05\t21.52\n1000000\t7\t-3.25\n1.234568E07\t12.3456\t1.234E-05\n"
      "\nREPERE\n1.5\tajout\tbase\n12.25\téquivalence\n"
      "&2 VALEUR CONST\n4.7E+3\n2,5\n";
  EXPECT_EQ(TexteFichierDonnees(e.M(), TFormeFichier::CSV, Executable, ""), entete + valeurs);
  auto crlf = [](std::string t) {
    std::string r;
    for (char c : t) r += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return r;
  };
  EXPECT_EQ(TexteFichierDonnees(e.M(), TFormeFichier::Texte, Executable, ""), crlf(entete + valeurs));
}

TEST(TableauxTexte, SansRepereNiConstanteFinitParLaDerniereLigneEtAbscisseSansValeurEnBlanc) {
  TMoteurEssai e(DossierDuTest());
  e.Voies({PH});
  e.Point(0, 0, {4});
  e.Point(1, PasDeValeur, {5});
  EXPECT_EQ(TexteFichierDonnees(e.M(), TFormeFichier::Texte, Executable, ""), "t\tpH\r\ns\t\r\n0\t4\r\n \t5\r\n");
}

TEST(TableauxTexte, UnSautDeLigneDansUnChampNeDecalePasLesLignes) {
  TMoteurEssai e(DossierDuTest());
  e.Voies({PH}, maClavier);
  e.M().Graphe->mondeX.Nom = "V\nversé";
  e.Point(0, 1, {4});
  e.M().Graphe->AjouteRepere("a\r\nb", 2);
  EXPECT_EQ(TexteFichierDonnees(e.M(), TFormeFichier::CSV, Executable, ""),
            "V versé\tpH\n\t\n1\t4\n\nREPERE\n2\ta  b\n");
  const std::string qw3 = TexteFichierDonnees(e.M(), TFormeFichier::QW3, Executable, "");
  EXPECT_NE(qw3.find("£2 NOM VAR\r\nV versé\r\npH\r\n"), std::string::npos);
}

struct TCasExtension {
  const char* nom;
  std::string fichier;
  TFormeFichier forme;
};

void PrintTo(const TCasExtension& c, std::ostream* os) { *os << c.nom; }

class FormeParExtension : public ::testing::TestWithParam<TCasExtension> {};

TEST_P(FormeParExtension, LaCasseNeComptePas) {
  const auto& c = GetParam();
  EXPECT_EQ(FormeDuNom(c.fichier), c.forme);
  // Through the menu item: the form written is the one the name gives.
  const fs::path dossier = DossierDuTest();
  TMoteurEssai e(dossier);
  e.Voies({PH});
  for (int k = 0; k < 3; ++k) e.Point(k, k, {4.0 + k});
  const fs::path cible = dossier / c.fichier;
  fs::create_directories(cible.parent_path());
  e.p.dialogue.AttendFichier("Sauvegarde données", cible.string());
  ASSERT_TRUE(SaveItemClick(e.M(), Executable));
  const std::string octets = LitOctets(cible);
  switch (c.forme) {
    case TFormeFichier::QW3: EXPECT_EQ(octets.rfind("NORVALIS TRACORIA WINDOWS 1.0\r\n", 0), 0u); break;
    case TFormeFichier::CSV: EXPECT_EQ(octets, "t\tpH\ns\t\n0\t4\n1\t5\n2\t6\n"); break;
    case TFormeFichier::Texte: EXPECT_EQ(octets, "t\tpH\r\ns\t\r\n0\t4\r\n1\t5\r\n2\t6\r\n"); break;
  }
  EXPECT_EQ(e.M().FormatQW3, c.forme == TFormeFichier::QW3);
  if (c.forme != TFormeFichier::QW3) {
    EXPECT_EQ(e.M().formatCSV, c.forme == TFormeFichier::CSV);
  }
  ASSERT_FALSE(e.p.dialogue.Journal().empty());
  EXPECT_EQ(e.p.dialogue.Journal().back().texte,
            "Sauvegarde données [Tracoria (*.qw3)|*.qw3|Tableur ASCII (*.txt)|*.txt|Tableur CSV (*.csv)|*.csv] QW3");
}

INSTANTIATE_TEST_SUITE_P(
    Cas, FormeParExtension,
    ::testing::Values(TCasExtension{"Qw3", "essai.Qw3", TFormeFichier::QW3},
                      TCasExtension{"QW3Majuscules", "ESSAI.QW3", TFormeFichier::QW3},
                      TCasExtension{"CsvMinuscules", "essai.csv", TFormeFichier::CSV},
                      TCasExtension{"CSVMajuscules", "essai.CSV", TFormeFichier::CSV},
                      TCasExtension{"Txt", "essai.txt", TFormeFichier::Texte},
                      TCasExtension{"DatDonneLeTexte", "essai.dat", TFormeFichier::Texte},
                      TCasExtension{"SansExtension", "essai", TFormeFichier::Texte},
                      TCasExtension{"PointDansLeDossierSeulement", "mesures.qw3/essai", TFormeFichier::Texte}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST(SauvegardeDonnees, AnnulerNeFaitRien) {
  TMoteurEssai e(DossierDuTest());
  e.Voies({PH});
  e.Point(0, 0, {4});
  e.M().dataSaved = false;
  e.p.dialogue.AttendFichier("Sauvegarde données", "", false);
  EXPECT_FALSE(SaveItemClick(e.M(), Executable));
  EXPECT_FALSE(e.M().dataSaved);
  EXPECT_FALSE(e.M().PagePermise);
  EXPECT_TRUE(e.M().NomFichierData.empty());
}

// A good file is there; the new one cannot be written: the good one stays whole.
TEST(SauvegardeDonnees, DisquePleinLaissePrecedentIntact) {
  const fs::path dossier = DossierDuTest();
  TMoteurEssai e(dossier);
  e.Voies({PH});
  for (int k = 0; k < 200; ++k) e.Point(k, k, {4 + k / 100.0});
  const fs::path cible = dossier / "essai.qw3";
  const std::string bon(3000, 'x');
  ASSERT_TRUE(EcritFichierSur(cible.string(), bon));
  e.M().dataSaved = false;
  bool ecrit = true;
  {
    TLimiteTailleFichiers limite(1024);  // the new text is about 2.5 kB
    ecrit = EcritFichierDonnees(e.M(), cible.string(), Executable);
  }
  EXPECT_FALSE(ecrit);
  EXPECT_EQ(LitOctets(cible), bon);
  EXPECT_FALSE(e.M().dataSaved);
  EXPECT_FALSE(e.M().PagePermise);
  EXPECT_EQ(e.p.dialogue.Messages(), std::vector<std::string>{"Erreur d'écriture de " + cible.string()});
  // No temporary file is left beside it.
  int fichiers = 0;
  for ([[maybe_unused]] const auto& f : fs::directory_iterator(dossier)) ++fichiers;
  EXPECT_EQ(fichiers, 2);  // the file and the program folder
}

TEST(SauvegardeDonnees, DossierAbsent) {
  const fs::path dossier = DossierDuTest();
  TMoteurEssai e(dossier);
  e.Voies({PH});
  e.Point(0, 0, {4});
  const fs::path cible = dossier / "absent" / "essai.txt";
  EXPECT_FALSE(EcritFichierDonnees(e.M(), cible.string(), Executable));
  EXPECT_FALSE(fs::exists(cible));
  EXPECT_EQ(e.p.dialogue.Messages(), std::vector<std::string>{"Erreur d'écriture de " + cible.string()});
}

// ---- the running text copy

std::string CopieAttendue(int points) {
  std::string t = "Appareils RS232 3.20 10/01/2024\r\nnum\tpH\r\n\t\r\n";
  for (int k = 0; k < points; ++k) t += std::to_string(k) + "\t" + std::to_string(4 + k) + "\r\n";
  return t;
}

// One recording step, as the polling takes it, of the current value (the space-bar
// mode accepts every point).
void Enregistre(TMoteurEssai& e, int k) {
  e.App(PH)->ValeurCourante = 4 + k;
  e.M().AjoutePoint();
}

TEST(CopieTexte, EcriteAN3_6_9EtContient9PointsSur10) {
  TMoteurEssai e(DossierDuTest());
  e.Voies({PH}, maIncrement);
  const fs::path copie = e.base.NomFichierTexte();
  for (int k = 0; k < 10; ++k) {
    Enregistre(e, k);
    const int n = k + 1;
    if (n < 3) EXPECT_FALSE(fs::exists(copie)) << n;
    else EXPECT_EQ(LitOctets(copie), CopieAttendue(n / 3 * 3)) << n;
  }
  EXPECT_EQ(e.M().Graphe->NbrePoints, 10);
  EXPECT_EQ(e.M().NbrePointsSauves, 9);
  EXPECT_TRUE(e.p.dialogue.Messages().empty());
}

TEST(CopieTexte, EchecSignaleUneFoisPuisRepriseQuandLeDossierRevient) {
  TMoteurEssai e(DossierDuTest(), ',', /*sansDossierProgramme=*/true);
  e.Voies({PH}, maIncrement);
  for (int k = 0; k < 9; ++k) Enregistre(e, k);
  EXPECT_EQ(e.p.dialogue.Messages(), std::vector<std::string>{"Erreur d'écriture de " + e.base.NomFichierTexte()});
  EXPECT_EQ(e.M().NbrePointsSauves, 0);
  fs::create_directories(e.dossierProgramme);
  Enregistre(e, 9);
  EXPECT_EQ(LitOctets(e.base.NomFichierTexte()), CopieAttendue(10));
  EXPECT_EQ(e.p.dialogue.Messages().size(), 1u);
}

TEST(CopieTexte, UneNouvelleAcquisitionRecommenceLaCopie) {
  TMoteurEssai e(DossierDuTest());
  e.Voies({PH}, maIncrement);
  for (int k = 0; k < 4; ++k) Enregistre(e, k);
  e.M().InitAttente();
  for (int k = 0; k < 3; ++k) Enregistre(e, k);
  EXPECT_EQ(LitOctets(e.base.NomFichierTexte()), CopieAttendue(3));
}

}  // namespace
