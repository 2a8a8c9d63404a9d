// Instrument definition: defaults, reading and writing its section of a device file,
// copying, the unit prefix and the texts that name its value.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>

#include "aides_instruments.h"
#include "instruments/appareil.h"
#include "util/ini.h"

namespace {

TEST(TappareilCreation, ChaqueChampASaValeurParDefaut) {
  const Tappareil a;
  EXPECT_EQ(a.SymboleGrandeur, "V");
  EXPECT_EQ(a.NomAppareil, "");
  EXPECT_EQ(a.UniteGrandeur, "V");
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(a.AidePilotage[k], "");
  EXPECT_EQ(a.ValMini, 0);
  EXPECT_EQ(a.ValMaxi, 1);
  EXPECT_EQ(a.Precision, 5);
  EXPECT_EQ(a.nomGrandeur, "Tension");
  EXPECT_FALSE(a.LireCoeffUnite);
  EXPECT_FALSE(a.LireNomUnite);
  EXPECT_EQ(a.GroupBoxApp, nullptr);
  EXPECT_EQ(a.StableApp, nullptr);
  EXPECT_EQ(a.LabelApp, nullptr);
  EXPECT_EQ(a.ComNumber, 1);
  EXPECT_EQ(a.Baud, 9600);
  EXPECT_EQ(a.Parite, pNone);
  EXPECT_EQ(a.DataBits, 8);
  EXPECT_EQ(a.StopBits, 1);
  EXPECT_FALSE(a.RTSCTS);
  EXPECT_FALSE(a.XonXoff);
  EXPECT_FALSE(a.EnvoiDirect);
  EXPECT_EQ(a.Demande, "");
  EXPECT_EQ(a.DemandeBis, "");
  EXPECT_EQ(a.ChaineInit, "");
  EXPECT_EQ(a.ChaineFin, "");
  EXPECT_FALSE(a.FormatFixe);
  EXPECT_FALSE(a.InitialisationAfaire);
  EXPECT_FALSE(a.DeblocageAfaire);
  EXPECT_EQ(a.DebutNombre, 1);
  EXPECT_EQ(a.NbreCarac, 4);
  EXPECT_EQ(a.Delai, 100);
  EXPECT_EQ(a.Attente, 0);
  EXPECT_EQ(a.NumeroOrdre, 1);
  EXPECT_EQ(a.NbreLignes, 1);
  EXPECT_EQ(a.SeparateurChiffre, 0);
  EXPECT_EQ(a.ValeurCourante, 0);
  EXPECT_TRUE(std::isnan(a.oldValeurCourante));
  EXPECT_EQ(a.ChaineLue, "");
  EXPECT_EQ(a.VoieSerie, nullptr);
  EXPECT_FALSE(a.VoieSerieOK);
  EXPECT_EQ(a.Derive, -1);
  for (double v : a.valeurRouleau) ASSERT_EQ(v, 0);
  for (int i = 0; i <= 6; ++i) EXPECT_EQ(a.indiceRouleau[i], i);
  EXPECT_EQ(a.nbreRouleau, 0);
  EXPECT_FALSE(a.FiltrageDepassement);
  EXPECT_FALSE(a.depassement);
  EXPECT_EQ(a.NumeroVerif, 0);
  EXPECT_EQ(a.TexteVerif, "");
  EXPECT_TRUE(a.Unite.Correct);
  EXPECT_EQ(a.Unite.FnomUnite, "");
  EXPECT_FALSE(a.lectureSTAB);
  EXPECT_EQ(a.reponseStab, "");
  EXPECT_FALSE(a.isOrigalys);
  EXPECT_EQ(a.identOrigalys, 0);
  EXPECT_EQ(a.pathOrigalys, "");
  EXPECT_EQ(a.appareilOrigalys, nullptr);
  EXPECT_FALSE(a.isSysam);
  EXPECT_EQ(a.calibreSysam, c10V);
  EXPECT_EQ(a.indiceVoieSysam, 0);
  EXPECT_EQ(a.aSysam, 0);
  EXPECT_EQ(a.bSysam, 1);
  EXPECT_FALSE(a.differentielSysam);
  EXPECT_EQ(a.NbreCalibreApp, 1);
  EXPECT_EQ(a.NumeroCalibreApp, 1);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(a.coeffCalibreApp[k], 1);
}

class LectureSection : public AvecRegional {};

TEST_F(LectureSection, UneSectionVidePrendLesDefautsDesCles) {
  Tappareil a;
  a.nomGrandeur = "pH";
  a.UniteGrandeur = "";
  a.SymboleGrandeur = "pH";
  a.FiltrageDepassement = false;
  a.InitialisationAfaire = true;
  a.LitIni("Absent", TFichierIni::DepuisTexte("x.ini", ""));
  EXPECT_EQ(a.NomAppareil, "Absent");
  EXPECT_EQ(a.Precision, 6);
  EXPECT_EQ(a.DebutNombre, 0);
  EXPECT_EQ(a.NbreCarac, 1);  // variable format
  EXPECT_TRUE(a.FiltrageDepassement);
  EXPECT_DOUBLE_EQ(a.Derive, 1.0 / 140);
  // Texts keep the field's current value; the two flags are not touched.
  EXPECT_EQ(a.nomGrandeur, "pH");
  EXPECT_EQ(a.UniteGrandeur, "");
  EXPECT_EQ(a.SymboleGrandeur, "pH");
  EXPECT_TRUE(a.InitialisationAfaire);
}

struct CasLecture {
  const char* nom;
  const char* cles;  // lines of the section
  std::function<void(const Tappareil&)> verifie;
};

void PrintTo(const CasLecture& c, std::ostream* os) { *os << c.nom; }

class LectureCles : public AvecRegional, public ::testing::WithParamInterface<CasLecture> {};

TEST_P(LectureCles, ValeursLuesEtRamenees) {
  const auto a = DefinitionDepuis(std::string("[Essai]\r\n") + GetParam().cles, "essai");
  GetParam().verifie(*a);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, LectureCles,
    ::testing::Values(
        CasLecture{"format_fixe_debut_0_non_continu", "Fixe=1\nDebut=0\nNumero=3\nNombreLigne=4\nNombreCarac=12\n",
                   [](const Tappareil& a) {
                     EXPECT_EQ(a.DebutNombre, 1);
                     EXPECT_EQ(a.NbreLignes, 1);
                     EXPECT_EQ(a.NumeroOrdre, 1);
                     EXPECT_EQ(a.NbreCarac, 12);
                   }},
        CasLecture{"format_fixe_continu_garde_son_debut", "Fixe=1\nContinu=1\nDebut=-3\n",
                   [](const Tappareil& a) { EXPECT_EQ(a.DebutNombre, -3); }},
        CasLecture{"format_variable_un_caractere", "NombreCarac=12\nNumero=2\nNombreLigne=3\n",
                   [](const Tappareil& a) {
                     EXPECT_EQ(a.NbreCarac, 1);
                     EXPECT_EQ(a.NumeroOrdre, 2);
                     EXPECT_EQ(a.NbreLignes, 3);
                   }},
        CasLecture{"numero_0", "Numero=0\n",
                   [](const Tappareil& a) {
                     EXPECT_EQ(a.NumeroOrdre, 1);
                     EXPECT_EQ(a.indiceVoieSysam, 0);
                   }},
        CasLecture{"derive_absente_plage_14", "Mini=0\nMaxi=14\n",
                   [](const Tappareil& a) { EXPECT_DOUBLE_EQ(a.Derive, 0.1); }},
        CasLecture{"derive_0_comme_absente", "Mini=0\nMaxi=14\nDerive=0\n",
                   [](const Tappareil& a) { EXPECT_DOUBLE_EQ(a.Derive, 0.1); }},
        CasLecture{"derive_illisible_comme_absente", "Mini=0\nMaxi=14\nDerive=abc\n",
                   [](const Tappareil& a) { EXPECT_DOUBLE_EQ(a.Derive, 0.1); }},
        CasLecture{"derive_lue", "Mini=0\nMaxi=14\nDerive=0.02\n",
                   [](const Tappareil& a) { EXPECT_DOUBLE_EQ(a.Derive, 0.02); }},
        CasLecture{"cles_sans_egard_a_la_casse", "PRECISION=3\nséparateur=$20\nUNITé=mV\n",
                   [](const Tappareil& a) {
                     EXPECT_EQ(a.Precision, 3);
                     EXPECT_EQ(a.SeparateurChiffre, ' ');
                     EXPECT_EQ(a.UniteGrandeur, "mV");
                   }},
        CasLecture{"entiers_hexadecimaux", "Baud=0x2580\nSéparateur=0x27\n",
                   [](const Tappareil& a) {
                     EXPECT_EQ(a.Baud, 9600);
                     EXPECT_EQ(a.SeparateurChiffre, '\'');
                   }},
        CasLecture{"entier_illisible_donne_le_defaut", "Baud=vite\nCom=trois\n",
                   [](const Tappareil& a) {
                     EXPECT_EQ(a.Baud, 9600);
                     EXPECT_EQ(a.ComNumber, 1);
                   }},
        CasLecture{"textes_echappes_decodes",
                   "Demande=?D|CR|\nDemandeBis=|ESC|P\nInitialisation=|STX|R|ETX|\nDeblocage=L||\nTexteVerif=pH\n",
                   [](const Tappareil& a) {
                     EXPECT_EQ(a.Demande, "?D\r");
                     EXPECT_EQ(a.DemandeBis, "\x1bP");
                     EXPECT_EQ(a.ChaineInit, "\x02R\x03");
                     EXPECT_EQ(a.ChaineFin, "L|");
                     EXPECT_EQ(a.TexteVerif, "pH");
                   }},
        CasLecture{"lignes_d_aide", "1=Appuyer sur PRINT\n16=Fin\n",
                   [](const Tappareil& a) {
                     EXPECT_EQ(a.AidePilotage[1], "Appuyer sur PRINT");
                     EXPECT_EQ(a.AidePilotage[2], "");
                     EXPECT_EQ(a.AidePilotage[16], "Fin");
                   }}),
    NomDuCas());

// Values outside a field's range are brought to its nearest end, never wrapped into
// the field's type nor used to index past an array.
INSTANTIATE_TEST_SUITE_P(
    HorsPlage, LectureCles,
    ::testing::Values(
        CasLecture{"calibre_app_au_plus_4", "CalibreApp=9\n",
                   [](const Tappareil& a) { EXPECT_EQ(a.NbreCalibreApp, 4); }},
        CasLecture{"calibre_app_au_moins_1", "CalibreApp=0\n",
                   [](const Tappareil& a) { EXPECT_EQ(a.NbreCalibreApp, 1); }},
        // An input the box lacks stays one (the adapter reads no value from it).
        CasLecture{"entree_boitier_hors_0_a_7_gardee", "isSysam=1\nNumero=12\n",
                   [](const Tappareil& a) { EXPECT_EQ(a.indiceVoieSysam, 12); }},
        CasLecture{"entree_boitier_negative", "isSysam=1\nNumero=-1\n",
                   [](const Tappareil& a) {
                     EXPECT_EQ(a.indiceVoieSysam, 255);
                     EXPECT_EQ(a.NumeroOrdre, 1);
                   }},
        CasLecture{"parite_0_a_4", "Parity=7\n", [](const Tappareil& a) { EXPECT_EQ(a.Parite, pSpace); }},
        CasLecture{"parite_negative", "Parity=-2\n", [](const Tappareil& a) { EXPECT_EQ(a.Parite, pNone); }},
        CasLecture{"calibre_0_a_3", "Calibre=9\n", [](const Tappareil& a) { EXPECT_EQ(a.calibreSysam, c200mV); }},
        CasLecture{"lignes_sur_8_bits", "NombreLigne=300\n",
                   [](const Tappareil& a) { EXPECT_EQ(a.NbreLignes, 255); }},
        CasLecture{"rang_sur_8_bits", "Numero=300\n", [](const Tappareil& a) { EXPECT_EQ(a.NumeroOrdre, 255); }},
        CasLecture{"nombre_carac_au_moins_1", "Fixe=1\nNombreCarac=0\n",
                   [](const Tappareil& a) { EXPECT_EQ(a.NbreCarac, 1); }},
        CasLecture{"port_sur_16_bits", "Com=70000\n", [](const Tappareil& a) { EXPECT_EQ(a.ComNumber, 65535); }},
        CasLecture{"delai_sur_16_bits", "Delai=-1\n", [](const Tappareil& a) { EXPECT_EQ(a.Delai, 0); }},
        CasLecture{"separateur_sur_8_bits", "Séparateur=300\n",
                   [](const Tappareil& a) { EXPECT_EQ(static_cast<unsigned char>(a.SeparateurChiffre), 255); }},
        CasLecture{"precision_au_moins_1", "Precision=0\n", [](const Tappareil& a) { EXPECT_EQ(a.Precision, 1); }},
        CasLecture{"precision_au_plus_15", "Precision=40\n",
                   [](const Tappareil& a) { EXPECT_EQ(a.Precision, 15); }},
        CasLecture{"debut_sur_32_bits", "Debut=99999999999\n",
                   [](const Tappareil& a) { EXPECT_EQ(a.DebutNombre, 2147483647); }}),
    NomDuCas());

TEST_F(LectureSection, LeCalibreEnUsageResteDansLesCalibresLus) {
  Tappareil a;
  a.NumeroCalibreApp = 4;
  a.LitIni("Essai", TFichierIni::DepuisTexte("x.ini", "[Essai]\nCalibreApp=2\n"));
  EXPECT_EQ(a.NumeroCalibreApp, 2);
}

TEST_F(LectureSection, LesReelsSeLisentAvecLeSeparateurDuPoste) {
  regional.separateur = ',';
  const auto a = DefinitionDepuis("[Essai]\nMini=-2,5\nMaxi=14,5\nb=0,25\n", "Essai");
  EXPECT_DOUBLE_EQ(a->ValMini, -2.5);
  EXPECT_DOUBLE_EQ(a->ValMaxi, 14.5);
  EXPECT_DOUBLE_EQ(a->bSysam, 0.25);
}

struct CasPrefixe {
  const char* nom;
  bool lireCoeff;
  const char* unite;
  const char* attendue;
};

void PrintTo(const CasPrefixe& c, std::ostream* os) { *os << c.nom; }

class PrefixeUnite : public ::testing::TestWithParam<CasPrefixe> {};

TEST_P(PrefixeUnite, LaLettreDuPrefixeVientDeLaTrame) {
  Tappareil a;
  a.LireCoeffUnite = GetParam().lireCoeff;
  a.UniteGrandeur = GetParam().unite;
  a.SetCoeffUnite();
  EXPECT_EQ(a.UniteGrandeur, GetParam().attendue);
  a.SetCoeffUnite();  // reading the saved section again loses nothing more
  EXPECT_EQ(a.UniteGrandeur, GetParam().attendue);
}

INSTANTIATE_TEST_SUITE_P(
    Unites, PrefixeUnite,
    ::testing::Values(CasPrefixe{"milli", true, "mS/cm", "S/cm"}, CasPrefixe{"micro", true, "µS/cm", "S/cm"},
                      CasPrefixe{"mega", true, "MΩ", "Ω"}, CasPrefixe{"kilo", true, "kPa", "Pa"},
                      CasPrefixe{"nano", true, "nm", "m"}, CasPrefixe{"giga", true, "GHz", "Hz"},
                      CasPrefixe{"un_seul_caractere", true, "m", "m"},
                      CasPrefixe{"sans_prefixe", true, "S/cm", "S/cm"},
                      CasPrefixe{"sans_lecture_du_coefficient", false, "mS/cm", "mS/cm"},
                      // A unit that starts with a known symbol has no prefix to lose.
                      CasPrefixe{"mole_par_litre_garde_son_m", true, "mol/L", "mol/L"},
                      CasPrefixe{"metre_par_seconde_garde_son_m", true, "m/s", "m/s"},
                      CasPrefixe{"millimole_perd_un_seul_m", true, "mmol/L", "mol/L"}),
    NomDuCas());

// A definition with every stored field away from its default.
void Remplit(Tappareil& a, bool sysam) {
  a.NomAppareil = sysam ? "Boîtier EA3" : "Conductimètre CDM 210";
  a.LireCoeffUnite = true;
  a.LireNomUnite = true;
  a.Precision = 4;
  a.ValMini = -0.5;
  a.ValMaxi = 0.123456789012345;
  a.ComNumber = 7;
  a.Baud = 19200;
  a.DataBits = 7;
  a.Parite = pEven;
  a.StopBits = 2;
  a.RTSCTS = true;
  a.XonXoff = true;
  a.DebutNombre = -8;
  a.NbreCarac = 1;
  a.Delai = 350;
  a.FormatFixe = false;
  a.NumeroOrdre = sysam ? 1 : 3;
  a.NbreLignes = 2;
  a.SeparateurChiffre = '\xA0';
  a.nomGrandeur = "conductivité";
  a.UniteGrandeur = "S/cm";
  a.SymboleGrandeur = "σ";
  a.EnvoiDirect = true;
  a.lectureSTAB = true;
  a.FiltrageDepassement = false;
  a.Derive = 0.00025;
  a.Demande = "g";
  a.DemandeBis = "|\x1bP\r\n";
  a.ChaineInit = "\x02R\xB5\x03";
  a.ChaineFin = "L\r";
  a.TexteVerif = " pH";  // a blank first: its place is NumeroVerif
  a.NumeroVerif = 1;
  a.calibreSysam = c1V;
  a.indiceVoieSysam = sysam ? 5 : 3;
  a.differentielSysam = true;
  a.aSysam = -1.25;
  a.bSysam = 3.5e-3;
  a.NbreCalibreApp = 3;
  a.isSysam = sysam;
  a.coeffCalibreApp = {0, 1, 10, 100, 0.1};
  a.AidePilotage[1] = "Régler le débit à 9600 bauds";
  a.AidePilotage[9] = "Touche PRINT ; µS et °C";
}

void ExpectMemesChampsStockes(const Tappareil& a, const Tappareil& b) {
  EXPECT_EQ(a.NomAppareil, b.NomAppareil);
  EXPECT_EQ(a.LireCoeffUnite, b.LireCoeffUnite);
  EXPECT_EQ(a.LireNomUnite, b.LireNomUnite);
  EXPECT_EQ(a.Precision, b.Precision);
  EXPECT_EQ(a.ValMini, b.ValMini);
  EXPECT_EQ(a.ValMaxi, b.ValMaxi);
  EXPECT_EQ(a.ComNumber, b.ComNumber);
  EXPECT_EQ(a.Baud, b.Baud);
  EXPECT_EQ(a.DataBits, b.DataBits);
  EXPECT_EQ(a.Parite, b.Parite);
  EXPECT_EQ(a.StopBits, b.StopBits);
  EXPECT_EQ(a.RTSCTS, b.RTSCTS);
  EXPECT_EQ(a.XonXoff, b.XonXoff);
  EXPECT_EQ(a.DebutNombre, b.DebutNombre);
  EXPECT_EQ(a.NbreCarac, b.NbreCarac);
  EXPECT_EQ(a.Delai, b.Delai);
  EXPECT_EQ(a.FormatFixe, b.FormatFixe);
  EXPECT_EQ(a.NbreLignes, b.NbreLignes);
  EXPECT_EQ(a.SeparateurChiffre, b.SeparateurChiffre);
  EXPECT_EQ(a.nomGrandeur, b.nomGrandeur);
  EXPECT_EQ(a.UniteGrandeur, b.UniteGrandeur);
  EXPECT_EQ(a.SymboleGrandeur, b.SymboleGrandeur);
  EXPECT_EQ(a.EnvoiDirect, b.EnvoiDirect);
  EXPECT_EQ(a.lectureSTAB, b.lectureSTAB);
  EXPECT_EQ(a.FiltrageDepassement, b.FiltrageDepassement);
  EXPECT_EQ(a.Derive, b.Derive);
  EXPECT_EQ(a.Demande, b.Demande);
  EXPECT_EQ(a.DemandeBis, b.DemandeBis);
  EXPECT_EQ(a.ChaineInit, b.ChaineInit);
  EXPECT_EQ(a.ChaineFin, b.ChaineFin);
  EXPECT_EQ(a.TexteVerif, b.TexteVerif);
  EXPECT_EQ(a.NumeroVerif, b.NumeroVerif);
  EXPECT_EQ(a.calibreSysam, b.calibreSysam);
  EXPECT_EQ(a.differentielSysam, b.differentielSysam);
  EXPECT_EQ(a.aSysam, b.aSysam);
  EXPECT_EQ(a.bSysam, b.bSysam);
  EXPECT_EQ(a.NbreCalibreApp, b.NbreCalibreApp);
  EXPECT_EQ(a.isSysam, b.isSysam);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(a.coeffCalibreApp[k], b.coeffCalibreApp[k]) << k;
  for (int k = 1; k <= 16; ++k) EXPECT_EQ(a.AidePilotage[k], b.AidePilotage[k]) << k;
  // One key for two fields: the one the definition uses goes through.
  if (a.isSysam)
    EXPECT_EQ(a.indiceVoieSysam, b.indiceVoieSysam);
  else
    EXPECT_EQ(a.NumeroOrdre, b.NumeroOrdre);
}

class AllerRetourSection : public AvecRegional, public ::testing::WithParamInterface<bool> {};

TEST_P(AllerRetourSection, EcritIniPuisLitIniRendChaqueChamp) {
  const bool sysam = GetParam();
  for (char separateur : {'.', ','}) {
    regional.separateur = separateur;
    Tappareil original;
    Remplit(original, sysam);
    TFichierIni ini = TFichierIni::DepuisTexte("appareils.ini", "");
    original.EcritIni(ini);
    Tappareil relu;
    relu.LitIni(original.NomAppareil, TFichierIni::DepuisTexte("relu.ini", ini.Texte()));
    SCOPED_TRACE(std::string("séparateur ") + separateur);
    ExpectMemesChampsStockes(original, relu);
  }
}

TEST_P(AllerRetourSection, ParUnFichierEnWindows1252) {
  Tappareil original;
  Remplit(original, GetParam());
  original.SymboleGrandeur = "µ";  // σ has no Windows-1252 byte: the file cannot hold it
  const std::string chemin = (std::filesystem::current_path() / "aller_retour.ini").string();
  std::filesystem::remove(chemin);
  {
    TFichierIni ini(chemin);
    original.EcritIni(ini);
    ASSERT_TRUE(ini.Enregistre());
  }
  const TFichierIni relu(chemin);
  ASSERT_TRUE(relu.Lisible());
  Tappareil copie;
  copie.LitIni(original.NomAppareil, relu);
  ExpectMemesChampsStockes(original, copie);
}

INSTANTIATE_TEST_SUITE_P(Definitions, AllerRetourSection, ::testing::Values(false, true),
                         [](const auto& cas) { return cas.param ? "entree_de_boitier" : "instrument_serie"; });

TEST_F(LectureSection, EcritIniDonneLesClesDansLeurOrdre) {
  Tappareil a;
  a.NomAppareil = "pH-mètre";
  a.AidePilotage[3] = "aide";
  TFichierIni ini = TFichierIni::DepuisTexte("x.ini", "");
  a.EcritIni(ini);
  const std::vector<std::string> attendues = {
      "LireCoeffUnite", "LireNomUnite", "Nom", "Unité", "Precision", "Mini", "Maxi", "Com", "Baud", "DataBits",
      "Parity", "StopBits", "RTS", "XonXoff", "Debut", "NombreCarac", "Delai", "Fixe", "Numero", "NombreLigne",
      "Séparateur", "Continu", "FiltreDepasse", "Demande", "DemandeBis", "Initialisation", "Deblocage", "Symbole",
      "STAB", "Calibre", "a", "b", "Diff", "CalibreApp", "CoeffCalibreApp1", "CoeffCalibreApp2", "CoeffCalibreApp3",
      "CoeffCalibreApp4", "Derive", "TexteVerif", "NumVerif", "isSysam", "3"};
  EXPECT_EQ(ini.Cles("pH-mètre"), attendues);
  EXPECT_EQ(ini.LitTexte("pH-mètre", "Derive", ""), "-1");
}

TEST_F(LectureSection, EcritIniRemplaceSurPlaceEtGardeUneAideDejaEcrite) {
  TFichierIni ini = TFichierIni::DepuisTexte("x.ini", "[Essai]\nBaud=300\n1=ancienne aide\nAutre=garde\n");
  Tappareil a;
  a.NomAppareil = "Essai";
  a.Derive = std::nan("");
  a.EcritIni(ini);
  EXPECT_EQ(ini.Cles("Essai")[0], "Baud");
  EXPECT_EQ(ini.LitTexte("Essai", "Baud", ""), "9600");
  EXPECT_EQ(ini.LitTexte("Essai", "1", ""), "ancienne aide");  // an empty help line writes nothing
  EXPECT_EQ(ini.LitTexte("Essai", "Autre", ""), "garde");
  EXPECT_EQ(ini.LitTexte("Essai", "Derive", ""), "-1");  // NaN is written as -1
}

TEST_F(LectureSection, LaCleNumeroPorteLEntreeDuBoitierOuLeRang) {
  Tappareil a;
  a.NomAppareil = "Essai";
  a.NumeroOrdre = 4;
  a.indiceVoieSysam = 6;
  TFichierIni ini = TFichierIni::DepuisTexte("x.ini", "");
  a.EcritIni(ini);
  EXPECT_EQ(ini.LitEntier("Essai", "Numero", 0), 4);
  a.isSysam = true;
  a.EcritIni(ini);
  EXPECT_EQ(ini.LitEntier("Essai", "Numero", 0), 6);
}

TEST(Assign, CopieChaqueChampStockeEtGardeLEtatVivantDeLaCible) {
  Tappareil source;
  Remplit(source, false);
  source.ChaineInit = "I";
  source.ChaineFin = "";
  source.ValeurCourante = 7.5;
  source.ChaineLue = "reste";
  source.nbreRouleau = 4;
  source.identOrigalys = 600;
  Tappareil cible;
  cible.ValeurCourante = 1.5;
  cible.ChaineLue = "cible";
  cible.DeblocageAfaire = true;
  cible.isOrigalys = true;
  cible.Assign(source);
  ExpectMemesChampsStockes(source, cible);
  EXPECT_EQ(cible.indiceVoieSysam, source.indiceVoieSysam);
  EXPECT_TRUE(cible.InitialisationAfaire);
  EXPECT_FALSE(cible.DeblocageAfaire);
  EXPECT_EQ(cible.ValeurCourante, 1.5);
  EXPECT_EQ(cible.ChaineLue, "cible");
  EXPECT_EQ(cible.nbreRouleau, 0);
  EXPECT_TRUE(cible.isOrigalys);
  EXPECT_EQ(cible.identOrigalys, 0);
}

TEST(Assign, UneCopieDecodeEtJugeCommeSonOriginal) {
  // The verification text, the overflow filter and the tolerance are part of what a
  // copy must carry: without them a copy being edited accepts frames its original refuses.
  Tappareil source;
  source.TexteVerif = "pH";
  source.NumeroVerif = 2;
  source.FiltrageDepassement = true;
  source.Derive = 0.05;
  source.lectureSTAB = true;
  source.isSysam = true;
  source.ValMaxi = 14;
  Tappareil copie;
  copie.Assign(source);
  for (Tappareil* a : {&source, &copie}) {
    a->ValeurCourante = 3;
    a->ChaineLue = "7.01 mV\r";
    a->SetValeurCourante();
  }
  EXPECT_EQ(copie.ValeurCourante, source.ValeurCourante);
  EXPECT_EQ(copie.Derive, 0.05);
  EXPECT_TRUE(copie.lectureSTAB);
  EXPECT_TRUE(copie.isSysam);
  EXPECT_TRUE(copie.FiltrageDepassement);
}

class TextesDeValeur : public AvecRegional {};

struct CasNom {
  const char* nom;
  const char* symbole;
  const char* unite;
  int precision;
  bool lireCoeff;
  double valeur;
  char separateur;
  const char* attendu;
};

void PrintTo(const CasNom& c, std::ostream* os) { *os << c.nom; }

class NomValeurCourante : public AvecRegional, public ::testing::WithParamInterface<CasNom> {};

TEST_P(NomValeurCourante, SymboleValeurPrefixeEtUnite) {
  const CasNom& c = GetParam();
  regional.separateur = c.separateur;
  Tappareil a;
  a.SymboleGrandeur = c.symbole;
  a.UniteGrandeur = c.unite;
  a.Precision = c.precision;
  a.LireCoeffUnite = c.lireCoeff;
  a.ValeurCourante = c.valeur;
  EXPECT_EQ(a.NomValeurUniteCourante(), c.attendu);
}

INSTANTIATE_TEST_SUITE_P(
    Valeurs, NomValeurCourante,
    ::testing::Values(
        CasNom{"prefixe_milli", "σ", "S/cm", 4, true, 0.001234, '.', "σ=1.234 mS/cm"},
        CasNom{"prefixe_kilo", "R", "Ω", 3, true, 4700, '.', "R=4.7 kΩ"},
        CasNom{"prefixe_micro", "σ", "S/cm", 4, true, 1.413e-6, '.', "σ=1.413 µS/cm"},
        CasNom{"prefixe_nano", "I", "A", 3, true, 5e-11, '.', "I=0.05 nA"},
        CasNom{"prefixe_giga", "f", "Hz", 3, true, 2.5e9, '.', "f=2.5 GHz"},
        CasNom{"sans_prefixe_entre_1_et_1000", "σ", "S/cm", 4, true, 12.5, '.', "σ=12.5 S/cm"},
        CasNom{"sans_valeur", "σ", "S/cm", 4, true, std::nan(""), '.', "σ=?"},
        CasNom{"unite_vide_finit_par_un_blanc", "pH", "", 4, false, 7.02, '.', "pH=7.02 "},
        CasNom{"separateur_du_poste", "pH", "", 4, false, 7.02, ',', "pH=7,02 "},
        CasNom{"presque_zero_sans_prefixe", "U", "V", 3, true, 1e-13, '.', "U=1E-13 V"},
        // Beyond n..G no prefix is chosen: the value is shown as it is.
        CasNom{"sous_le_nano_sans_prefixe", "I", "A", 3, true, 1e-11, '.', "I=1E-11 A"},
        CasNom{"au_dela_du_giga_sans_prefixe", "f", "Hz", 3, true, 5e10, '.', "f=5E10 Hz"}),
    NomDuCas());

TEST_F(TextesDeValeur, FormatAppValeurUniteEtNomCourt) {
  Tappareil a;
  a.SymboleGrandeur = "T";
  a.UniteGrandeur = "°C";
  a.Precision = 3;
  EXPECT_EQ(a.FormatApp(std::nan("")), "???");
  EXPECT_EQ(a.FormatApp(25.04), "25");
  EXPECT_EQ(a.FormatApp(1.5e-7), "1.5E-07");
  EXPECT_EQ(a.ValeurUnite(21.55), "21.6 °C");
  EXPECT_EQ(a.NomValeurUnite(21.55), "T=21.6 °C");
  regional.separateur = ',';
  EXPECT_EQ(a.FormatApp(2.5), "2,5");
  a.NomAppareil = "Balance";
  EXPECT_EQ(a.nomCourt(), "Balance");
  a.NomAppareil = "pH-mètre TPS 901";
  EXPECT_EQ(a.nomCourt(), "pH-mètre");
}

}  // namespace
