// The device database: start-up loading (file, carried default, stop message), names
// and quantities, saving, import of another file, and the shipped database itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "aides_instruments.h"
#include "instruments/base_appareils.h"
#include "platform/simule/boucle_simulee.h"
#include "util/cp1252.h"
#include "util/fichiers.h"
#include "util/ini.h"

namespace fs = std::filesystem;

namespace {

const std::string BaseLivree = std::string(PELITRAX_SOURCE_DIR) + "/share/RS232.INI";

// A fresh folder of the test's own, in the scratch working folder.
fs::path DossierDuTest() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string nom = std::string(info->test_suite_name()) + "." + info->name();
  std::replace(nom.begin(), nom.end(), '/', '_');
  const fs::path dossier = fs::current_path() / "base" / nom;
  fs::remove_all(dossier);
  fs::create_directories(dossier);
  return dossier;
}

std::string Octets(const fs::path& chemin) { return LitFichier(chemin.string()).value_or("<absent>"); }

// A section as EcritIni writes it: every field the file stores.
std::string Section(const Tappareil& a) {
  TFichierIni ini = TFichierIni::DepuisTexte("x.ini", "");
  a.EcritIni(ini);
  return ini.Texte();
}

std::vector<std::string> Noms(const TBaseAppareils::TListeAppareils& liste) {
  std::vector<std::string> noms;
  for (const auto& a : liste) noms.push_back(a->NomAppareil);
  return noms;
}

class Base : public AvecRegional {
protected:
  void SetUp() override {
    AvecRegional::SetUp();
    dossier = DossierDuTest();
    ini = dossier / "RS232.INI";
  }
  // A database file written as the program would find it (UTF-8 here, 1252 on disk).
  void Ecrit(const std::string& texte) { ASSERT_TRUE(EcritFichierSur(ini.string(), Utf8VersCp1252(texte))); }
  void CopieLivree() { fs::copy_file(BaseLivree, ini, fs::copy_options::overwrite_existing); }
  TBaseAppareils& Charge() {
    base = std::make_unique<TBaseAppareils>(boucle, dossier.string());
    std::string message;
    EXPECT_TRUE(base->ChargeAppareils(message)) << message;
    return *base;
  }

  TBoucleSimulee boucle;
  fs::path dossier, ini;
  std::unique_ptr<TBaseAppareils> base;
};

// ---- start-up

TEST_F(Base, NomsDesFichiersBesideLeProgramme) {
  const TBaseAppareils b(boucle, "/opt/pelitrax");
  EXPECT_EQ(b.NomFichierIni(), "/opt/pelitrax/RS232.INI");
  EXPECT_EQ(b.NomFichierAide(), "/opt/pelitrax/aide.html");
  EXPECT_EQ(b.NomFichierTexte(), "/opt/pelitrax/RS232.txt");
  const TBaseAppareils c(boucle, "/opt/pelitrax/");
  EXPECT_EQ(c.NomFichierIni(), "/opt/pelitrax/RS232.INI");
}

TEST_F(Base, LaBaseLivreeSeChargeAvecLesCompteursUsbEtLaBurette) {
  CopieLivree();
  TBaseAppareils& b = Charge();
  const TFichierIni livree(BaseLivree);
  const std::vector<std::string> cles = livree.Cles("Index");
  ASSERT_GE(cles.size(), 10u);
  EXPECT_EQ(b.ListeAppareils.size(), cles.size() + 5);
  for (const std::string& cle : cles) {
    const std::string nom = livree.LitTexte("Index", cle, "");
    EXPECT_NE(b.ChercheAppareil(nom), nullptr) << nom;
  }
  const std::vector<std::string> noms = Noms(b.ListeAppareils);
  EXPECT_TRUE(std::is_sorted(noms.begin(), noms.end()));
  EXPECT_EQ(b.ListeGrandeurs, (std::vector<std::string>{"masse", "pH", "température", "tension", "conductivité"}));

  ASSERT_NE(b.AppareilPH, nullptr);
  EXPECT_EQ(b.AppareilPH->NomAppareil, "OPH218 USB (pH)");
  EXPECT_TRUE(b.AppareilPH->isOrigalys);
  EXPECT_EQ(b.AppareilPH->identOrigalys, 600);
  EXPECT_EQ(b.AppareilPH->Demande, "?measure pH");
  EXPECT_DOUBLE_EQ(b.AppareilPH->Derive, 0.1);
  EXPECT_EQ(b.AppareilPH->Delai, 500);
  ASSERT_NE(b.AppareilConductivite, nullptr);
  EXPECT_EQ(b.AppareilConductivite->SymboleGrandeur, "σ");
  EXPECT_EQ(b.AppareilConductivite->identOrigalys, 601);
  EXPECT_TRUE(b.AppareilConductivite->LireCoeffUnite);
  EXPECT_DOUBLE_EQ(b.AppareilConductivite->Derive, 0.1 / 1000);
  ASSERT_NE(b.AppareilTension, nullptr);
  EXPECT_EQ(b.AppareilTension->NomAppareil, "OPH218 USB (mV)");
  EXPECT_DOUBLE_EQ(b.AppareilTension->ValMini, -1.5);
  const Tappareil* t = b.ChercheAppareil("OCD218 USB (T)");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->UniteGrandeur, "°C");
  EXPECT_FALSE(t->lectureSTAB);

  const TburetteRS232& burette = b.Burette();
  EXPECT_EQ(burette.NomAppareil, "BuretteRS232");
  EXPECT_EQ(burette.Baud, 4800);
  EXPECT_EQ(burette.DataBits, 7);
  EXPECT_EQ(burette.StopBits, 2);
  EXPECT_DOUBLE_EQ(burette.VolumeMin, 0.05);
  EXPECT_DOUBLE_EQ(burette.VolumeMax, 0.5);
  EXPECT_EQ(burette.DeltatMax, 10);
  EXPECT_DOUBLE_EQ(burette.ecartSensible, 0.1);
  EXPECT_DOUBLE_EQ(burette.ecartStable, 0.03);
}

