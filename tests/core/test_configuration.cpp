// Configuration files: written then read back, the keys and their order, an existing
// file updated in place, the values of a damaged file brought into range, models the
// database lacks, a file that cannot be used, the menu items; the persistent settings
// of start-up and shut-down.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/configuration.h"
#include "moteur_essai.h"
#include "util/ini.h"

namespace fs = std::filesystem;

namespace {

// The set-up of an engine that a configuration file carries.
struct TMontage {
  int nvoies;
  std::vector<std::string> noms;
  std::vector<int> coms;
  int deltat, duree, mode, beep, abscisse;
  bool operator==(const TMontage&) const = default;
};

TMontage Montage(TCinetiqueMain& m) {
  TMontage t{m.NbreVoies(), {}, {}, m.DeltatMesure, m.DureeMesure, m.ModeAcq, m.CodeBeep, m.Graphe->AbscisseMaitre};
  for (int i = 0; i < m.NbreVoies(); ++i) {
    t.noms.push_back(m.Voie(i)->NomAppareil);
    t.coms.push_back(m.Voie(i)->ComNumber);
  }
  return t;
}

std::ostream& operator<<(std::ostream& o, const TMontage& t) {
  o << "{" << t.nvoies << " voies";
  for (std::size_t i = 0; i < t.noms.size(); ++i) o << ", " << t.noms[i] << "@COM" << t.coms[i];
  return o << ", deltat " << t.deltat << ", duree " << t.duree << ", mode " << t.mode << ", beep " << t.beep
           << ", abscisse " << t.abscisse << "}";
}

TConfigLue Lit(TMoteurEssai& e, const std::string& texte) {
  return LitFichierConfig(TFichierIni::DepuisTexte("x.rs2", texte), e.base, e.M().Graphe->mondeX);
}

TEST(Configuration, EcriteRelueDonneLeMemeMontage) {
  const fs::path dossier = DossierDuTest();
  const fs::path fichier = dossier / "montage.rs2";
  TMontage ecrit;
  {
    TMoteurEssai e(dossier);
    e.Voies({THERMO, PH, CONDUCTI});
    e.App(PH)->ComNumber = 7;
    e.App(THERMO)->ComNumber = 12;
    e.App(PH)->Delai = 450;
    e.App(PH)->ValMaxi = 13.5;
    e.App(PH)->Derive = 0.0625;
    e.M().DeltatMesure = 5;
    e.M().DureeMesure = 600;
    e.M().CodeBeep = 3;
    e.M().Graphe->AbscisseMaitre = amIndex;
    ecrit = Montage(e.M());
    ASSERT_TRUE(SauveConfig(e.M(), fichier.string()));
  }
  TMoteurEssai f(dossier);  // a fresh program with the database as shipped
  f.Voies({CONDUCTI});
  f.M().PagePermise = true;
  ASSERT_TRUE(LitConfig(f.M(), fichier.string()));
  EXPECT_EQ(Montage(f.M()), ecrit);
  EXPECT_EQ(f.App(PH)->Delai, 450);
  EXPECT_EQ(f.App(PH)->ValMaxi, 13.5);
  EXPECT_EQ(f.App(PH)->Derive, 0.0625);
  EXPECT_EQ(f.M().DeltatMin, (450 + 1500 + 200) / 1000 + 1);
  EXPECT_EQ(f.M().EtatAcq, eaAttente);
  EXPECT_FALSE(f.M().PagePermise);
  EXPECT_TRUE(f.p.dialogue.Messages().empty());
}

TEST(Configuration, ModeClavierRelitSonAbscisseMaisLePrepareDepuisZero) {
  const fs::path dossier = DossierDuTest();
  const fs::path fichier = dossier / "clavier.rs2";
  {
    TMoteurEssai e(dossier);
    e.Voies({PH}, maClavier);
    Tmonde& X = e.M().Graphe->mondeX;
    X.mini = -2.5;
    X.maxi = 100.0 / 3;
    X.Nom = "V";
    X.Unite = "mL";
    ASSERT_TRUE(SauveConfig(e.M(), fichier.string()));
    const std::string texte = Cp1252VersUtf8(LitOctets(fichier));
    EXPECT_NE(texte.find("[Clavier]\r\nMini=-2,5\r\nMaxi=33,333333333333336\r\nNom=V\r\nUnite=mL\r\n"),
              std::string::npos)
        << texte;
  }
  TMoteurEssai f(dossier);
  f.Voies({THERMO});
  ASSERT_TRUE(LitConfig(f.M(), fichier.string()));
  const Tmonde& X = f.M().Graphe->mondeX;
  EXPECT_EQ(f.M().ModeAcq, maClavier);
  EXPECT_EQ(f.M().EtatAcq, eaClavier);
  EXPECT_EQ(X.maxi, 100.0 / 3);
  EXPECT_EQ(X.mini, 0);  // the preparation starts the abscissa at 0
  EXPECT_EQ(X.Nom, "V");
  EXPECT_EQ(X.Unite, "mL");
}

TEST(Configuration, ClesDansLOrdreDuFichier) {
  const fs::path dossier = DossierDuTest();
  TMoteurEssai e(dossier);
  e.Voies({PH, THERMO});
  ASSERT_TRUE(SauveConfig(e.M(), (dossier / "ordre").string()));
  const std::string texte = Cp1252VersUtf8(LitOctets(dossier / "ordre.rs2"));
  EXPECT_EQ(texte.rfind("[Acquisition]\r\nDeltat=1\r\nDuree=120\r\nNvoies=2\r\nMode=0\r\nNom0=pH-mètre Essai\r\n"
                        "COM0=3\r\nNom1=Thermomètre Essai\r\nCOM1=4\r\n\r\n[Balayage]\r\nBeep=0\r\nAbscisse=0\r\n\r\n"
                        "[pH-mètre Essai]\r\nLireCoeffUnite=0\r\n",
                        0),
            0u)
      << texte;
  EXPECT_LT(texte.find("[pH-mètre Essai]"), texte.find("[Thermomètre Essai]"));
  EXPECT_EQ(texte.find("[Clavier]"), std::string::npos);
}

TEST(Configuration, SauverSurUnFichierExistantGardeLeReste) {
  const fs::path dossier = DossierDuTest();
  const fs::path fichier = dossier / "cinq.rs2";
  EcritUtf8En1252(fichier,
                  "[Perso]\r\nNote=à garder\r\n[Acquisition]\r\nNvoies=5\r\nNom3=Ancien\r\nCOM3=8\r\nNom4=Autre\r\n"
                  "COM4=9\r\n[Ancien]\r\nBaud=1200\r\n");
  TMoteurEssai e(dossier);
  e.Voies({PH, THERMO, CONDUCTI});
  ASSERT_TRUE(SauveConfig(e.M(), fichier.string()));
  const TFichierIni ini(fichier.string());
  EXPECT_EQ(ini.LitTexte("Perso", "Note", ""), "à garder");
  EXPECT_EQ(ini.LitEntier("Acquisition", "Nvoies", 0), 3);
  EXPECT_EQ(ini.LitTexte("Acquisition", "Nom3", ""), "Ancien");
  EXPECT_EQ(ini.LitEntier("Acquisition", "COM4", 0), 9);
  EXPECT_EQ(ini.LitEntier("Ancien", "Baud", 0), 1200);
  EXPECT_EQ(ini.Sections().front(), "Perso");
  // Read back, only Nvoies channels count.
  TMoteurEssai f(dossier);
  ASSERT_TRUE(LitConfig(f.M(), fichier.string()));
  EXPECT_EQ(f.M().NbreVoies(), 3);
}

TEST(Configuration, LeNomEssaiTxtChargeEssaiRs2EtUnFichierAbsentNeFaitRien) {
  const fs::path dossier = DossierDuTest();
  EcritUtf8En1252(dossier / "essai.rs2", "[Acquisition]\r\nNvoies=1\r\nNom0=Thermomètre Essai\r\n");
  TMoteurEssai e(dossier);
  e.Voies({PH, CONDUCTI});
  const TMontage avant = Montage(e.M());
  EXPECT_FALSE(LitConfig(e.M(), (dossier / "absent.txt").string()));
  EXPECT_EQ(Montage(e.M()), avant);
  EXPECT_TRUE(e.p.dialogue.Journal().empty());
  ASSERT_TRUE(LitConfig(e.M(), (dossier / "essai.txt").string()));
  EXPECT_EQ(e.M().NbreVoies(), 1);
  EXPECT_EQ(e.M().Voie(0), e.App(THERMO));
  EXPECT_EQ(NomConfiguration("/a/b.c/essai"), "/a/b.c/essai.rs2");
  EXPECT_EQ(NomConfiguration("essai.RS2"), "essai.rs2");
}

TEST(Configuration, NomCommunPourUneVoieSansNomEtDureeParDefaut128) {
  TMoteurEssai e(DossierDuTest());
  const TConfigLue c =
      Lit(e, "[Acquisition]\nNvoies=2\nNom0=pH-mètre Essai\nNom=Thermomètre Essai\n[pH-mètre Essai]\n"
             "[Thermomètre Essai]\n");
  ASSERT_EQ(c.voies.size(), 2u);
  EXPECT_EQ(c.voies[1].definition, e.App(THERMO));
  EXPECT_EQ(c.DureeMesure, 128);
  EXPECT_TRUE(c.remarques.empty());
}

TEST(Configuration, DeuxModelesDeMemeNomLaConfigurationPrendLeDernier) {
  TMoteurEssai e(DossierDuTest());
  auto copie = std::make_unique<Tappareil>();
  copie->Assign(*e.App(PH));
  Tappareil* second = copie.get();
  e.base.ListeAppareils.push_back(std::move(copie));
  const TConfigLue c = Lit(e, "[Acquisition]\nNom0=pH-mètre Essai\n[pH-mètre Essai]\n");
  ASSERT_EQ(c.voies.size(), 1u);
  EXPECT_EQ(c.voies[0].definition, second);
}

struct TCasBorne {
  const char* nom;
  std::string lignes;  // of [Acquisition], or of [Balayage] after a blank line
  int deltat, duree, nvoies, mode, beep, abscisse, com0;
  bool remarque;
};

void PrintTo(const TCasBorne& c, std::ostream* os) { *os << c.nom; }

class ValeursBornees : public ::testing::TestWithParam<TCasBorne> {};

TEST_P(ValeursBornees, RameneesDansLeurDomaineEtSignalees) {
  const auto& c = GetParam();
  TMoteurEssai e(DossierDuTest());
  std::string texte = "[Acquisition]\nNom=pH-mètre Essai\n" + c.lignes;
  const TConfigLue l = Lit(e, texte);
  EXPECT_EQ(l.DeltatMesure, c.deltat);
  EXPECT_EQ(l.DureeMesure, c.duree);
  EXPECT_EQ(static_cast<int>(l.voies.size()), c.nvoies);
  EXPECT_EQ(l.ModeAcq, c.mode);
  EXPECT_EQ(l.CodeBeep, c.beep);
  EXPECT_EQ(l.AbscisseMaitre, c.abscisse);
  ASSERT_FALSE(l.voies.empty());
  EXPECT_EQ(l.voies[0].com, c.com0);
  // The common name has no section of its own in these files.
  EXPECT_EQ(l.remarques.size(), static_cast<std::size_t>(c.nvoies) + (c.remarque ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Cas, ValeursBornees,
    ::testing::Values(
        TCasBorne{"ToutParDefaut", "", 1, 128, 1, 0, 0, 0, 1, false},
        TCasBorne{"DeltatNul", "Deltat=0\n", 1, 128, 1, 0, 0, 0, 1, true},
        TCasBorne{"DeltatTropGrand", "Deltat=500\n", 60, 128, 1, 0, 0, 0, 1, true},
        TCasBorne{"DeltatIllisible", "Deltat=abc\n", 1, 128, 1, 0, 0, 0, 1, true},
        TCasBorne{"DeltatHexadecimal", "Deltat=$0A\n", 10, 128, 1, 0, 0, 0, 1, false},
        TCasBorne{"DureeNegative", "Duree=-20\n", 1, 0, 1, 0, 0, 0, 1, true},
        TCasBorne{"DureeEnorme", "Duree=99999999999\n", 1, 122880, 1, 0, 0, 0, 1, true},
        TCasBorne{"NvoiesNul", "Nvoies=0\n", 1, 128, 1, 0, 0, 0, 1, true},
        TCasBorne{"NvoiesTropGrand", "Nvoies=15\n", 1, 128, 9, 0, 0, 0, 1, true},
        TCasBorne{"ModeNegatif", "Mode=-3\n", 1, 128, 1, 0, 0, 0, 1, true},
        TCasBorne{"ModeTropGrand", "Mode=7\n", 1, 128, 1, 4, 0, 0, 1, true},
        TCasBorne{"BeepTropGrand", "[Balayage]\nBeep=9\n", 1, 128, 1, 0, 6, 0, 1, true},
        TCasBorne{"AbscisseTropGrande", "[Balayage]\nAbscisse=5\n", 1, 128, 1, 0, 0, 2, 1, true},
        TCasBorne{"ComTropGrand", "COM0=99\n", 1, 128, 1, 0, 0, 0, 50, true},
        TCasBorne{"ComNul", "COM0=0\n", 1, 128, 1, 0, 0, 0, 1, true}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST(Configuration, LaDureeLueSuitLesReglesDeLaDuree) {
  const fs::path dossier = DossierDuTest();
  EcritUtf8En1252(dossier / "longue.rs2",
                  "[Acquisition]\r\nDeltat=1\r\nDuree=7200\r\nNom0=pH-mètre Essai\r\n[pH-mètre Essai]\r\nDelai=100\r\n");
  EcritUtf8En1252(dossier / "courte.rs2",
                  "[Acquisition]\r\nDeltat=60\r\nDuree=5\r\nNom0=pH-mètre Essai\r\n[pH-mètre Essai]\r\nDelai=100\r\n");
  TMoteurEssai e(dossier);
  ASSERT_TRUE(LitConfig(e.M(), (dossier / "longue.rs2").string()));
  EXPECT_EQ(e.M().DeltatMesure, 4);
  EXPECT_EQ(e.M().DureeMesure, 7200);
  ASSERT_TRUE(LitConfig(e.M(), (dossier / "courte.rs2").string()));
  EXPECT_EQ(e.M().DeltatMesure, 1);
  EXPECT_EQ(e.M().DureeMesure, 8);
}

// A model the database lacks: neither another model nor the database's file changes.
TEST(Configuration, ModeleAbsentDeLaBaseNeRenommeNiNEcraseAucunModele) {
  const fs::path dossier = DossierDuTest();
  const fs::path fichier = dossier / "ailleurs.rs2";
  EcritUtf8En1252(fichier,
                  "[Acquisition]\r\nNvoies=2\r\nNom0=Sonde inconnue\r\nCOM0=2\r\nNom1=Thermomètre Essai\r\nCOM1=6\r\n"
                  "[Sonde inconnue]\r\nSymbole=X\r\nMaxi=99\r\n[Thermomètre Essai]\r\nMaxi=105\r\n");
  TMoteurEssai e(dossier);
  e.Voies({CONDUCTI, PH});  // channel 0 held the conductimeter before
  ASSERT_TRUE(LitConfig(e.M(), fichier.string()));
  EXPECT_EQ(e.M().NbreVoies(), 1);
  EXPECT_EQ(e.M().Voie(0), e.App(THERMO));
  EXPECT_EQ(e.App(THERMO)->ComNumber, 6);
  EXPECT_EQ(e.App(THERMO)->ValMaxi, 105);
  Tappareil* c = e.App(CONDUCTI);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->SymboleGrandeur, "σ");
  EXPECT_EQ(c->ValMaxi, 20);
  EXPECT_EQ(e.base.ChercheAppareil("Sonde inconnue"), nullptr);
  EXPECT_EQ(e.p.dialogue.Messages(),
            std::vector<std::string>{"Configuration " + fichier.string() +
                                     " :\nVoie 0 : « Sonde inconnue » absent de la base des appareils, voie non "
                                     "utilisée"});
  // The next save of the database keeps every model.
  ASSERT_TRUE(e.base.SauveAppareils());
  const TFichierIni base(e.base.NomFichierIni());
  EXPECT_TRUE(base.SectionExiste(CONDUCTI));
  EXPECT_EQ(base.LitReel(CONDUCTI, "Maxi", 0), 20);
  EXPECT_FALSE(base.SectionExiste("Sonde inconnue"));
}

TEST(Configuration, SectionAbsenteGardeLesReglagesDeLaBase) {
  TMoteurEssai e(DossierDuTest());
  const TConfigLue c = Lit(e, "[Acquisition]\nNom0=Thermomètre Essai\nCOM0=9\n");
  ASSERT_EQ(c.voies.size(), 1u);
  EXPECT_FALSE(c.voies[0].avecSection);
  EXPECT_EQ(c.remarques, std::vector<std::string>{"Voie 0 : réglages de « Thermomètre Essai » absents du fichier, "
                                                  "ceux de la base sont gardés"});
}

struct TCasInutilisable {
  const char* nom;
  std::string octets;
};

void PrintTo(const TCasInutilisable& c, std::ostream* os) { *os << c.nom; }

class FichierInutilisable : public ::testing::TestWithParam<TCasInutilisable> {};

// Nothing of the previous set-up changes, the acquisition included.
TEST_P(FichierInutilisable, LeMontagePrecedentResteEntier) {
  const fs::path dossier = DossierDuTest();
  const fs::path fichier = dossier / "abime.rs2";
  {
    std::ofstream f(fichier, std::ios::binary);
    f << GetParam().octets;
  }
  TMoteurEssai e(dossier);
  e.Voies({PH, THERMO}, maIncrement);
  e.M().DeltatMesure = 2;
  e.M().DureeMesure = 300;
  e.M().PagePermise = true;
  const TMontage avant = Montage(e.M());
  const auto etat = e.M().EtatAcq;
  const bool minuterie = e.M().MinuteriePrincipale().Actif();
  const double maxiPh = e.App(PH)->ValMaxi;
  const auto delaiPh = e.App(PH)->Delai;
  EXPECT_FALSE(LitConfig(e.M(), fichier.string()));
  EXPECT_EQ(Montage(e.M()), avant);
  EXPECT_EQ(e.M().EtatAcq, etat);
  EXPECT_EQ(e.M().MinuteriePrincipale().Actif(), minuterie);
  EXPECT_TRUE(e.M().PagePermise);
  EXPECT_EQ(e.App(PH)->ValMaxi, maxiPh);
  EXPECT_EQ(e.App(PH)->Delai, delaiPh);
  ASSERT_EQ(e.p.dialogue.Messages().size(), 1u);
  EXPECT_EQ(e.p.dialogue.Messages()[0].rfind("Configuration " + fichier.string() + " :\n", 0), 0u);
  EXPECT_NE(e.p.dialogue.Messages()[0].find("Aucune voie utilisable : configuration non chargée"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, FichierInutilisable,
    ::testing::Values(
        TCasInutilisable{"ModelesInconnus",
                         "[Acquisition]\r\nNvoies=2\r\nNom0=X\r\nNom1=Y\r\nDeltat=9\r\n[X]\r\nMaxi=3\r\n"},
        TCasInutilisable{"SansAucunNom", "[Acquisition]\r\nNvoies=3\r\nMode=1\r\n"},
        TCasInutilisable{"OctetsQuelconques", std::string("\x00\x01\xff\xfe[\r\n==\x1a\x80", 12)},
        TCasInutilisable{"Vide", ""}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST(Configuration, FichierIllisibleSignaleEtRienNeChange) {
  const fs::path dossier = DossierDuTest();
  fs::create_directories(dossier / "dossier.rs2");  // exists, cannot be read as a file
  TMoteurEssai e(dossier);
  e.Voies({PH});
  const TMontage avant = Montage(e.M());
  EXPECT_FALSE(LitConfig(e.M(), (dossier / "dossier.rs2").string()));
  EXPECT_EQ(Montage(e.M()), avant);
  // A device behind a link would never end: it is refused as no file at all.
  fs::create_symlink("/dev/zero", dossier / "zero.rs2");
  EXPECT_FALSE(LitConfig(e.M(), (dossier / "zero.rs2").string()));
  EXPECT_EQ(Montage(e.M()), avant);
  EXPECT_EQ(e.p.dialogue.Messages(),
            (std::vector<std::string>{"Configuration " + (dossier / "dossier.rs2").string() +
                                          " :\nlecture impossible (c'est un dossier), configuration non chargée",
                                      "Configuration " + (dossier / "zero.rs2").string() +
                                          " :\nlecture impossible (ce n'est pas un fichier ordinaire), "
                                          "configuration non chargée"}));
}

TEST(Configuration, EchecsDEcriture) {
  const fs::path dossier = DossierDuTest();
  TMoteurEssai e(dossier);
  // No channel: such a file would read back as a channel without an instrument.
  EXPECT_FALSE(SauveConfig(e.M(), (dossier / "vide").string()));
  EXPECT_FALSE(fs::exists(dossier / "vide.rs2"));
  e.Voies({PH});
  // A folder that does not exist.
  const std::string absent = (dossier / "absent" / "x.rs2").string();
  EXPECT_FALSE(SauveConfig(e.M(), absent));
  // A file that exists and cannot be read is not replaced by a file without its content.
  fs::create_directories(dossier / "illisible.rs2");
  EXPECT_FALSE(SauveConfig(e.M(), (dossier / "illisible.rs2").string()));
  EXPECT_TRUE(fs::is_directory(dossier / "illisible.rs2"));
  // A full disk keeps the previous file.
  const fs::path bon = dossier / "bon.rs2";
  const std::string avant = "[Acquisition]\r\nNvoies=1\r\nNom0=Ancien\r\n" + std::string(2000, ';') + "\r\n";
  ASSERT_TRUE(EcritFichierSur(bon.string(), avant));
  {
    TLimiteTailleFichiers limite(512);
    EXPECT_FALSE(SauveConfig(e.M(), bon.string()));
  }
  EXPECT_EQ(LitOctets(bon), avant);
  EXPECT_EQ(e.p.dialogue.Messages(),
            (std::vector<std::string>{"Erreur écriture " + (dossier / "vide.rs2").string() + " : aucun appareil choisi",
                                      "Erreur écriture " + absent,
                                      "Erreur écriture " + (dossier / "illisible.rs2").string(),
                                      "Erreur écriture " + bon.string()}));
}

TEST(Configuration, TexteReelCourtRelitLaMemeValeur) {
  TMoteurEssai e(DossierDuTest());
  EXPECT_EQ(TexteReelCourt(0.1), "0,1");
  EXPECT_EQ(TexteReelCourt(-2.5), "-2,5");
  EXPECT_EQ(TexteReelCourt(12345678), "12345678");
  EXPECT_EQ(TexteReelCourt(1e-5), "1E-05");
  EXPECT_EQ(TexteReelCourt(1e20), "1E20");
  EXPECT_EQ(TexteReelCourt(1.0 / 3), "0,3333333333333333");
  for (char separateur : {',', '.'}) {
    e.p.regional.SetSeparateur(separateur);
    for (double x : {0.1, 1.0 / 3, 2.0 / 3 * 1e-7, 123456789.125, -1e300, 5e-324, 0.0})
      EXPECT_EQ(LitNombre(TexteReelCourt(x)), x) << TexteReelCourt(x);
  }
}

// ---- menu items

TEST(MenuConfiguration, AnnulerLaLectureRendLAcquisitionCommeElleEtait) {
  const fs::path dossier = DossierDuTest();
  TMoteurEssai e(dossier);
  e.Voies({PH});
  ASSERT_EQ(e.M().EtatAcq, eaAttente);
  ASSERT_TRUE(e.M().MinuteriePrincipale().Actif());
  e.p.dialogue.AttendFichier("Lecture configuration", "", false);
  ChargeconfigItemClick(e.M());
  EXPECT_EQ(e.M().EtatAcq, eaAttente);
  EXPECT_TRUE(e.M().MinuteriePrincipale().Actif());
  EXPECT_EQ(e.p.dialogue.Journal().back().texte, "Lecture configuration [Configuration RS232 (*.rs2)|*.rs2] rs2");
}

TEST(MenuConfiguration, LireUnFichierChoisi) {
  const fs::path dossier = DossierDuTest();
  EcritUtf8En1252(dossier / "b.rs2", "[Acquisition]\r\nNom0=Thermomètre Essai\r\nMode=1\r\n[Thermomètre Essai]\r\n");
  TMoteurEssai e(dossier);
  e.Voies({PH});
  e.p.dialogue.AttendFichier("Lecture configuration", (dossier / "b.rs2").string());
  ChargeconfigItemClick(e.M());
  EXPECT_EQ(e.M().Voie(0), e.App(THERMO));
  EXPECT_EQ(e.M().EtatAcq, eaIncrement);
}

TEST(MenuConfiguration, DonneesNonSauveesDemandeAvantDeLire) {
  const fs::path dossier = DossierDuTest();
  TMoteurEssai e(dossier);
  e.Voies({PH}, maIncrement);
  e.App(PH)->ValeurCourante = 7;
  e.M().AjoutePoint();
  ASSERT_FALSE(e.M().dataSaved);
  e.p.dialogue.AttendConfirmation("Perte des données courantes ?", false);
  ChargeconfigItemClick(e.M());
  EXPECT_EQ(e.M().Graphe->NbrePoints, 1);
  EXPECT_EQ(e.M().EtatAcq, eaIncrement);
  EXPECT_TRUE(e.p.dialogue.ScriptEpuise());
}

TEST(MenuConfiguration, EnregistrerPasseParLeDialogueDeSauvegarde) {
  const fs::path dossier = DossierDuTest();
  TMoteurEssai e(dossier);
  e.Voies({PH});
  e.p.dialogue.AttendFichier("Sauvegarde données", (dossier / "c").string());
  SauveconfigItemClick(e.M());
  EXPECT_TRUE(fs::exists(dossier / "c.rs2"));
  EXPECT_EQ(e.p.dialogue.Journal().back().texte, "Sauvegarde données [Configuration RS232 (*.rs2)|*.rs2] RS2");
}

// ---- persistent settings (read at start-up, written at shut-down)

TEST(Reglages, DemarrageSansCle) {
  TMoteurEssai e(DossierDuTest());
  EXPECT_TRUE(e.M().ListeAppRecent);
  EXPECT_TRUE(e.M().OldAppareilAcq.empty());
  EXPECT_EQ(e.M().indexFichierTrace, 1);  // letter 'b'
  EXPECT_TRUE(e.M().TraceCB);
  EXPECT_TRUE(LitTraceActive(e.p.reglages));
  EcritTraceActive(e.p.reglages, false);
  EXPECT_EQ(e.p.reglages.Lit(configuration::CleFichierTrace, "Actif"), std::optional<std::string>("0"));
  EXPECT_FALSE(LitTraceActive(e.p.reglages));
}

TEST(Reglages, IndexDeTraceTourneApres16) {
  TMoteurEssai e(DossierDuTest());
  e.p.reglages.Ecrit(configuration::CleFichierTrace, "Index", "16");
  e.M().FormCreate();
  EXPECT_EQ(e.M().indexFichierTrace, 0);
  ASSERT_TRUE(e.M().FormClose());
  EXPECT_EQ(e.p.reglages.Lit(configuration::CleFichierTrace, "Index"), std::optional<std::string>("0"));
}

TEST(Reglages, AppareilsRecentsAuPlusUnRetireALaFermeture) {
  TMoteurEssai e(DossierDuTest());
  TReglages& r = e.p.reglages;
  const std::string cle = configuration::CleAppareilRecent;
  r.Ecrit(cle, "Nombre", "8");
  r.Ecrit(cle, "Liste", "0");
  for (int i = 0; i < 8; ++i) r.Ecrit(cle, "N" + std::to_string(i), "Modèle " + std::to_string(7 - i));
  r.Ecrit(cle, "N8", "Au-delà du nombre");
  e.M().FormCreate();
  EXPECT_FALSE(e.M().ListeAppRecent);
  EXPECT_EQ(e.M().OldAppareilAcq.size(), 8u);
  EXPECT_EQ(e.M().OldAppareilAcq.count("Au-delà du nombre"), 0u);
  e.Voies({PH, THERMO, CONDUCTI});
  ASSERT_TRUE(e.M().FormClose());
  EXPECT_EQ(r.Lit(cle, "Nombre"), std::optional<std::string>("10"));
  EXPECT_EQ(r.Lit(cle, "Liste"), std::optional<std::string>("0"));
  std::vector<std::string> noms;
  for (int i = 0; i < 10; ++i) noms.push_back(r.LitTexte(cle, "N" + std::to_string(i), "?"));
  // Sorted by bytes: upper case before lower case.
  EXPECT_EQ(noms, (std::vector<std::string>{CONDUCTI, "Modèle 1", "Modèle 2", "Modèle 3", "Modèle 4", "Modèle 5",
                                            "Modèle 6", "Modèle 7", THERMO, PH}));
}

}  // namespace
