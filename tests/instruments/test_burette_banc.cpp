// The burette against the bench's simulated burette, on a simulated serial line and
// port: initialisation in its variants, additions, read-back, refill, a burette that
// falls silent, and a titration whose pH meter follows what was dispensed.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "aides_instruments.h"
#include "banc/burette_simulee.h"
#include "banc/jonction_simulee.h"
#include "banc/phmetre.h"
#include "banc/titrage.h"
#include "instruments/burette.h"
#include "links/port_serie.h"
#include "platform/simule/serie_simulee.h"
#include "util/ticks.h"

namespace {

int Occurrences(const std::string& texte, const std::string& motif) {
  int n = 0;
  for (auto p = texte.find(motif); p != std::string::npos; p = texte.find(motif, p + 1)) ++n;
  return n;
}

class BuretteSurBanc : public AvecRegional {
protected:
  BuretteSurBanc()
      : titrage(std::make_shared<TTitrage>()),
        simulee(titrage),
        phmetre(titrage),
        serie(boucle),
        ligneBurette(serie.AjouteLigne("/sim/burette")),
        lignePh(serie.AjouteLigne("/sim/ph")),
        table(serie, nullptr,
              [](const std::string& nom) -> std::optional<std::string> {
                if (nom == TTablePorts::Variable) return std::string("COM1=/sim/burette;COM3=/sim/ph");
                return std::nullopt;
              }),
        portBurette(serie, boucle, table, 1),
        portPh(serie, boucle, table, 3),
        burette(boucle) {
    portBurette.SetAutoOpen(false);
    portBurette.SetBaud(4800);
    portBurette.SetDataBits(7);
    portBurette.SetStopBits(2);
    // The acquisition's own reception, which the dialogue sets aside and gives back.
    portBurette.SetOnTriggerAvail({this, [this](TPortSerie* p, std::uint16_t n) {
                                     for (int i = 0; i < n && p->CharReady(); ++i) horsDialogue += p->GetChar();
                                   }});
    portPh.SetAutoOpen(false);
    portPh.SetBaud(2400);
    portPh.SetOnTriggerAvail({this, [this](TPortSerie* p, std::uint16_t n) {
                                for (int i = 0; i < n && p->CharReady(); ++i) recuPh += p->GetChar();
                              }});
    burette.VoieSerie = &portBurette;
    burette.VolumeMin = 0.05;
    burette.VolumeMax = 1;
  }

  void Ouvre() {
    jonctionBurette = std::make_unique<TJonctionSimulee>(boucle, ligneBurette, simulee);
    jonctionPh = std::make_unique<TJonctionSimulee>(boucle, lignePh, phmetre);
    portBurette.SetOpen(true);
    portPh.SetOpen(true);
  }

  // The pH the bench's meter answers now.
  double PhLu() {
    recuPh.clear();
    portPh.PutString("PH?\r");
    const std::int64_t fin = boucle.Millisecondes() + 200;
    while (recuPh.find('\r') == std::string::npos && boucle.Millisecondes() < fin) boucle.TraiteEvenements(20);
    return std::stod(recuPh);
  }