TEST_F(Base, UneLectureAssiseDuBancEstStable) {
  // A settled bench reading still moves by one last digit: three readings on each
  // side of it. The titration judges every channel with the burette's tolerance.
  CopieLivree();
  TBaseAppareils& b = Charge();
  const struct {
    const char* nom;
    double resolution;
    double derive;  // NaN: the definition's own
  } cas[] = {
      {"Banc virtuel pH-mètre", 0.01, NAN},
      {"Banc virtuel pH-mètre (T)", 0.1, NAN},
      {"Banc virtuel pH-mètre (mV)", 0.1, NAN},
      {"Banc virtuel pH-mètre à impression", 0.01, NAN},
      {"Banc virtuel pH-mètre à impression (T)", 0.1, NAN},
      {"Banc virtuel balance", 0.01, NAN},
      {"Banc virtuel pH-mètre", 0.01, b.Burette().ecartStable},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    Tappareil* a = b.ChercheAppareil(c.nom);
    ASSERT_NE(a, nullptr);
    if (!std::isnan(c.derive)) a->Derive = c.derive;
    for (int i = 0; i < 6; ++i) {
      a->indiceRouleau[static_cast<std::size_t>(i)] = i;
      a->valeurRouleau[static_cast<std::size_t>(i)] = 7 + (i < 3 ? 0 : c.resolution);
    }
    a->nbreRouleau = 6;
    a->ValeurCourante = 7 + c.resolution;
    EXPECT_TRUE(a->isStable()) << "Derive=" << a->Derive;
  }
}

TEST_F(Base, SansFichierLaBaseEmbarqueeServeEtSeraEnregistree) {
  ASSERT_FALSE(fs::exists(ini));
  // What the program carries is the shipped file itself.
  EXPECT_EQ(std::string(FichierCapteurId()), Octets(BaseLivree));
  TBaseAppareils& b = Charge();
  const TFichierIni livree(BaseLivree);
  EXPECT_EQ(b.ListeAppareils.size(), livree.Cles("Index").size() + 5);
  EXPECT_NE(b.ChercheAppareil("WTW pH 3310"), nullptr);
  EXPECT_DOUBLE_EQ(b.Burette().VolumeMax, 0.5);
  EXPECT_FALSE(fs::exists(ini));
  ASSERT_TRUE(b.SauveAppareils());
  EXPECT_EQ(Octets(ini), Octets(BaseLivree));
}

