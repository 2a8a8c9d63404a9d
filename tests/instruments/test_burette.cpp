// The burette on a scripted line: its section of the device file, the command
// dialogue, the additions and the choice of the next addition.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <ostream>
#include <string>
#include <vector>

#include "aides_instruments.h"
#include "instruments/burette.h"
#include "instruments/voie_appareil.h"
#include "platform/simule/boucle_simulee.h"
#include "util/ini.h"
#include "util/ticks.h"

namespace {

// A line whose far end answers each command line (without its CR LF) with the text
// the test's script gives, its bytes arriving one a millisecond after a delay.
class TVoieScriptee final : public TVoieAppareil {
public:
  explicit TVoieScriptee(TBoucleSimulee& b) : boucle(b) {}

  void PutString(std::string_view texte) override {
    if (panne) throw std::runtime_error("voie série fermée");
    envoye += texte;
    enCours += texte;
    for (auto fin = enCours.find("\r\n"); fin != std::string::npos; fin = enCours.find("\r\n")) {
      const std::string ligne = enCours.substr(0, fin);
      enCours.erase(0, fin + 2);
      commandes.push_back(ligne);
      if (script) Emet(script(ligne), delaiMs);
    }
  }
  bool CharReady() override { return !recu.empty(); }
  char GetChar() override {
    const char c = recu.front();
    recu.erase(recu.begin());
    return c;
  }
  void FlushInBuffer() override { recu.clear(); }
  void SuspendReception() override {
    ++suspensions;
    suspendue = true;
  }
  void ReprendReception() override {
    ++reprises;
    suspendue = false;
  }

  void Emet(const std::string& octets, int apresMs) {
    for (std::size_t i = 0; i < octets.size(); ++i)
      boucle.Planifie(boucle.Millisecondes() + apresMs + static_cast<std::int64_t>(i), [this, c = octets[i]] { recu += c; });
  }

  TBoucleSimulee& boucle;
  std::function<std::string(const std::string&)> script;
  int delaiMs = 20;
  bool panne = false;
  std::string envoye, enCours, recu;
  std::vector<std::string> commandes;
  int suspensions = 0, reprises = 0;
  bool suspendue = false;
};

// Answers like a burette that knows every command of the dialogue.
std::string BuretteComplaisante(const std::string& ligne) {
  const std::string adresse = ligne.substr(0, 2), ordre = ligne.substr(2);
  if (ordre == "RH") return adresse + "TITRONIC V 2.00\r\n";
  if (ordre == "RA") return adresse + "RA:20 mL\r\n";
  if (ordre == "VO") return adresse + "V=  0.000\r\n";
  return adresse + "Y\r\n";
}

class Burette : public AvecRegional {
protected:
  Burette() : voie(boucle), burette(boucle) { burette.VoieSerie = &voie; }

  void Initialise(double volumeMin = 0.05, double volumeMax = 1) {
    voie.script = BuretteComplaisante;
    ASSERT_TRUE(burette.initBurette()) << burette.erreurInit;
    burette.VolumeMin = volumeMin;
    burette.VolumeMax = volumeMax;
    voie.commandes.clear();
    voie.envoye.clear();
  }

