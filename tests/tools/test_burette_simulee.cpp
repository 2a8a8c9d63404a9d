// The bench's motorised burette byte for byte, and the titration chemistry and
// electrode its pH meter reads; the pair as the catalogue serves them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>
#include <string>

#include "banc/burette_simulee.h"
#include "banc/catalogue.h"
#include "banc/phmetre.h"
#include "banc/titrage.h"

namespace {

// Sends a command at `ms` and collects what the burette has sent by `jusqua`.
std::string Echange(TInstrumentBanc& b, std::int64_t ms, const std::string& commande, std::int64_t jusqua) {
  b.Recoit(ms, commande + "\r\n");
  std::string r;
  for (std::int64_t t = ms; t <= jusqua; ++t) r += b.Sortie(t);
  return r;
}

// ---- the burette

struct CasCommande {
  const char* nom;
  const char* commande;
  const char* reponse;
};
void PrintTo(const CasCommande& c, std::ostream* os) { *os << c.nom; }

class BuretteSimuleeCommandes : public testing::TestWithParam<CasCommande> {};

TEST_P(BuretteSimuleeCommandes, Reponse) {
  TBuretteSimulee b;
  EXPECT_EQ(Echange(b, 0, GetParam().commande, 200), GetParam().reponse);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, BuretteSimuleeCommandes,
    testing::Values(CasCommande{"Identification", "01RH", "01TITRONIC universal V 1.04\r\n"},
                    CasCommande{"IdentificationAutreAdresse", "05RH", "05TITRONIC universal V 1.04\r\n"},
                    CasCommande{"Capacite", "01RA", "01RA:20 mL\r\n"},
                    CasCommande{"Statut", "01RS", "01READY\r\n"},
                    CasCommande{"Vitesse", "01GDM10,0", "01Y\r\n"},
                    CasCommande{"VitesseHorsLimites", "01GDM500,0", "01ERROR\r\n"},
                    CasCommande{"Mode", "01MO2", "01Y\r\n"},
                    CasCommande{"Volume", "01VO", "01V=  0.000\r\n"},
                    CasCommande{"DosagePasUnNombre", "01DAabc", "01ERROR\r\n"},
                    CasCommande{"DosageTropGrand", "01DA25.00", "01ERROR\r\n"},
                    CasCommande{"Inconnue", "01XYZ", "01ERROR\r\n"},
                    CasCommande{"ToutesLesBurettes", "99MO2", "99Y\r\n"},
                    CasCommande{"AutreAdresse", "02MO2", ""}),
    [](const testing::TestParamInfo<CasCommande>& i) { return std::string(i.param.nom); });

TEST(BuretteSimulee, LesOctetsPartentALaVitesseDeLaLigne) {
  TBuretteSimulee b;
  b.Recoit(0, "01MO2\r\n");
  // 20 ms, then 5 characters of 10 bits at 4800 bauds (about 2.1 ms each).
  EXPECT_EQ(b.Sortie(20), "");
  EXPECT_EQ(b.Sortie(23), "0");
  EXPECT_EQ(b.Sortie(31), "1Y\r\n");
}

TEST(BuretteSimulee, VerserPrendLeTempsDuDebitEtLaBuretteEstOccupee) {
  TBuretteSimulee b;
  EXPECT_EQ(Echange(b, 0, "01DA1.50", 100), "01Y\r\n");
  // 1.5 mL at 10 mL/min: 9 s.
  EXPECT_EQ(Echange(b, 4400, "01RS", 4500), "01BUSY\r\n");
  EXPECT_EQ(Echange(b, 4500, "01VO", 4600), "01V=  0.750\r\n");
  EXPECT_EQ(Echange(b, 4700, "01DA0.10", 4800), "01BUSY\r\n");
  EXPECT_EQ(Echange(b, 9100, "01RS", 9200), "01READY\r\n");
  EXPECT_EQ(Echange(b, 9200, "01VO", 9300), "01V=  1.500\r\n");
  // A faster speed shortens the next addition.
  EXPECT_EQ(Echange(b, 9300, "01GDM30,0", 9400), "01Y\r\n");
  EXPECT_EQ(Echange(b, 9400, "01DA1.00", 9500), "01Y\r\n");
  EXPECT_EQ(Echange(b, 11500, "01VO", 11600), "01V=  2.500\r\n");
}

TEST(BuretteSimulee, RemplissageEtAdresse) {
  TBuretteSimulee b;
  b.SetAdresse("07");
  EXPECT_EQ(Echange(b, 0, "01MO2", 100), "");
  EXPECT_EQ(Echange(b, 100, "99AA01", 200), "99Y\r\n");
  EXPECT_EQ(b.Adresse(), "01");
  EXPECT_EQ(Echange(b, 200, "01DA2.00", 300), "01Y\r\n");
  EXPECT_EQ(Echange(b, 20000, "01BF", 20100), "01Y\r\n");
  EXPECT_EQ(Echange(b, 21000, "01RS", 21100), "01BUSY\r\n");
  EXPECT_EQ(Echange(b, 25100, "01RS", 25200), "01READY\r\n");
  EXPECT_EQ(Echange(b, 25200, "01BN", 25300), "01Y\r\n");
  EXPECT_EQ(Echange(b, 25300, "01VO", 25400), "01V=  0.000\r\n");
}

TEST(BuretteSimulee, DefautsCommandes) {
  TBuretteSimulee b;
  b.SetErreurAuDemarrage(true);
  EXPECT_EQ(Echange(b, 0, "01RH", 100), "ERROR\r\n");
  EXPECT_EQ(Echange(b, 100, "01RH", 200), "01TITRONIC universal V 1.04\r\n");
  b.SetUniverselle(false);
  b.SetReponseCapacite("RA:xx mL");
  EXPECT_EQ(Echange(b, 200, "01RH", 300), "01TITRONIC V 2.00\r\n");
  EXPECT_EQ(Echange(b, 300, "01RA", 400), "01RA:xx mL\r\n");
  b.SetMuette(true);
  EXPECT_EQ(Echange(b, 400, "01RH", 500), "");
  EXPECT_EQ(b.ProchainInstant(), std::nullopt);
}

// ---- the titration

TEST(Titrage, CourbeDeLAcideFortParLaBaseForte) {
  const TTitrage t;  // 10 mL of HCl 0.1 mol/L and 40 mL of water, NaOH 0.1 mol/L
  EXPECT_DOUBLE_EQ(t.VolumeEquivalence(), 10.0);
  EXPECT_NEAR(t.PhEquilibre(0), 1.699, 0.001);
  EXPECT_NEAR(t.PhEquilibre(5), -std::log10(0.5e-3 / 55e-3), 1e-9);
  EXPECT_NEAR(t.PhEquilibre(10), 7.0, 1e-9);
  EXPECT_NEAR(t.PhEquilibre(20), 14 + std::log10(1e-3 / 70e-3), 1e-6);
  double avant = 0;
  for (double v = 0; v <= 20; v += 0.05) {
    const double ph = t.PhEquilibre(v);
    EXPECT_GT(ph, avant) << v;
    avant = ph;
  }
  EXPECT_GT(t.PhEquilibre(10.1) - t.PhEquilibre(9.9), 5);
}

TEST(Titrage, AcideFaible) {
  TSolutionTitree s;
  s.pKa = 4.76;  // ethanoic acid
  const TTitrage t(s);
  EXPECT_NEAR(t.PhEquilibre(5), 4.76, 0.02);  // half-equivalence
  EXPECT_GT(t.PhEquilibre(10), 8);            // the base's salt
  EXPECT_NEAR(t.PhEquilibre(0), 0.5 * (4.76 - std::log10(0.02)), 0.05);
}

TEST(Titrage, LElectrodeSeStabiliseApresChaqueAddition) {
  TTitrage t;
  EXPECT_NEAR(t.Valeur(0), t.PhEquilibre(0), 1e-12);
  t.Ajoute(1000, 6000, 1.0);  // 1 mL at 10 mL/min
  EXPECT_NEAR(t.VolumeAjoute(4000), 0.5, 1e-12);
  EXPECT_NEAR(t.Valeur(1000), t.PhEquilibre(0), 1e-12);
  const double pendant = t.Valeur(7000);
  EXPECT_GT(pendant, t.PhEquilibre(0));
  EXPECT_LT(pendant, t.PhEquilibre(1.0));
  // Within 0.005 about tau ln(reste / 0.005) later.
  EXPECT_GT(std::fabs(t.Valeur(8000) - t.PhEquilibre(1.0)), 0.005);
  EXPECT_LT(std::fabs(t.Valeur(20000) - t.PhEquilibre(1.0)), 0.005);
  // The reading does not depend on how often it is read.
  TTitrage rare;
  rare.Valeur(0);
  rare.Ajoute(1000, 6000, 1.0);
  EXPECT_NEAR(rare.Valeur(20000), t.Valeur(20000), 1e-12);
}

TEST(Titrage, LeCatalogueAssocieLaBuretteEtSonPhMetre) {
  auto burette = CreeInstrument("burette");
  auto phmetre = CreeInstrument("pH-metre-titrage");
  auto autreBurette = CreeInstrument("burette");
  ASSERT_NE(burette, nullptr);
  ASSERT_NE(phmetre, nullptr);
  const auto noms = NomsInstruments();
  EXPECT_NE(std::find(noms.begin(), noms.end(), "burette"), noms.end());
  EXPECT_NE(std::find(noms.begin(), noms.end(), "pH-metre-titrage"), noms.end());
  EXPECT_EQ(Echange(*phmetre, 0, "PH?", 100), " 1.70\r");
  EXPECT_EQ(Echange(*burette, 100, "01DA1.00", 200), "01Y\r\n");
  // Another burette has a beaker of its own.
  EXPECT_EQ(Echange(*autreBurette, 200, "01DA5.00", 300), "01Y\r\n");
  EXPECT_EQ(Echange(*phmetre, 40000, "PH?", 40100), " 1.75\r");

  // The short titration: a 10 mL burette, 5 mL of acid, past the jump after 6 mL.
  auto courte = CreeInstrument("burette-10mL");
  auto phCourt = CreeInstrument("pH-metre-titrage-5mL");
  ASSERT_NE(courte, nullptr);
  ASSERT_NE(phCourt, nullptr);
  EXPECT_NE(std::find(noms.begin(), noms.end(), "burette-10mL"), noms.end());
  EXPECT_EQ(Echange(*courte, 0, "01RA", 100), "01RA:10 mL\r\n");
  EXPECT_EQ(Echange(*courte, 100, "01DA6.00", 200), "01Y\r\n");
  EXPECT_GT(std::stod(Echange(*phCourt, 60000, "PH?", 60100)), 10);
}

}  // namespace