// An installed program: the shipped file in the shared folder, read only; the lab's own
// in the program folder once it has been saved, and read from then on.
TEST_F(Base, InstalleLaBaseLivreeSertJusquALaPremiereSauvegardeDuLaboratoire) {
  const fs::path partage = dossier / "partage";
  const fs::path programme = dossier / "programme";
  fs::create_directories(partage);
  fs::create_directories(programme);
  // The shipped file of this version holds one model the carried default lacks.
  const std::string livree = Octets(BaseLivree);
  const std::string nouveau = "[Index]\r\n0=Nouveau modèle livré\r\n\r\n[Nouveau modèle livré]\r\nNom=pH\r\n";
  ASSERT_TRUE(EcritFichierSur((partage / "RS232.INI").string(), Utf8VersCp1252(nouveau)));

  auto charge = [&] {
    auto b = std::make_unique<TBaseAppareils>(boucle, programme.string());
    b->SetDossierPartage(partage.string());
    std::string message;
    EXPECT_TRUE(b->ChargeAppareils(message)) << message;
    return b;
  };
  auto b = charge();
  EXPECT_EQ(b->FichierLu(), (partage / "RS232.INI").string());
  EXPECT_EQ(b->NomFichierIni(), (programme / "RS232.INI").string());
  ASSERT_NE(b->ChercheAppareil("Nouveau modèle livré"), nullptr);
  EXPECT_EQ(b->ChercheAppareil("WTW pH 3310"), nullptr);

  // The lab edits a model: the edit goes to its own file, the shipped one stays.
  b->ChercheAppareil("Nouveau modèle livré")->Precision = 3;
  ASSERT_TRUE(b->SauveAppareils());
  EXPECT_EQ(Octets(partage / "RS232.INI"), Utf8VersCp1252(nouveau));
  ASSERT_TRUE(fs::exists(programme / "RS232.INI"));

  // An update replaces the shipped file; the lab's file is the one read.
  ASSERT_TRUE(EcritFichierSur((partage / "RS232.INI").string(), livree));
  b = charge();
  EXPECT_EQ(b->FichierLu(), (programme / "RS232.INI").string());
  ASSERT_NE(b->ChercheAppareil("Nouveau modèle livré"), nullptr);
  EXPECT_EQ(b->ChercheAppareil("Nouveau modèle livré")->Precision, 3);
  EXPECT_EQ(b->ChercheAppareil("WTW pH 3310"), nullptr);
}

TEST_F(Base, SansDossierPartageNiFichierLaBaseEmbarqueeEstLue) {
  auto b = std::make_unique<TBaseAppareils>(boucle, dossier.string());
  b->SetDossierPartage((dossier / "absent").string());
  std::string message;
  ASSERT_TRUE(b->ChargeAppareils(message)) << message;
  EXPECT_EQ(b->FichierLu(), "");
  EXPECT_NE(b->ChercheAppareil("WTW pH 3310"), nullptr);
  CopieLivree();
  ASSERT_TRUE(b->ChargeAppareils(message));
  EXPECT_EQ(b->FichierLu(), ini.string());
}

// The help: the program folder's own guide, else the installed one, else none.
TEST_F(Base, LAideDuDossierProgrammeSinonCelleDuDossierPartage) {
  const fs::path partage = dossier / "partage";
  fs::create_directories(partage);
  TBaseAppareils sansAide(boucle, dossier.string());
  sansAide.SetDossierPartage(partage.string());
  EXPECT_EQ(sansAide.NomFichierAide(), (dossier / "aide.html").string());
  ASSERT_TRUE(EcritFichierSur((partage / "aide.html").string(), "<html></html>"));
  TBaseAppareils installee(boucle, dossier.string());
  installee.SetDossierPartage(partage.string());
  EXPECT_EQ(installee.NomFichierAide(), (partage / "aide.html").string());
  ASSERT_TRUE(EcritFichierSur((dossier / "aide.html").string(), "<html></html>"));
  TBaseAppareils portable(boucle, dossier.string());
  portable.SetDossierPartage(partage.string());
  EXPECT_EQ(portable.NomFichierAide(), (dossier / "aide.html").string());
}

TEST_F(Base, UnFichierSansIndexArreteLeProgrammeAvecSonMessage) {
  for (const char* texte : {"[Autre]\nx=1\n", "[Index]\n\n[Modele]\nNom=pH\n", ""}) {
    Ecrit(texte);
    TBaseAppareils b(boucle, dossier.string());
    std::string message;
    EXPECT_FALSE(b.ChargeAppareils(message)) << texte;
    EXPECT_EQ(message, "Impossible : " + ini.string() + " non trouvé");
    EXPECT_TRUE(b.ListeAppareils.empty());
  }
}

// A database that is there but cannot be read is not "not found": the message says
// which file and why, and the carried default does not stand in for the lab's file.
TEST_F(Base, UnFichierIllisibleArreteLeProgrammeEnDisantPourquoi) {
  const std::pair<const char*, std::string> cas[] = {{"dossier", "c'est un dossier"},
                                                     {"zero", "ce n'est pas un fichier ordinaire"},
                                                     {"enorme", "fichier trop gros"}};
  for (const auto& [genre, raison] : cas) {
    fs::remove_all(ini);
    const std::string g = genre;
    if (g == "dossier") {
      fs::create_directories(ini);
    } else if (g == "zero") {
      fs::create_symlink("/dev/zero", ini);
    } else {
      Ecrit("[Index]\n0=pH\n");
      fs::resize_file(ini, TailleMaxiLecture + 1);  // sparse: nothing written
    }
    TBaseAppareils b(boucle, dossier.string());
    std::string message;
    EXPECT_FALSE(b.ChargeAppareils(message)) << genre;
    EXPECT_EQ(message, "Impossible : " + ini.string() + " illisible (" + raison + ")");
    EXPECT_TRUE(b.ListeAppareils.empty());
  }
}