  std::shared_ptr<TTitrage> titrage;
  TBuretteSimulee simulee;
  TPhMetre phmetre;
  TBoucleSimulee boucle;
  TSerieSimulee serie;
  TLigneSimulee& ligneBurette;
  TLigneSimulee& lignePh;
  TTablePorts table;
  TPortSerie portBurette;
  TPortSerie portPh;
  std::unique_ptr<TJonctionSimulee> jonctionBurette, jonctionPh;
  TburetteRS232 burette;
  std::string horsDialogue, recuPh;
};

// ---- initialisation

TEST_F(BuretteSurBanc, UneBuretteUniversellePrendSonAdresseParLAdresseCommune) {
  simulee.SetAdresse("07");
  simulee.SetCapacite(50);
  Ouvre();
  ASSERT_TRUE(burette.initBurette()) << burette.erreurInit;
  EXPECT_EQ(burette.erreurInit, "");
  EXPECT_NE(burette.identification.find("universal"), std::string::npos);
  EXPECT_EQ(simulee.Adresse(), "01");
  EXPECT_EQ(burette.prefixe, "01");
  EXPECT_EQ(burette.ValMaxi, 50);
  EXPECT_EQ(burette.vitesseVerse, 10);
  EXPECT_DOUBLE_EQ(simulee.Vitesse(), 10);
  EXPECT_TRUE(burette.Initialisee());
  const std::string& recu = ligneBurette.Recu();
  EXPECT_EQ(Occurrences(recu, "99AA01\r\n"), 1);
  for (const char* commande : {"01RA\r\n", "01GDM10,0\r\n", "01MO2\r\n"}) EXPECT_EQ(Occurrences(recu, commande), 1) << commande;
  // The answers went to the dialogue only, and the reception is back in place.
  EXPECT_EQ(horsDialogue, "");
  EXPECT_TRUE(static_cast<bool>(portBurette.OnTriggerAvail()));
  EXPECT_FALSE(burette.busy);
}

TEST_F(BuretteSurBanc, UneBuretteSimpleGardeSonAdresse) {
  simulee.SetUniverselle(false);
  Ouvre();
  ASSERT_TRUE(burette.initBurette()) << burette.erreurInit;
  EXPECT_EQ(Occurrences(ligneBurette.Recu(), "AA01"), 0);
  EXPECT_EQ(burette.ValMaxi, 20);
}

TEST_F(BuretteSurBanc, UnePremiereReponseEnErreurFaitRedemanderLIdentification) {
  simulee.SetErreurAuDemarrage(true);
  Ouvre();
  const std::int64_t debut = boucle.Millisecondes();
  ASSERT_TRUE(burette.initBurette()) << burette.erreurInit;
  EXPECT_EQ(Occurrences(ligneBurette.Recu(), "01RH\r\n"), 2);
  EXPECT_NE(burette.identification.find("TITRONIC"), std::string::npos);
  // The half-second pause between the two questions.
  EXPECT_GE(boucle.Millisecondes() - debut, 500);
}

TEST_F(BuretteSurBanc, UneBuretteQuiNeRepondPasEchoueSansBloquer) {
  simulee.SetMuette(true);
  Ouvre();
  const std::int64_t debut = boucle.Millisecondes();
  EXPECT_FALSE(burette.initBurette());
  EXPECT_EQ(burette.erreurInit, "Burette Schott Titronic non trouvée");
  EXPECT_FALSE(burette.Initialisee());
  // Two questions of four ticks and the pause: well under two seconds.
  EXPECT_LT(boucle.Millisecondes() - debut, 2000);
  EXPECT_EQ(Occurrences(ligneBurette.Recu(), "01RH\r\n"), 2);
  EXPECT_FALSE(burette.verse(0.1));
  EXPECT_EQ(burette.erreurDialogue, "Burette Schott Titronic non trouvée");
}

TEST_F(BuretteSurBanc, UneCapaciteIlisibleVautVingtMillilitres) {
  simulee.SetReponseCapacite("RA:xx mL");
  burette.ValMaxi = 50;
  Ouvre();
  ASSERT_TRUE(burette.initBurette()) << burette.erreurInit;
  EXPECT_EQ(burette.ValMaxi, 20);
}

TEST_F(BuretteSurBanc, UneCapaciteSansDeuxPointsLaisseLaValeurDuFichier) {
  simulee.SetReponseCapacite("RA 50 mL");
  burette.ValMaxi = 25;
  Ouvre();
  ASSERT_TRUE(burette.initBurette()) << burette.erreurInit;
  EXPECT_EQ(burette.ValMaxi, 25);
}

TEST_F(BuretteSurBanc, UneLigneMalRegleeNeTrouvePasLaBurette) {
  portBurette.SetDataBits(8);
  portBurette.SetStopBits(1);
  Ouvre();
  EXPECT_FALSE(burette.initBurette());
  EXPECT_EQ(burette.erreurInit, "Burette Schott Titronic non trouvée");
}

// ---- additions, read-back, refill

TEST_F(BuretteSurBanc, VerserPuisRelireLeVolume) {
  Ouvre();
  ASSERT_TRUE(burette.initBurette());
  const std::int64_t debut = boucle.Millisecondes();
  ASSERT_TRUE(burette.verse(0.237));
  EXPECT_GE(boucle.Millisecondes() - debut, 1200);
  EXPECT_FALSE(simulee.Occupee(boucle.Millisecondes()));
  EXPECT_NEAR(burette.volume(), 0.2, 1e-9);
  burette.ValeurCourante = 0.2;
  ASSERT_TRUE(burette.verse(0.3));
  EXPECT_NEAR(burette.volumeVerse, 0.5, 1e-12);
  EXPECT_NEAR(burette.volume(), 0.5, 1e-9);
  EXPECT_NEAR(titrage->VolumeAjoute(boucle.Millisecondes()), 0.5, 1e-9);
}

TEST_F(BuretteSurBanc, LeRemplissageAttendPretEtRemetLeCompteAZero) {
  Ouvre();
  ASSERT_TRUE(burette.initBurette());
  ASSERT_TRUE(burette.verse(0.5));
  const std::int64_t debut = boucle.Millisecondes();
  EXPECT_TRUE(burette.reset());
  const std::int64_t duree = boucle.Millisecondes() - debut;
  EXPECT_GE(duree, TBuretteSimulee::DureeRemplissageMs);
  EXPECT_LT(duree, TBuretteSimulee::DureeRemplissageMs + 1000);
  EXPECT_NEAR(burette.volume(), 0, 1e-12);
  // The beaker keeps what it got.
  EXPECT_NEAR(titrage->VolumeAjoute(boucle.Millisecondes()), 0.5, 1e-9);
}

TEST_F(BuretteSurBanc, UneBuretteQuiSeTaitSeVoitASesLecturesDeVolume) {
  Ouvre();
  ASSERT_TRUE(burette.initBurette());
  ASSERT_TRUE(burette.verse(0.5));
  simulee.SetMuette(true);
  boucle.Avance(5000);
  EXPECT_NEAR(titrage->VolumeAjoute(boucle.Millisecondes()), 0.5, 1e-9);
  const std::int64_t debut = boucle.Millisecondes();
  for (int k = 0; k < TburetteRS232::LecturesSansReponseMax; ++k) {
    EXPECT_FALSE(burette.Muette());
    EXPECT_DOUBLE_EQ(burette.volume(), 0.5);  // the volume expected, not a reading
  }
  EXPECT_TRUE(burette.Muette());
  EXPECT_EQ(burette.erreurDialogue, "Pas de réponse de la burette");
  EXPECT_LT(boucle.Millisecondes() - debut, 1000);
}

TEST_F(BuretteSurBanc, UnePerteDeLaLigneEstUnMessageEtPasUneException) {
  Ouvre();
  ASSERT_TRUE(burette.initBurette());
  portBurette.SetOpen(false);
  EXPECT_FALSE(burette.verse(0.5));
  EXPECT_FALSE(burette.erreurDialogue.empty());
  EXPECT_FALSE(burette.busy);
}

// ---- titration

TEST_F(BuretteSurBanc, LePhMetreSuitLeVolumeVerseEtSeStabilise) {
  Ouvre();
  ASSERT_TRUE(burette.initBurette());
  const double initial = PhLu();
  EXPECT_NEAR(initial, 1.70, 0.01);  // 10 mL of 0.1 mol/L HCl in 50 mL
  burette.VolumeMax = 1;
  for (int i = 0; i < 9; ++i) {
    burette.ValeurCourante = burette.volume();
    ASSERT_TRUE(burette.verse(1));
  }
  boucle.Avance(20000);
  EXPECT_NEAR(PhLu(), titrage->PhEquilibre(9), 0.011);
  // The jump: from 9.9 to 10.1 mL the pH crosses 7.
  burette.VolumeMin = 0.1;
  burette.ValeurCourante = burette.volume();
  ASSERT_TRUE(burette.verse(0.9));
  boucle.Avance(30000);
  const double avant = PhLu();
  EXPECT_LT(avant, 5);
  burette.ValeurCourante = burette.volume();
  ASSERT_TRUE(burette.verse(0.2));
  const double juste = PhLu();
  EXPECT_LT(juste, 9);  // the electrode has not followed yet
  boucle.Avance(30000);
  const double apres = PhLu();
  EXPECT_GT(apres, 9);
  EXPECT_NEAR(apres, titrage->PhEquilibre(10.1), 0.011);
}

// deltaY on the settled curve of the bench's titration (pH as X, volumes as Y).
TEST(DeltaYTitrage, PasPlusPetitPresDuPointEquivalent) {
  TBoucleSimulee boucle;
  TburetteRS232 b(boucle);
  b.ecartSensible = 0.1;
  const TTitrage t;
  auto pas = [&](double debut) {
    vecteur X{}, Y{};
    for (int i = 0; i < 8; ++i) {
      Y[i] = debut + 0.1 * i;
      X[i] = t.PhEquilibre(Y[i]);
    }
    return b.deltaY(X, Y, 8);
  };
  const double loin = pas(2.0), pres = pas(9.1), apres = pas(10.3);
  EXPECT_GT(loin, 0.3);
  EXPECT_LT(pres, 0.05);
  EXPECT_LT(pres, loin / 10);
  EXPECT_LT(apres, loin);
}

// A small titration driven as the engine drives it: wait for a settled pH or the
// longest delay, record the point, ask deltaY for the next addition.
TEST_F(BuretteSurBanc, LesAdditionsSeResserentAuPointEquivalent) {
  Ouvre();
  ASSERT_TRUE(burette.initBurette());
  burette.VolumeMin = 0.05;
  burette.VolumeMax = 1;
  burette.ecartSensible = 0.1;
  burette.DeltatMax = 15;
  vecteur X{}, Y{};
  int N = 0;
  std::vector<double> pas;
  while (N < 200 && burette.ValeurCourante < 16) {
    double precedent = PhLu();
    for (;;) {
      boucle.Avance(500);
      const double ph = PhLu();
      const bool stable = std::fabs(ph - precedent) < 0.01;
      precedent = ph;
      if ((stable && burette.delaiMinEcoule()) || burette.delaiMaxEcoule()) break;
    }
    X[N] = precedent;
    Y[N] = burette.ValeurCourante = burette.volume();
    ++N;
    const double dv = burette.deltaY(X, Y, N);
    const double avant = burette.ValeurCourante;
    ASSERT_TRUE(burette.verse(dv)) << burette.erreurDialogue;
    pas.push_back(burette.volumeVerse - avant);
  }
  ASSERT_GT(N, 20);
  // The largest steps far from the equivalence point, the smallest at it.
  const double veq = titrage->VolumeEquivalence();
  double pasLoin = 0, pasPres = 1;
  for (int i = 7; i < N - 1; ++i) {
    if (Y[i] < veq - 3) pasLoin = std::max(pasLoin, pas[i]);
    if (std::fabs(Y[i] - veq) < 0.3) pasPres = std::min(pasPres, pas[i]);
  }
  EXPECT_GE(pasLoin, 0.5);
  EXPECT_NEAR(pasPres, 0.05, 1e-9);
  // The recorded curve has its jump at 10 mL.
  int saut = 0;
  for (int i = 1; i < N; ++i)
    if (X[i] - X[i - 1] > X[saut] - X[saut > 0 ? saut - 1 : 0]) saut = i;
  EXPECT_NEAR(Y[saut], veq, 0.3);
}

}  // namespace
