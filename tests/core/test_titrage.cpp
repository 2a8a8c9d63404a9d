// A whole titration on the simulated platform: the bench burette dispenses into a
// beaker of hydrochloric acid whose pH the bench pH meter reads; the engine records a
// point once the reading is stable and chooses the next addition from the curve.
#include <cmath>

#include "banc/burette_simulee.h"
#include "banc/phmetre.h"
#include "banc/titrage.h"
#include "instruments/burette.h"
#include "core/banc_moteur.h"

namespace {
class Titrage : public TBancMoteur {
protected:
  void Prepare() {
    beche = std::make_shared<TTitrage>();
    burette = &Branche(1, std::make_unique<TBuretteSimulee>(beche));
    Branche(3, std::make_unique<TPhMetre>(beche));
    Demarre();
    moteur->ModeAcq = maBuretteRS232;
    Voies({"Banc virtuel pH-mètre"});
  }
  std::shared_ptr<TTitrage> beche;
  TBuretteSimulee* burette = nullptr;
};
}  // namespace

TEST_F(Titrage, DeAcquerirAQuatreVingtQuinzePourCent) {
  Prepare();
  TburetteRS232& B = base.Burette();
  ASSERT_TRUE(B.Initialisee()) << B.erreurInit;
  EXPECT_EQ(moteur->ModeAcq, maBuretteRS232);
  EXPECT_EQ(moteur->EtatAcq, eaAttente);
  EXPECT_DOUBLE_EQ(B.ValMaxi, 20);
  EXPECT_DOUBLE_EQ(moteur->Voie(0)->Derive, B.ecartStable);
  p.boucle.Avance(2000);  // live readings first
  ASSERT_FALSE(std::isnan(moteur->Voie(0)->ValeurCourante));

  moteur->EnregistreBtnClick();
  EXPECT_EQ(moteur->EtatAcq, eaEnCours);
  EXPECT_EQ(N(), 1);
  EXPECT_DOUBLE_EQ(X(0), 0);
  for (int s = 0; s < 4000 && moteur->EtatAcq == eaEnCours; ++s) p.boucle.Avance(1000);
  ASSERT_EQ(moteur->EtatAcq, eaTerminee);
  const int n = N();
  ASSERT_GT(n, 30);
  EXPECT_GT(X(n - 1), 0.95 * 20);

  // The equivalence point: the steepest rise of the recorded curve.
  double pente = 0, veq = 0;
  for (int k = 1; k < n; ++k) {
    const double dv = X(k) - X(k - 1);
    ASSERT_GT(dv, 0) << "volumes recorded in order, point " << k;
    const double d = (Y(0, k) - Y(0, k - 1)) / dv;
    if (d > pente) {
      pente = d;
      veq = (X(k) + X(k - 1)) / 2;
    }
  }
  EXPECT_NEAR(veq, beche->VolumeEquivalence(), 0.3);
  // Points are taken on settled readings: away from the jump each one lies near the
  // equilibrium pH of its volume.
  for (int k = 1; k < n; ++k) {
    if (std::abs(X(k) - beche->VolumeEquivalence()) < 1.5) continue;
    EXPECT_NEAR(Y(0, k), beche->PhEquilibre(X(k)), 0.1) << "point " << k << " at " << X(k) << " mL";
  }
  // Smaller steps near the equivalence point than far from it.
  double pasLoin = 0, pasPres = 1e9;
  for (int k = 1; k < n; ++k) {
    const double dv = X(k) - X(k - 1);
    if (std::abs(X(k) - beche->VolumeEquivalence()) < 0.5) pasPres = std::min(pasPres, dv);
    if (X(k) > 14) pasLoin = std::max(pasLoin, dv);
  }
  EXPECT_LT(pasPres, pasLoin);
}

TEST_F(Titrage, LaSensibiliteSeRegleSurLAxeDuPhMetre) {
  // The burette's thresholds are lowered to a hundredth of channel 0's axis (pH 0..14),
  // not of whatever axis the channel had before its instrument was put on it.
  base.Burette().ecartSensible = 0.1;
  base.Burette().ecartStable = 0.5;
  Prepare();
  EXPECT_DOUBLE_EQ(base.Burette().ecartSensible, 0.1);
  EXPECT_DOUBLE_EQ(base.Burette().ecartStable, 0.14);
  EXPECT_DOUBLE_EQ(moteur->Voie(0)->Derive, 0.14);
}

TEST_F(Titrage, BuretteMuetteArreteLeDosage) {
  Prepare();
  p.boucle.Avance(2000);
  moteur->EnregistreBtnClick();
  p.boucle.Avance(30000);
  ASSERT_EQ(moteur->EtatAcq, eaEnCours);
  burette->SetMuette(true);
  for (int s = 0; s < 200 && moteur->EtatAcq == eaEnCours; ++s) p.boucle.Avance(1000);
  EXPECT_EQ(moteur->EtatAcq, eaTerminee);
  EXPECT_EQ(p.dialogue.Messages().back(), "Pas de réponse de la burette");
}