TEST_F(Base, SansFichierNiBaseEmbarqueeLeProgrammeSArrete) {
  TBaseAppareils b(boucle, dossier.string());
  b.SetBaseParDefaut("");
  std::string message;
  EXPECT_FALSE(b.ChargeAppareils(message));
  EXPECT_EQ(message, "Impossible : " + ini.string() + " non trouvé");
}

// ---- quantities and names

struct CasGrandeur {
  const char* nom;
  const char* cles;
  const char* grandeur;
  const char* symbole;
};
void PrintTo(const CasGrandeur& c, std::ostream* os) { *os << c.nom; }

class BaseGrandeurs : public Base, public testing::WithParamInterface<CasGrandeur> {};

TEST_P(BaseGrandeurs, NormaliseeAuChargement) {
  const CasGrandeur& c = GetParam();
  Ecrit(std::string("[Index]\n0=M\n[M]\n") + c.cles);
  TBaseAppareils& b = Charge();
  const Tappareil* a = b.ChercheAppareil("M");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->nomGrandeur, c.grandeur);
  EXPECT_EQ(a->SymboleGrandeur, c.symbole);
  EXPECT_EQ(b.ListeGrandeurs, std::vector<std::string>{c.grandeur});
}

INSTANTIATE_TEST_SUITE_P(
    Cas, BaseGrandeurs,
    testing::Values(CasGrandeur{"Conductance", "Nom=Conductance\nSymbole=G\n", "conductivité", "σ"},
                    CasGrandeur{"ConductiviteInconnue", "Nom=Conductivité\nSymbole=?\n", "conductivité", "σ"},
                    CasGrandeur{"ConductiviteKappa", "Nom=conductivité\nSymbole=K\n", "conductivité", "K"},
                    CasGrandeur{"LongueurDOnde", "Nom=Longueur d'onde\nSymbole=?\n", "longueur d'onde", "λ"},
                    CasGrandeur{"PH", "Nom=PH\nSymbole=pH\n", "pH", "pH"},
                    CasGrandeur{"MajusculesAccentuees", "Nom=TEMPÉRATURE\nSymbole=T\n", "température", "T"},
                    CasGrandeur{"SansNom", "Symbole=U\n", "tension", "U"}),
    NomDuCas());

TEST_F(Base, ListeDesGrandeursSansDoublonNiCompteursUsb) {
  Ecrit("[Index]\n0=A\n1=B\n2=C\n[A]\nNom=pH\n[B]\nNom=Température\n[C]\nNom=ph\n");
  TBaseAppareils& b = Charge();
  EXPECT_EQ(b.ListeGrandeurs, (std::vector<std::string>{"pH", "température"}));
}

TEST_F(Base, DeuxEntreesPourUneSectionDonnentDeuxModelesDeNomsDistincts) {
  Ecrit("[Index]\n0=Sonde\n1=Sonde\n2=sonde\n3=Sondé\n[Sonde]\nNom=pH\nSymbole=pH\n[Sondé]\nNom=pH\nSymbole=pH\n");
  TBaseAppareils& b = Charge();
  std::vector<std::string> noms = Noms(b.ListeAppareils);
  // The first of equal names gets its symbol; names are unique whatever the case,
  // since the file's sections ignore it; an accent makes another model.
  for (const char* nom : {"Sonde (pH)", "Sonde (pH) 2", "sonde", "Sondé"})
    EXPECT_NE(b.ChercheAppareil(nom), nullptr) << nom;
  std::sort(noms.begin(), noms.end());
  EXPECT_EQ(std::adjacent_find(noms.begin(), noms.end()), noms.end());
}

// Only the values of the index matter: a key written twice still lists two models,
// in file order, and a save keeps both.
TEST_F(Base, DeuxEntreesDeMemeCleDansLIndexChargentLesDeuxModeles) {
  Ecrit("[Index]\n3=Zed\n3=Alpha\n[Zed]\nBaud=1200\n[Alpha]\nBaud=2400\n");
  TBaseAppareils& b = Charge();
  ASSERT_NE(b.ChercheAppareil("Zed"), nullptr);
  ASSERT_NE(b.ChercheAppareil("Alpha"), nullptr);
  EXPECT_EQ(b.ChercheAppareil("Alpha")->Baud, 2400);
  ASSERT_TRUE(b.SauveAppareils());
  const TFichierIni relu(ini.string());
  EXPECT_EQ(relu.LitTexte("Index", "0", ""), "Alpha");
  EXPECT_EQ(relu.LitTexte("Index", "1", ""), "Zed");
  EXPECT_EQ(relu.LitEntier("Alpha", "Baud", 0), 2400);
}