  TBoucleSimulee boucle;
  TVoieScriptee voie;
  TburetteRS232 burette;
};

// ---- settings

TEST(BuretteCreation, ValeursParDefaut) {
  TBoucleSimulee boucle;
  const TburetteRS232 b(boucle);
  EXPECT_EQ(b.nomGrandeur, "Volume du titrant");
  EXPECT_EQ(b.SymboleGrandeur, "V");
  EXPECT_EQ(b.UniteGrandeur, "mL");
  EXPECT_EQ(b.NomAppareil, "Burette");
  EXPECT_EQ(b.ValMaxi, 20);
  EXPECT_EQ(b.Baud, 4800);
  EXPECT_EQ(b.DataBits, 7);
  EXPECT_EQ(b.StopBits, 2);
  EXPECT_EQ(b.Demande, "01V=");
  EXPECT_TRUE(b.EnvoiDirect);
  EXPECT_EQ(b.DebutNombre, 5);
  EXPECT_EQ(b.Delai, 250);
  EXPECT_EQ(b.Attente, 250);
  EXPECT_EQ(b.prefixe, "01");
  EXPECT_EQ(b.DeltatMax, 10);
  EXPECT_EQ(b.DeltatMin, 1);
  EXPECT_EQ(b.vitesseVerse, 0);
  EXPECT_EQ(b.VoieSerie, nullptr);
  EXPECT_FALSE(b.Initialisee());
}

struct CasReglage {
  const char* nom;
  const char* section;
  double volumeMin, volumeMax;
  int deltatMax;
};
void PrintTo(const CasReglage& c, std::ostream* os) { *os << c.nom; }

class BuretteReglages : public AvecRegional, public testing::WithParamInterface<CasReglage> {};

TEST_P(BuretteReglages, BornesDuFichier) {
  const CasReglage& c = GetParam();
  TBoucleSimulee boucle;
  TburetteRS232 b(boucle);
  b.LitIni("BuretteRS232", TFichierIni::DepuisTexte("b.ini", std::string("[BuretteRS232]\n") + c.section));
  EXPECT_DOUBLE_EQ(b.VolumeMin, c.volumeMin);
  EXPECT_DOUBLE_EQ(b.VolumeMax, c.volumeMax);
  EXPECT_EQ(b.DeltatMax, c.deltatMax);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, BuretteReglages,
    testing::Values(CasReglage{"SansCle", "", 0.01, 1, 5},
                    CasReglage{"TropFinEtTropGros", "dVMin=0.005\ndVMax=5\n", 0.01, 1, 5},
                    CasReglage{"EgauxDoubles", "dVMin=0.1\ndVMax=0.1\n", 0.1, 0.2, 5},
                    CasReglage{"Inverses", "dVMin=0.08\ndVMax=0.05\n", 0.08, 0.1, 5},
                    CasReglage{"DelaiCourt", "dtMax=2\n", 0.01, 1, 5},
                    CasReglage{"DelaiLong", "dtMax=100\n", 0.01, 1, 60},
                    CasReglage{"Illisibles", "dVMin=abc\ndVMax=nan\ndtMax=x\n", 0.01, 1, 5}),
    NomDuCas());

TEST_F(Burette, LitIniImposeLesChampsDuVolumeQuoiQueDiseLeFichier) {
  burette.LitIni("BuretteRS232", TFichierIni::DepuisTexte("b.ini",
                                                          "[BuretteRS232]\nFixe=1\nContinu=0\nNombreLigne=3\n"
                                                          "Demande=XX\nFiltreDepasse=1\nMini=5\nMaxi=50\n"));
  EXPECT_FALSE(burette.FormatFixe);
  EXPECT_TRUE(burette.EnvoiDirect);
  EXPECT_EQ(burette.NbreLignes, 1);
  EXPECT_EQ(burette.Demande, "01V=");
  EXPECT_FALSE(burette.FiltrageDepassement);
  EXPECT_EQ(burette.ValMini, 0);
  EXPECT_EQ(burette.ValMaxi, 50);
  EXPECT_EQ(burette.SymboleGrandeur, "v");
  EXPECT_EQ(burette.NomAppareil, "BuretteRS232");
}

TEST_F(Burette, EcritIniRelitLesMemesReglages) {
  burette.LitIni("BuretteRS232", TFichierIni::DepuisTexte("b.ini",
                                                          "[BuretteRS232]\nMaxi=50\ndVMin=0.02\ndVMax=0.4\n"
                                                          "dtMax=12\nsensibilite=0.2\nstabilite=0.03\nCom=4\n"));
  TFichierIni ini = TFichierIni::DepuisTexte("b.ini", "");
  burette.EcritIni(ini);
  EXPECT_EQ(ini.LitTexte("BuretteRS232", "Mini", "?"), "0");
  TburetteRS232 relue(boucle);
  relue.LitIni("BuretteRS232", ini);
  EXPECT_EQ(relue.ValMaxi, 50);
  EXPECT_DOUBLE_EQ(relue.VolumeMin, 0.02);
  EXPECT_DOUBLE_EQ(relue.VolumeMax, 0.4);
  EXPECT_EQ(relue.DeltatMax, 12);
  EXPECT_DOUBLE_EQ(relue.ecartSensible, 0.2);
  EXPECT_DOUBLE_EQ(relue.ecartStable, 0.03);
  EXPECT_EQ(relue.ComNumber, 4);
  TFichierIni encore = TFichierIni::DepuisTexte("b.ini", "");
  relue.EcritIni(encore);
  EXPECT_EQ(encore.Texte(), ini.Texte());
}

// ---- the dialogue

TEST_F(Burette, LitEnvoieLePrefixeEtRendLaReponseSansFinDeLigne) {
  voie.script = [](const std::string&) { return std::string("01Y\r\n"); };
  const std::int64_t debut = boucle.Millisecondes();
  EXPECT_EQ(burette.lit("BN", 9), "01Y");
  EXPECT_EQ(voie.envoye, "01BN\r\n");
  // Two line ends end the dialogue well before the time-out.
  EXPECT_LT(boucle.Millisecondes() - debut, 100);
  EXPECT_EQ(voie.suspensions, 1);
  EXPECT_EQ(voie.reprises, 1);
  EXPECT_FALSE(voie.suspendue);
  EXPECT_FALSE(burette.busy);
}

TEST_F(Burette, UneLigneVideNeTerminePasLaReponse) {
  voie.script = [](const std::string&) { return std::string("\r\n\x01" "01Y\r\n"); };
  EXPECT_EQ(burette.lit("BN", 9), "01Y");
}

TEST_F(Burette, SansReponseLeDelaiSeCompteEnTicks) {
  const std::int64_t debut = boucle.Millisecondes();
  EXPECT_EQ(burette.lit("RH", 4), "");
  const std::int64_t duree = boucle.Millisecondes() - debut;
  EXPECT_GE(duree, 4 * MillisecondesParTick);
  EXPECT_LE(duree, 6 * MillisecondesParTick);
  EXPECT_FALSE(voie.suspendue);
  EXPECT_FALSE(burette.busy);
}

TEST_F(Burette, UnDialogueLanceDepuisLAttenteRendUneReponseVide) {
  voie.script = [](const std::string&) { return std::string("01Y\r\n"); };
  std::string imbriquee = "pas appelée";
  bool busyPendant = false;
  boucle.Planifie(5, [&] {
    busyPendant = burette.busy;
    imbriquee = burette.lit("VO", 4);
  });
  EXPECT_EQ(burette.lit("BN", 9), "01Y");
  EXPECT_TRUE(busyPendant);
  EXPECT_EQ(imbriquee, "");
  EXPECT_EQ(voie.commandes.size(), 1u);
}

TEST_F(Burette, UneVoieEnPanneRendLaReceptionEtLeMessage) {
  voie.panne = true;
  EXPECT_EQ(burette.lit("RH", 4), "");
  EXPECT_EQ(burette.erreurDialogue, "voie série fermée");
  EXPECT_FALSE(voie.suspendue);
  EXPECT_FALSE(burette.busy);
}

TEST_F(Burette, SansVoieRienNEstEnvoye) {
  burette.VoieSerie = nullptr;
  EXPECT_EQ(burette.lit("RH", 4), "");
  EXPECT_FALSE(burette.ecrit("BN", 9));
  EXPECT_FALSE(burette.initBurette());
  EXPECT_EQ(burette.erreurInit, "Voie série non initialisée");
}

TEST_F(Burette, EcritAttendLAccuseDeLAdresseEnCours) {
  voie.script = [](const std::string& l) { return l.starts_with("99") ? std::string("99Y\r\n") : std::string("ERROR\r\n"); };
  EXPECT_FALSE(burette.ecrit("MO2", 6));
  burette.prefixe = "99";
  EXPECT_TRUE(burette.ecrit("AA01", 18));
}

// ---- volume

struct CasVolume {
  const char* nom;
  const char* reponse;
  double attendu;  // NaN expected when isnan
};
void PrintTo(const CasVolume& c, std::ostream* os) { *os << c.nom; }

class BuretteVolume : public Burette, public testing::WithParamInterface<CasVolume> {};

TEST_P(BuretteVolume, LectureDuVolumeVerse) {
  const CasVolume& c = GetParam();
  burette.volumeVerse = 3.5;
  voie.script = [&](const std::string&) { return std::string(c.reponse) + "\r\n"; };
  const double v = burette.volume();
  if (std::isnan(c.attendu)) {
    EXPECT_TRUE(std::isnan(v)) << v;
  } else {
    EXPECT_DOUBLE_EQ(v, c.attendu);
  }
  EXPECT_EQ(voie.envoye, "01VO\r\n");
}

INSTANTIATE_TEST_SUITE_P(Cas, BuretteVolume,
                         testing::Values(CasVolume{"Normal", "01V= 12.345", 12.345},
                                         CasVolume{"SansBlanc", "01V=0.250", 0.25},
                                         CasVolume{"UnChiffreEnFin", "01V=5", 5},
                                         CasVolume{"SansMarque", "01ERROR", 3.5},
                                         CasVolume{"SansChiffre", "01V= --", 3.5},
                                         CasVolume{"PasUnNombre", "01V=1.2.3", NAN}),
                         NomDuCas());

TEST_F(Burette, VolumeSansReponseGardeLeVolumeAttendu) {
  burette.volumeVerse = 1.25;
  EXPECT_EQ(burette.volume(), 1.25);
}

// ---- additions

TEST_F(Burette, VerseUnMultipleEntierDuVolumeMinimumEtAttendLeTempsDeVerser) {
  Initialise(0.05, 1);
  const std::int64_t debut = boucle.Millisecondes();
  ASSERT_TRUE(burette.verse(0.237));
  EXPECT_EQ(voie.envoye, "01DA0.20\r\n");
  EXPECT_NEAR(burette.deltatVerse, 1.2, 1e-12);
  EXPECT_NEAR(burette.volumeVerse, 0.2, 1e-12);
  // The acknowledgement, then 1.2 s at 10 mL/min.
  const std::int64_t duree = boucle.Millisecondes() - debut;
  EXPECT_GE(duree, 1200);
  EXPECT_LT(duree, 1300);
  EXPECT_DOUBLE_EQ(burette.tVerse, boucle.DateHeure());
  EXPECT_EQ(burette.erreurDialogue, "");
}

struct CasVerse {
  const char* nom;
  double dv, volumeMin, volumeMax;
  const char* commande;
};
void PrintTo(const CasVerse& c, std::ostream* os) { *os << c.nom; }

class BuretteVerse : public Burette, public testing::WithParamInterface<CasVerse> {};

TEST_P(BuretteVerse, CommandeEnvoyee) {
  const CasVerse& c = GetParam();
  Initialise(c.volumeMin, c.volumeMax);
  ASSERT_TRUE(burette.verse(c.dv));
  EXPECT_EQ(voie.envoye, std::string(c.commande) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Cas, BuretteVerse,
                         testing::Values(CasVerse{"Arrondi", 0.237, 0.05, 1, "01DA0.20"},
                                         CasVerse{"SansValeur", NAN, 0.05, 1, "01DA0.05"},
                                         CasVerse{"TropGrand", 5, 0.05, 1, "01DA1.00"},
                                         CasVerse{"TropPetit", 0.001, 0.05, 1, "01DA0.05"},
                                         // 0.3 / 0.1 is 2.9999999999999996 in binary reals.
                                         CasVerse{"TroisDixiemes", 0.3, 0.1, 1, "01DA0.30"},
                                         CasVerse{"SeptDixiemes", 0.7, 0.1, 1, "01DA0.70"},
                                         CasVerse{"Negatif", -2, 0.05, 1, "01DA0.05"}),
                         NomDuCas());

TEST_F(Burette, TroisDixiemesComptentPourTroisDixiemes) {
  Initialise(0.1, 1);
  burette.ValeurCourante = 1.0;
  ASSERT_TRUE(burette.verse(0.3));
  EXPECT_NEAR(burette.volumeVerse, 1.3, 1e-12);
  EXPECT_NEAR(burette.deltatVerse, 1.8, 1e-12);
}

TEST_F(Burette, VerseRefuseUneBuretteJamaisInitialisee) {
  burette.VolumeMin = 0.05;
  burette.VolumeMax = 1;
  voie.script = BuretteComplaisante;
  const std::int64_t debut = boucle.Millisecondes();
  EXPECT_FALSE(burette.verse(0.5));
  EXPECT_EQ(burette.erreurDialogue, "Burette non initialisée");
  EXPECT_EQ(voie.envoye, "");
  EXPECT_EQ(boucle.Millisecondes(), debut);
}

TEST_F(Burette, VerseApresUneInitialisationRateeDonneSaRaison) {
  voie.script = [](const std::string&) { return std::string("01???\r\n"); };
  EXPECT_FALSE(burette.initBurette());
  EXPECT_FALSE(burette.verse(0.5));
  EXPECT_EQ(burette.erreurDialogue, "Burette Schott Titronic non trouvée");
}

TEST_F(Burette, UnAccuseManquantOuTardifNEmpechePasDeVerser) {
  Initialise(0.05, 1);
  burette.ValeurCourante = 2;
  burette.volumeVerse = 2;
  // The acknowledgement comes after the command's time-out, or never.
  for (const int delai : {500, -1}) {
    SCOPED_TRACE(delai);
    voie.script = delai < 0 ? std::function<std::string(const std::string&)>() : BuretteComplaisante;
    voie.delaiMs = std::max(delai, 0);
    const std::int64_t debut = boucle.Millisecondes();
    EXPECT_TRUE(burette.verse(0.5));
    EXPECT_EQ(burette.erreurDialogue, "");
    EXPECT_DOUBLE_EQ(burette.volumeVerse, 2.5);
    // The dispensing time is waited for: 0.5 mL at 10 mL/min.
    EXPECT_GE(boucle.Millisecondes() - debut, 3000);
  }
}

TEST_F(Burette, JamaisPlusQueCeQueLaBuretteContientEncore) {
  Initialise(0.1, 1);
  burette.ValMaxi = 10;
  burette.ValeurCourante = 9.4;
  ASSERT_TRUE(burette.verse(1));
  EXPECT_EQ(voie.envoye, "01DA0.60\r\n");
  EXPECT_DOUBLE_EQ(burette.volumeVerse, 10);
}

TEST_F(Burette, TroisLecturesDuVolumeSansReponseRendentLaBuretteMuette) {
  Initialise(0.05, 1);
  burette.volumeVerse = 1.5;
  voie.script = nullptr;
  for (int k = 1; k <= 3; ++k) {
    EXPECT_FALSE(burette.Muette()) << k;
    EXPECT_DOUBLE_EQ(burette.volume(), 1.5);
  }
  EXPECT_TRUE(burette.Muette());
  EXPECT_EQ(burette.erreurDialogue, "Pas de réponse de la burette");
  // One answer and it is heard again.
  voie.script = BuretteComplaisante;
  burette.volume();
  EXPECT_FALSE(burette.Muette());
  // A reading that is refused because another dialogue runs is no silence.
  voie.script = nullptr;
  burette.volume();
  burette.volume();
  burette.busy = true;
  burette.volume();
  burette.busy = false;
  EXPECT_FALSE(burette.Muette());
}

TEST_F(Burette, DelaisDepuisLaDerniereAddition) {
  Initialise(0.05, 1);
  burette.DeltatMin = 1;
  burette.DeltatMax = 5;
  ASSERT_TRUE(burette.verse(0.05));
  boucle.Avance(1500);
  EXPECT_FALSE(burette.delaiMinEcoule());  // 1 whole second is not above 1
  boucle.Avance(600);
  EXPECT_TRUE(burette.delaiMinEcoule());
  EXPECT_FALSE(burette.delaiMaxEcoule());
  boucle.Avance(4000);
  EXPECT_TRUE(burette.delaiMaxEcoule());
}

// ---- refill

TEST_F(Burette, ResetAttendPretPuisRevientAuDosage) {
  int statuts = 0;
  voie.script = [&](const std::string& l) {
    if (l == "01RS") return std::string(++statuts < 4 ? "01BUSY\r\n" : "01READY\r\n");
    return std::string("01Y\r\n");
  };
  burette.ValeurCourante = 4;
  burette.volumeVerse = 4;
  EXPECT_TRUE(burette.reset());
  EXPECT_EQ(voie.commandes.front(), "01BF");
  EXPECT_EQ(voie.commandes.back(), "01BN");
  EXPECT_EQ(statuts, 4);
  EXPECT_EQ(burette.ValeurCourante, 0);
  EXPECT_EQ(burette.volumeVerse, 0);
}

TEST_F(Burette, ResetAttendPretMemeSansAccuseDuRemplissage) {
  // "BF" goes unacknowledged; the status says READY on the third question.
  int statuts = 0;
  voie.script = [&](const std::string& l) {
    if (l == "01RS") return std::string(++statuts < 3 ? "" : "01READY\r\n");
    return std::string(l == "01BF" ? "" : "01Y\r\n");
  };
  EXPECT_TRUE(burette.reset());
  EXPECT_EQ(statuts, 3);
  EXPECT_EQ(voie.commandes.back(), "01BN");
}

TEST_F(Burette, ResetSansBuretteAttendJusquAuDelai) {
  const std::int64_t debut = boucle.Millisecondes();
  EXPECT_FALSE(burette.reset());
  EXPECT_GE(boucle.Millisecondes() - debut, 1080 * MillisecondesParTick);
  EXPECT_EQ(burette.erreurDialogue, "Pas de réponse de la burette");
  EXPECT_EQ(voie.commandes.back(), "01BN");
}

TEST_F(Burette, ResetAbandonneApresUneMinuteSansPret) {
  voie.script = [](const std::string& l) { return std::string(l == "01RS" ? "01BUSY\r\n" : "01Y\r\n"); };
  const std::int64_t debut = boucle.Millisecondes();
  EXPECT_FALSE(burette.reset());
  const std::int64_t duree = boucle.Millisecondes() - debut;
  EXPECT_GE(duree, 1080 * MillisecondesParTick);
  EXPECT_LT(duree, 1080 * MillisecondesParTick + 1000);
  EXPECT_EQ(voie.commandes.back(), "01BN");
}

// ---- next addition

// Exact cubic V = 2 + 0.5x - 0.3x^2 + 0.04x^3 on the points: the fit finds it again.
double Cubique(double x) { return 2 + 0.5 * x - 0.3 * x * x + 0.04 * x * x * x; }
double Pente(double x) { return 0.5 - 0.6 * x + 0.12 * x * x; }
double Courbure(double x) { return -0.6 + 0.24 * x; }

class BuretteDeltaY : public Burette, public testing::WithParamInterface<int> {};

TEST_P(BuretteDeltaY, RetrouveUneCubiqueExacte) {
  const int N = GetParam();
  vecteur X{}, Y{};
  for (int i = 0; i < N; ++i) {
    X[i] = 1.0 + 10.0 * i / N;
    Y[i] = Cubique(X[i]);
  }
  burette.ecartSensible = 0.1;
  const double x = X[N - 1] + 0.1;
  const double A = std::fabs(4 * 0.01 * Courbure(x));
  const double B = std::fabs(0.1 * Pente(x));
  const double attendu = std::min(A, B);
  EXPECT_NEAR(burette.deltaY(X, Y, N), attendu, 1e-7 * std::max(1.0, attendu));
}

// Seven points fit the seven there are; eight and more the last eight.
INSTANTIATE_TEST_SUITE_P(Points, BuretteDeltaY, testing::Values(7, 8, 9, 20, 2048));

TEST_F(Burette, DeltaYSansAssezDePointsNiCourbeDefinie) {
  vecteur X{}, Y{};
  for (int i = 0; i < 10; ++i) {
    X[i] = 7.0;
    Y[i] = 0.1 * i;
  }
  EXPECT_TRUE(std::isnan(burette.deltaY(X, Y, 6)));
  EXPECT_TRUE(std::isnan(burette.deltaY(X, Y, 0)));
  // All X equal: no cubic of X goes through the volumes.
  EXPECT_TRUE(std::isnan(burette.deltaY(X, Y, 10)));
  // Three distinct values do not fix four coefficients either.
  for (int i = 0; i < 10; ++i) X[i] = 3.0 + i % 3;
  EXPECT_TRUE(std::isnan(burette.deltaY(X, Y, 10)));
  // A missing reading among the points.
  for (int i = 0; i < 10; ++i) X[i] = 3.0 + i;
  X[8] = NAN;
  EXPECT_TRUE(std::isnan(burette.deltaY(X, Y, 10)));
}

}  // namespace
