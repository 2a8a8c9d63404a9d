// A cable pulled out and put back during an acquisition or while waiting: the port is
// tried again at the acquisition's own rhythm, its instrument gets its initialisation
// again, the cycle goes on, and nothing is recorded from a stale value meanwhile.
#include <cmath>
#include <string>

#include "banc/catalogue.h"
#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/banc_moteur.h"

namespace {
class Rebranchement : public TBancMoteur {
protected:
  void UnPhMetre(TModeAcq mode) {
    auto grandeur = std::make_shared<TValeurFixe>(7.02);
    ph_ = grandeur;
    Branche(3, std::make_unique<TPhMetre>(grandeur));
    Tappareil& a = ModelePh("a", 3);
    a.ChaineInit = "INIT\r";
    a.InitialisationAfaire = true;
    Demarre();
    moteur->ModeAcq = mode;
    Voies({"a"});
    p.boucle.Avance(300);
  }
  TLigneSimulee& Ligne() { return *p.serie.Ligne("/sim/com3"); }
  // Pulled out, one tick without the device, then put back with another reading.
  void Debranche() {
    Ligne().Debranche();
    p.boucle.Avance(1300);
  }
  void Rebranche() {
    ph_->Change(4.01);
    Ligne().EffaceRecu();
    Ligne().Rebranche();
    p.boucle.Avance(1300);
  }
  void ModeAvecMinuterie(TModeAcq mode) {
    UnPhMetre(mode);
    auto point = [&] {
      if (mode == maIncrement) moteur->EnregistreBtnClick();
      if (mode == maClavier) {
        moteur->Vue().SetTexte(ctl::ClavierEdit, "3");
        moteur->ValideClavierBtnClick();
      }
    };
    ASSERT_DOUBLE_EQ(moteur->Voie(0)->ValeurCourante, 7.02);
    Debranche();
    EXPECT_TRUE(std::isnan(moteur->Voie(0)->ValeurCourante));
    point();
    EXPECT_EQ(N(), 0);
    Rebranche();
    EXPECT_DOUBLE_EQ(moteur->Voie(0)->ValeurCourante, 4.01);
    EXPECT_EQ(Ligne().Recu().rfind("INIT\r", 0), 0u) << Ligne().Recu();
    point();
    EXPECT_EQ(N(), mode == maTemps ? 0 : 1);
    EXPECT_NE(Statut().find("COM3 perdu à "), std::string::npos) << Statut();
  }
  std::string Statut() const { return moteur->Vue().Statut(1); }
  std::shared_ptr<TValeurFixe> ph_;
};
}  // namespace

TEST_F(Rebranchement, BaseDeTempsReprendSansValeurPerimee) {
  UnPhMetre(maTemps);
  moteur->DureeMesure = 60;
  moteur->EnregistreBtnClick();
  p.boucle.Avance(3500);
  const int avant = N();
  ASSERT_GE(avant, 3);

  Ligne().Debranche();
  p.boucle.Avance(3000);
  EXPECT_EQ(N(), avant);  // no point while the device is away
  EXPECT_TRUE(std::isnan(moteur->Voie(0)->ValeurCourante));
  EXPECT_EQ(Libelle(0), "pH=?");
  EXPECT_EQ(Statut().rfind("COM3 perdu à ", 0), 0u) << Statut();
  EXPECT_NE(Statut().find(" : nouvel essai à chaque mesure"), std::string::npos) << Statut();

  Rebranche();
  p.boucle.Avance(2000);
  ASSERT_GT(N(), avant);
  EXPECT_EQ(Ligne().Recu().rfind("INIT\r", 0), 0u) << Ligne().Recu();
  EXPECT_NE(Statut().find(", rétabli à "), std::string::npos) << Statut();
  EXPECT_EQ(moteur->EtatAcq, eaEnCours);
  // The points taken before are kept, those after carry the new reading, and the gap
  // shows in the times.
  for (int k = 0; k < avant; ++k) EXPECT_DOUBLE_EQ(Y(0, k), 7.02) << k;
  for (int k = avant; k < N(); ++k) EXPECT_DOUBLE_EQ(Y(0, k), 4.01) << k;
  EXPECT_GE(X(avant) - X(avant - 1), 3);
}

// Waiting, space bar, keyboard entry: the same tick brings the channel back, and a
// point asked for while it is lost is not made.
TEST_F(Rebranchement, EnAttente) { ModeAvecMinuterie(maTemps); }
TEST_F(Rebranchement, BarreDEspace) { ModeAvecMinuterie(maIncrement); }
TEST_F(Rebranchement, EntreeClavier) { ModeAvecMinuterie(maClavier); }