TEST_F(Base, UnModeleDuFichierAuNomDUnCompteurUsbEstRenomme) {
  Ecrit("[Index]\n0=OPH218 USB (pH)\n[OPH218 USB (pH)]\nNom=pH\nSymbole=pH\n");
  TBaseAppareils& b = Charge();
  const Tappareil* integre = b.ChercheAppareil("OPH218 USB (pH)");
  ASSERT_NE(integre, nullptr);
  EXPECT_TRUE(integre->isOrigalys);
  const Tappareil* serie = b.ChercheAppareil("OPH218 USB (pH) (pH)");
  ASSERT_NE(serie, nullptr);
  EXPECT_FALSE(serie->isOrigalys);
}

TEST_F(Base, UneSectionAbsenteDonneLesValeursParDefaut) {
  Ecrit("[Index]\n0=Inconnu\n");
  TBaseAppareils& b = Charge();
  const Tappareil* a = b.ChercheAppareil("Inconnu");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Baud, 9600);
  EXPECT_EQ(a->Precision, 6);
  EXPECT_EQ(a->nomGrandeur, "tension");
}

TEST_F(Base, OrdreDesNoms) {
  Ecrit("[Index]\n0=zeta\n1=Alpha\n2=beta\n3=Zoulou\n");
  TBaseAppareils& b = Charge();
  EXPECT_EQ(Noms(b.ListeAppareils),
            (std::vector<std::string>{"Alpha", "OCD218 USB (C)", "OCD218 USB (T)", "OPH218 USB (T)", "OPH218 USB (mV)",
                                      "OPH218 USB (pH)", "Zoulou", "beta", "zeta"}));
  EXPECT_EQ(b.ChercheAppareil("alpha"), nullptr);
}

// ---- saving

TEST_F(Base, LaBaseLivreeSeReecritALIdentique) {
  CopieLivree();
  TBaseAppareils& b = Charge();
  ASSERT_TRUE(b.SauveAppareils());
  EXPECT_EQ(Octets(ini), Octets(BaseLivree));
}

TEST_F(Base, LesCompteursUsbNeSontJamaisEcrits) {
  CopieLivree();
  for (int demarrage = 0; demarrage < 3; ++demarrage) {
    TBaseAppareils& b = Charge();
    EXPECT_EQ(b.ListeAppareils.size(), TFichierIni(BaseLivree).Cles("Index").size() + 5);
    ASSERT_TRUE(b.SauveAppareils());
  }
  const TFichierIni relu(ini.string());
  for (const std::string& cle : relu.Cles("Index")) EXPECT_FALSE(relu.LitTexte("Index", cle, "").starts_with("O")) << cle;
  EXPECT_FALSE(relu.SectionExiste("OPH218 USB (pH)"));
  EXPECT_FALSE(relu.SectionExiste("OPH218 USB (pH) (pH)"));
}

TEST_F(Base, UnAncienEnregistrementDesCompteursUsbSeResorbe) {
  // A file written by a save that stored the built-in meters.
  Ecrit("[Index]\n0=OPH218 USB (pH)\n1=Sonde\n[OPH218 USB (pH)]\nNom=pH\nSymbole=pH\n[Sonde]\nNom=pH\n");
  {
    TBaseAppareils& b = Charge();
    EXPECT_EQ(b.ListeAppareils.size(), 7u);
    ASSERT_TRUE(b.SauveAppareils());
  }
  for (int demarrage = 0; demarrage < 2; ++demarrage) {
    TBaseAppareils& b = Charge();
    EXPECT_EQ(b.ListeAppareils.size(), 7u);
    EXPECT_NE(b.ChercheAppareil("OPH218 USB (pH) (pH)"), nullptr);
    EXPECT_EQ(b.ChercheAppareil("OPH218 USB (pH) (pH) (pH)"), nullptr);
    ASSERT_TRUE(b.SauveAppareils());
  }
  EXPECT_FALSE(TFichierIni(ini.string()).SectionExiste("OPH218 USB (pH)"));
}

