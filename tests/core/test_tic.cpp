// The main timer's tick and what hangs on it: the first poll cycle as soon as the
// channels are bound, and the check of the ports in use that stands in for a watch
// on each of them.
#include <cmath>
#include <string>
#include <vector>

#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/banc_moteur.h"

namespace {
class Tic : public TBancMoteur {};

TEST_F(Tic, PremierCycleDesQueLesVoiesSontLiees) {
  auto& ph = Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
  ModelePh("a", 3, "PH?\r", 1500);  // DeltatMin 2 s: the timer's period is 2000 ms
  Demarre();
  Voies({"a"});
  ASSERT_EQ(moteur->MinuteriePrincipale().Intervalle(), 2000);
  p.boucle.Avance(300);
  EXPECT_EQ(ph.Requetes(), 1);
  EXPECT_DOUBLE_EQ(Modele("a").ValeurCourante, 7.02);
  EXPECT_EQ(Libelle(0), "pH=7,02 ");
  // The timer keeps its rhythm: the next cycle at its first period, not earlier.
  p.boucle.Avance(1600);
  EXPECT_EQ(ph.Requetes(), 1);
  p.boucle.Avance(300);
  EXPECT_EQ(ph.Requetes(), 2);
}

TEST_F(Tic, PremierCyclePasEnDoubleNiSansMinuterie) {
  auto& ph = Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
  ModelePh("a", 3);
  Demarre();
  // A tick that comes before the posted cycle makes it needless.
  Voies({"a"});
  moteur->TimerTimer();
  p.boucle.Avance(300);
  EXPECT_EQ(ph.Requetes(), 1);
  // A dialog opened right after the binding: no cycle while the engine is suspended.
  moteur->InitAttente();
  moteur->SuspendAcq();
  p.boucle.Avance(300);
  EXPECT_EQ(ph.Requetes(), 1);
  moteur->ReprendAcq();
  // No channel: nothing to ask.
  moteur->SetNbreVoies(0);
  moteur->InitAttente();
  p.boucle.Avance(300);
  EXPECT_EQ(ph.Requetes(), 1);
}

// A device gone without a word from the system (its bytes go nowhere, none come): the
// next tick finds it, closes the port as lost and tells once, before any request.
TEST_F(Tic, PerteMuetteTrouveeAuTicSuivant) {
  auto& ph = Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
  ModelePh("a", 3);
  Demarre();
  Voies({"a"});
  p.boucle.Avance(300);
  ASSERT_DOUBLE_EQ(Modele("a").ValeurCourante, 7.02);
  TPortSerie& port = *moteur->voieSerieCin[3];
  std::vector<std::string> pertes;
  port.SetOnPerte([&](TPortSerie*, const std::string& m) { pertes.push_back(m); });

  p.serie.Ligne("/sim/com3")->DebrancheEnSilence();
  p.boucle.Avance(300);
  EXPECT_TRUE(port.Open());  // nothing told yet
  moteur->TimerTimer();
  EXPECT_FALSE(port.Open());
  EXPECT_TRUE(port.Perdu());
  p.boucle.Avance(300);
  ASSERT_EQ(pertes.size(), 1u);
  EXPECT_EQ(pertes[0], "COM3 : liaison perdue avec /sim/com3 (périphérique débranché) ; le port est fermé");
  EXPECT_EQ(ph.Requetes(), 1);
  EXPECT_TRUE(std::isnan(Modele("a").ValeurCourante));
  // The ticks after it stay quiet (the fixture fails on any error box).
  p.boucle.Avance(3000);
  EXPECT_EQ(pertes.size(), 1u);
}
}  // namespace