// The master-channel mode: its tick only watches the ports, and the master's frames
// look at the other channels' ports too (here a second self-transmitting meter).
TEST_F(Rebranchement, AppareilMaitreRebrancheUneAutreVoie) {
  Branche(4, CreeInstrument("pH-metre-continu"));
  Branche(3, CreeInstrument("pH-metre-continu"));
  const std::string maitre = "Banc virtuel pH-mètre à impression";
  Tappareil& b = Modele("b");
  b.Assign(*base.ChercheAppareil(maitre));
  b.NomAppareil = "b";
  b.ComNumber = 3;
  base.ChercheAppareil(maitre)->ComNumber = 4;
  Demarre();
  moteur->ModeAcq = maAppareilMaitre;
  moteur->Graphe->AbscisseMaitre = amIndex;
  Voies({maitre, "b"});
  p.boucle.Avance(2500);
  moteur->EnregistreBtnClick();
  p.boucle.Avance(3000);
  const int avant = N();
  ASSERT_GE(avant, 2);
  ASSERT_FALSE(std::isnan(Y(1, avant - 1)));

  Ligne().Debranche();
  p.boucle.Avance(1500);
  const int pendant = N();
  EXPECT_LE(pendant, avant + 1);  // a frame of the master may come before anyone knew
  EXPECT_TRUE(std::isnan(moteur->Voie(1)->ValeurCourante));
  p.boucle.Avance(3000);
  EXPECT_EQ(N(), pendant);
  Ligne().Rebranche();
  p.boucle.Avance(3000);
  ASSERT_GT(N(), pendant);
  EXPECT_FALSE(std::isnan(Y(1, N() - 1)));
  EXPECT_NE(Statut().find(", rétabli à "), std::string::npos) << Statut();
}

// An instrument that floods its line without ever ending a line (a wrong baud rate, a
// stuck transmitter): every buffer on the way stays within its size.
TEST_F(Rebranchement, FluxSansFinDeLigneBorne) {
  UnPhMetre(maTemps);
  moteur->EnregistreBtnClick();
  TPortSerie& port = *moteur->voieSerieCin[3];
  ASSERT_EQ(port.Tracing(), tlOn);
  const std::string bloc(4096, 'x');
  for (int i = 0; i < 1500; ++i) {  // 6 MB, at the pace the loop takes them
    Ligne().Emet(bloc);
    p.boucle.Avance(5);
    ASSERT_LE(port.InBuffUsed(), port.InSize());
    ASSERT_LE(moteur->Voie(0)->ChaineLue.size(), TCinetiqueMain::ChaineLueMaxi);
  }
  EXPECT_EQ(moteur->Voie(0)->ChaineLue.size(), TCinetiqueMain::ChaineLueMaxi);
  EXPECT_LE(port.TraceUsed(), port.TraceSize());
  EXPECT_EQ(port.TraceUsed(), port.TraceSize());  // full, and no more
  EXPECT_LE(port.LogUsed(), port.LogSize());
  EXPECT_EQ(moteur->EtatAcq, eaEnCours);
}

TEST_F(Rebranchement, AppareilMaitreLuiMemeRebranche) {
  Branche(4, CreeInstrument("pH-metre-continu"));
  Demarre();
  moteur->ModeAcq = maAppareilMaitre;
  moteur->Graphe->AbscisseMaitre = amIndex;
  Voies({"Banc virtuel pH-mètre à impression"});
  p.boucle.Avance(2500);
  moteur->EnregistreBtnClick();
  p.boucle.Avance(3000);
  const int avant = N();
  ASSERT_GE(avant, 2);
  TLigneSimulee& ligne = *p.serie.Ligne("/sim/com4");
  ligne.Debranche();
  p.boucle.Avance(4000);
  EXPECT_EQ(N(), avant);
  EXPECT_TRUE(std::isnan(moteur->Voie(0)->ValeurCourante));
  EXPECT_EQ(Statut().rfind("COM4 perdu à ", 0), 0u) << Statut();
  ligne.Rebranche();
  p.boucle.Avance(4000);
  EXPECT_GT(N(), avant);
  EXPECT_NE(Statut().find(", rétabli à "), std::string::npos) << Statut();
  // Numbered on from where the points stopped.
  EXPECT_DOUBLE_EQ(X(avant), avant + 1);
}