TEST_F(Base, DeuxModelesDeMemeNomSontEnregistresSousDeuxNoms) {
  Ecrit("[Index]\n0=A\n[A]\nNom=pH\nSymbole=pH\nBaud=1200\n");
  TBaseAppareils& b = Charge();
  auto copie = std::make_unique<Tappareil>();
  copie->Assign(*b.ChercheAppareil("A"));
  copie->Baud = 4800;
  b.ListeAppareils.push_back(std::move(copie));
  auto casse = std::make_unique<Tappareil>();
  casse->NomAppareil = "a";
  casse->Baud = 2400;
  b.ListeAppareils.push_back(std::move(casse));
  ASSERT_TRUE(b.SauveAppareils());
  TBaseAppareils& relue = Charge();
  std::vector<std::int32_t> bauds;
  for (const auto& a : relue.ListeAppareils)
    if (!a->isOrigalys) bauds.push_back(a->Baud);
  std::sort(bauds.begin(), bauds.end());
  EXPECT_EQ(bauds, (std::vector<std::int32_t>{1200, 2400, 4800}));
}

TEST_F(Base, UnModeleNommeCommeUneSectionReserveeNEcrasePasLaBase) {
  CopieLivree();
  TBaseAppareils& b = Charge();
  for (const char* nom : {"Index", "buretteRS232"}) {
    auto a = std::make_unique<Tappareil>();
    a->NomAppareil = nom;
    b.ListeAppareils.push_back(std::move(a));
  }
  const std::size_t n = b.ListeAppareils.size();
  ASSERT_TRUE(b.SauveAppareils());
  TBaseAppareils& relue = Charge();
  EXPECT_EQ(relue.ListeAppareils.size(), n);
  EXPECT_NE(relue.ChercheAppareil("Index (V)"), nullptr);
  EXPECT_NE(relue.ChercheAppareil("buretteRS232 (V)"), nullptr);
  EXPECT_DOUBLE_EQ(relue.Burette().VolumeMax, 0.5);
}

TEST_F(Base, SupprimerEtRenommerDesModeles) {
  Ecrit("[Index]\n0=Garde\n1=Part\n2=casse\n[Garde]\nBaud=1200\n[Part]\nBaud=2400\n[casse]\nBaud=4800\n"
        "[BuretteRS232]\ndVMax=0.7\n");
  TBaseAppareils& b = Charge();
  std::erase_if(b.ListeAppareils, [](const auto& a) { return a->NomAppareil == "Part"; });
  b.ChercheAppareil("casse")->NomAppareil = "CASSE";
  ASSERT_TRUE(b.SauveAppareils());
  const TFichierIni relu(ini.string());
  EXPECT_FALSE(relu.SectionExiste("Part"));
  EXPECT_EQ(relu.LitEntier("CASSE", "Baud", 0), 4800);
  EXPECT_EQ(relu.LitTexte("BuretteRS232", "dVMax", ""), "0.7");
  TBaseAppareils& relue = Charge();
  EXPECT_EQ(relue.ListeAppareils.size(), 7u);
  EXPECT_NE(relue.ChercheAppareil("CASSE"), nullptr);
}

TEST_F(Base, SauveBuretteEcritSaSection) {
  Ecrit("[Index]\n0=A\n");
  TBaseAppareils& b = Charge();
  b.Burette().VolumeMax = 0.8;
  b.Burette().ecartSensible = 0.25;
  ASSERT_TRUE(b.SauveBurette());
  TBaseAppareils& relue = Charge();
  EXPECT_DOUBLE_EQ(relue.Burette().VolumeMax, 0.8);
  EXPECT_DOUBLE_EQ(relue.Burette().ecartSensible, 0.25);
}

TEST_F(Base, UnEchecDEcritureEstSignaleEtLAncienFichierReste) {
  CopieLivree();
  TBaseAppareils& b = Charge();
  fs::remove(ini);
  fs::create_directory(ini);  // a folder where the file should be: no rename can replace it
  EXPECT_FALSE(b.SauveAppareils());
  EXPECT_TRUE(fs::is_directory(ini));
}

// ---- another device file