TEST_F(Titrage, UnAccuseTardifNArretePasLeDosage) {
  Prepare();
  burette->SetDelaiAccuseVerse(800);  // later than the 6 ticks the command waits
  p.boucle.Avance(2000);
  moteur->EnregistreBtnClick();
  for (int s = 0; s < 120 && moteur->EtatAcq == eaEnCours; ++s) p.boucle.Avance(1000);
  EXPECT_EQ(moteur->EtatAcq, eaEnCours);
  EXPECT_GT(N(), 5);
  for (const auto& m : p.dialogue.Messages()) EXPECT_NE(m, "Pas de réponse de la burette");
}

TEST_F(Titrage, BuretteOuPhMetrePerdusArretentLeDosageEtLeDisent) {
  for (const int perdu : {1, 3}) {
    SCOPED_TRACE(perdu);
    Prepare();
    p.boucle.Avance(2000);
    moteur->EnregistreBtnClick();
    p.boucle.Avance(20000);
    ASSERT_EQ(moteur->EtatAcq, eaEnCours);
    const int n = N();
    p.dialogue.VideJournal();
    p.serie.Ligne("/sim/com" + std::to_string(perdu))->Debranche();
    p.boucle.Avance(1000);
    EXPECT_EQ(moteur->EtatAcq, eaTerminee);
    EXPECT_EQ(N(), n);  // what was recorded stays
    const auto messages = p.dialogue.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("COM" + std::to_string(perdu) + " : liaison perdue", 0), 0u) << messages[0];
    moteur.reset();
    p.serie.Ligne("/sim/com" + std::to_string(perdu))->Rebranche();
  }
}

// Switched off and on again, a burette forgets the address and the mode it was given:
// once its port is back, the next titration identifies it again before dispensing.
TEST_F(Titrage, BuretteRebrancheeEstIdentifieeDeNouveau) {
  for (const bool pendantLeDosage : {true, false}) {
    SCOPED_TRACE(pendantLeDosage);
    Prepare();
    p.boucle.Avance(2000);
    if (pendantLeDosage) {
      moteur->EnregistreBtnClick();
      p.boucle.Avance(20000);
      ASSERT_GE(N(), 3);
    }
    p.dialogue.VideJournal();
    p.serie.Ligne("/sim/com1")->Debranche();
    p.boucle.Avance(1000);
    ASSERT_EQ(moteur->EtatAcq, pendantLeDosage ? eaTerminee : eaAttente);
    ASSERT_EQ(p.dialogue.Messages().size(), 1u);
    burette->SetAdresse("00");  // its address at power-up
    p.serie.Ligne("/sim/com1")->Rebranche();
    p.boucle.Avance(3000);
    p.dialogue.VideJournal();
    if (pendantLeDosage) {
      p.dialogue.AttendConfirmation("Suppression de toutes les données", true);
      moteur->ResetBtnClick();
      EXPECT_EQ(burette->Adresse(), "01");
      EXPECT_EQ(moteur->EtatAcq, eaAttente);
    }
    moteur->EnregistreBtnClick();
    EXPECT_EQ(burette->Adresse(), "01");
    p.boucle.Avance(30000);
    EXPECT_EQ(moteur->EtatAcq, eaEnCours);
    EXPECT_GE(N(), 3);
    for (const auto& m : p.dialogue.Messages()) ADD_FAILURE() << m;
    moteur.reset();
  }
}

// The volume axis spans the capacity the burette gives when it is identified.
TEST_F(Titrage, AxeDesVolumesALaCapaciteDeLaBurette) {
  beche = std::make_shared<TTitrage>();
  burette = &Branche(1, std::make_unique<TBuretteSimulee>(beche));
  burette->SetCapacite(10);
  Branche(3, std::make_unique<TPhMetre>(beche));
  Demarre();
  moteur->ModeAcq = maBuretteRS232;
  Voies({"Banc virtuel pH-mètre"});
  ASSERT_TRUE(base.Burette().Initialisee());
  EXPECT_DOUBLE_EQ(base.Burette().ValMaxi, 10);
  EXPECT_DOUBLE_EQ(moteur->Graphe->mondeX.maxi, 10);
}

TEST_F(Titrage, PasDeBuretteSurLaLigneRetombeEnBaseDeTemps) {
  auto& ph = Branche(3, std::make_unique<TPhMetre>());
  Demarre();
  moteur->ModeAcq = maBuretteRS232;
  Voies({"Banc virtuel pH-mètre"});
  // The burette's port COM1 does not exist and the only one there is the pH meter's:
  // the burette is not put there, the pH meter keeps its line and its readings.
  EXPECT_EQ(moteur->ModeAcq, maTemps);
  EXPECT_NE(base.Burette().ComNumber, 3);
  const auto messages = p.dialogue.Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "Problème voie série Burette");
  EXPECT_EQ(moteur->voieSerieCin[3]->Baud(), 2400);
  p.boucle.Avance(3000);
  EXPECT_FALSE(std::isnan(moteur->Voie(0)->ValeurCourante));
  EXPECT_GE(ph.Requetes(), 2);
}