TEST_F(Base, LireUnAutreFichierDAppareils) {
  CopieLivree();
  TBaseAppareils& b = Charge();
  const fs::path autre = dossier / "autres.txt";
  ASSERT_TRUE(EcritFichierSur(autre.string(), Utf8VersCp1252("[Index]\n0=Zeta\n1=Delta\n2=Mu\n3=Alpha\n4=Alpha\n"
                                                                 "[Mu]\nNom=Conductance\nSymbole=G\n")));
  b.LitFichierAppareils(autre.string());
  // The first two keep their places; no built-in model, no renaming.
  EXPECT_EQ(Noms(b.ListeAppareilsFichier), (std::vector<std::string>{"Zeta", "Delta", "Alpha", "Alpha", "Mu"}));
  EXPECT_EQ(b.ListeGrandeursFichier, (std::vector<std::string>{"tension", "conductivité"}));
  EXPECT_EQ(b.ListeAppareilsFichier[4]->SymboleGrandeur, "σ");
  // The database itself is untouched.
  EXPECT_EQ(b.ListeAppareils.size(), TFichierIni(BaseLivree).Cles("Index").size() + 5);
  b.LitFichierAppareils((dossier / "absent.ini").string());
  EXPECT_TRUE(b.ListeAppareilsFichier.empty());
  EXPECT_TRUE(b.ListeGrandeursFichier.empty());
}

// ---- the shipped database, section by section

class BaseLivreeSections : public AvecRegional, public testing::WithParamInterface<char> {};

TEST_P(BaseLivreeSections, ChaqueSectionSeRelitALIdentique) {
  regional.separateur = GetParam();
  const TFichierIni livree(BaseLivree);
  ASSERT_TRUE(livree.Lisible());
  std::vector<std::string> noms;
  for (const std::string& cle : livree.Cles("Index")) noms.push_back(livree.LitTexte("Index", cle, ""));
  for (const std::string& nom : noms) {
    SCOPED_TRACE(nom);
    ASSERT_TRUE(livree.SectionExiste(nom));
    Tappareil a;
    a.LitIni(nom, livree);
    TFichierIni ecrite = TFichierIni::DepuisTexte("e.ini", "");
    a.EcritIni(ecrite);
    Tappareil b;
    b.LitIni(nom, ecrite);
    EXPECT_EQ(Section(b), Section(a));
    EXPECT_EQ(b.Demande, a.Demande);
    EXPECT_EQ(b.TexteVerif, a.TexteVerif);
    EXPECT_EQ(b.Derive, a.Derive);
  }
  // Every model has its comment line naming what it follows, right above it.
  const std::string texte = Cp1252VersUtf8(Octets(BaseLivree));
  for (const std::string& nom : noms) {
    const auto entete = texte.find("\r\n[" + nom + "]\r\n");
    ASSERT_NE(entete, std::string::npos) << nom;
    const auto debutLigne = texte.rfind("\r\n", entete - 1);
    EXPECT_EQ(texte.substr(debutLigne + 2, 2), "; ") << nom;
  }
}

INSTANTIATE_TEST_SUITE_P(Separateurs, BaseLivreeSections, testing::Values('.', ','),
                         [](const testing::TestParamInfo<char>& i) { return i.param == ',' ? "Virgule" : "Point"; });

// Frames in the layouts the shipped models follow, decoded with those models.
struct CasTrame {
  const char* nom;
  const char* modele;
  const char* trame;
  double valeur;
};
void PrintTo(const CasTrame& c, std::ostream* os) { *os << c.nom; }

class BaseLivreeTrames : public AvecRegional, public testing::WithParamInterface<CasTrame> {};

TEST_P(BaseLivreeTrames, LaValeurEstLue) {
  const CasTrame& c = GetParam();
  const TFichierIni livree(BaseLivree);
  ASSERT_TRUE(livree.SectionExiste(c.modele)) << c.modele;
  Tappareil a;
  a.LitIni(c.modele, livree);
  ASSERT_FALSE(a.EnvoiDirect);
  a.ChaineLue = c.trame;
  a.SetValeurCourante();
  EXPECT_NEAR(a.ValeurCourante, c.valeur, 1e-9 * std::max(1.0, std::fabs(c.valeur))) << c.trame;
}

INSTANTIATE_TEST_SUITE_P(
    Cas, BaseLivreeTrames,
    testing::Values(
        CasTrame{"MtSicsStable", "Balance Mettler Toledo (MT-SICS)", "S S     100.00 g\r", 100.0},
        CasTrame{"MtSicsDynamiqueNegatif", "Balance Mettler Toledo (MT-SICS)", "S D     -12.34 g\r", -12.34},
        CasTrame{"Sartorius", "Balance Sartorius (SBI)", "+   253.45 g  \r", 253.45},
        CasTrame{"SartoriusNegatif", "Balance Sartorius (SBI)", "-     12.3 g  \r", -12.3},
        CasTrame{"SartoriusEntier", "Balance Sartorius (SBI)", "+      1200 g  \r", 1200},
        CasTrame{"Wp80Ph", "TPS WP-80 (pH)", "   0    7.02pH     25.0oC   29/01/95  13:19:57\r", 7.02},
        CasTrame{"Wp80Temperature", "TPS WP-80 (T)", "   0    7.02pH     25.0oC   29/01/95  13:19:57\r", 25.0},
        CasTrame{"Tps901", "TPS 901-PH", "  7.02pH    25.0oC\r", 7.02},
        CasTrame{"Wp81Micro", "TPS WP-81 (conductivité)", "   0  1413uS   7.02pH  25.0oC 29/01/95 13:19:57\r",
                 1413e-6},
        CasTrame{"Wp81Milli", "TPS WP-81 (conductivité)", "   0 12.88mS   7.02pH  25.0oC 29/01/95 13:19:57\r",
                 12.88e-3},
        CasTrame{"Fluke1522", "Fluke 1522 (température)", "t:25.587 C\r", 25.587},
        CasTrame{"Fluke1522Negatif", "Fluke 1522 (température)", "t:-14.653 C\r", -14.653},
        CasTrame{"Hp34401a", "HP 34401A (tension continue)", "+1.23456789E+00\r", 1.23456789},
        CasTrame{"Hp34401aMilli", "HP 34401A (tension continue)", "-4.56780000E-03\r", -4.5678e-3},
        CasTrame{"BancPh", "Banc virtuel pH-mètre", " 7.02\r", 7.02},
        CasTrame{"BancPhAcide", "Banc virtuel pH-mètre", " 1.70\r", 1.70},
        CasTrame{"BancMv", "Banc virtuel pH-mètre (mV)", "  -1.2\r", -1.2},
        CasTrame{"BancTemperature", "Banc virtuel pH-mètre (T)", " 25.0\r", 25.0},
        CasTrame{"BancBalance", "Banc virtuel balance", "S S     100.00 g\r", 100.0}),
    NomDuCas());

// The eight printed lines of a self-transmitting pH meter, gathered as the reception
// does for a meter that transmits on its own (the last NbreLignes lines are kept and
// each completed line is decoded), in pieces of eight bytes.
void RecoitEnContinu(Tappareil& a, const std::string& octets, std::vector<double>& valeurs) {
  for (std::size_t i = 0; i < octets.size(); i += 8) {
    std::string& B = a.ChaineLue;
    B += octets.substr(i, 8);
    auto retours = [&] { return static_cast<std::size_t>(std::count(B.begin(), B.end(), '\r')); };
    while (retours() > a.NbreLignes) B.erase(0, B.find('\r') + 1);
    if (!B.empty() && B.front() == '\n') B.erase(0, 1);
    if (retours() >= a.NbreLignes) {
      a.SetValeurCourante();
      valeurs.push_back(a.ValeurCourante);
    }
  }
}

const std::string ImpressionWtw =
    "02.01.2011  22:57:15\r\npH 3310\r\nNo.s\xE9r 08510607\r\n\r\nNum\xE9ro ID: 1\r\n"
    "pH 7.37 17.6\xB0" "C, AR, +++\r\n" + std::string(23, '_') + "\r\n\r\n";

class BaseLivreeImpression : public AvecRegional, public testing::WithParamInterface<const char*> {};

TEST_P(BaseLivreeImpression, SeuleLaLigneDeMesureDonneLaValeur) {
  const TFichierIni livree(BaseLivree);
  Tappareil a;
  a.LitIni(GetParam(), livree);
  ASSERT_TRUE(a.EnvoiDirect);
  a.ValeurCourante = PasDeValeur;
  std::vector<double> valeurs;
  for (int impression = 0; impression < 3; ++impression) RecoitEnContinu(a, ImpressionWtw, valeurs);
  EXPECT_DOUBLE_EQ(a.ValeurCourante, 7.37);
  // The model line "pH 3310" and the others never give a value of their own.
  for (double v : valeurs) {
    if (!std::isnan(v)) {
      EXPECT_DOUBLE_EQ(v, 7.37);
    }
  }
  EXPECT_FALSE(a.depassement);
}

INSTANTIATE_TEST_SUITE_P(Modeles, BaseLivreeImpression,
                         testing::Values("WTW pH 3310", "pH-mètre WTW 3310 (simulation)",
                                         "Banc virtuel pH-mètre à impression"),
                         [](const testing::TestParamInfo<const char*>& i) { return "Modele" + std::to_string(i.index); });

TEST(BaseLivree, LaSimulationPorteLeNomQueLeProgrammeReconnait) {
  const TFichierIni livree(BaseLivree);
  int simulations = 0;
  for (const std::string& cle : livree.Cles("Index"))
    if (livree.LitTexte("Index", cle, "").find("WTW 3310") != std::string::npos) ++simulations;
  // The real meter must not be taken for the simulation, which opens no port.
  EXPECT_EQ(simulations, 1);
}

}  // namespace
