// The polling loop: requests, gathering, shared frames, silent channels, overflow
// questions and the simulated instrument.
#include <cmath>

#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "banc/phmetre_continu.h"
#include "instruments/trames_wtw.h"
#include "core/banc_moteur.h"

namespace {
class Scrutation : public TBancMoteur {
protected:
  // One tick of the main timer and the time for the answers to come back.
  void Cycle() {
    moteur->TimerTimer();
    p.boucle.Avance(300);
  }
};

// Counts the requests a far end receives.
class Compteur final : public TExtremiteSerie {
public:
  void Recoit(std::string_view octets) override { recu += octets; }
  std::string recu;
};
}  // namespace

TEST_F(Scrutation, LaReponseArriveSurLEtiquetteDeLaVoie) {
  Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
  ModelePh("a", 3);
  Demarre();
  Voies({"a"});
  Cycle();
  EXPECT_DOUBLE_EQ(Modele("a").ValeurCourante, 7.02);
  EXPECT_EQ(Libelle(0), "pH=7,02 ");  // the user's decimal separator
  Cycle();
  EXPECT_EQ(moteur->Vue().Controle(ctl::LabelPb).caption, "");
}

TEST_F(Scrutation, DeuxVoiesDeMemeDemandeServiesParUneTrame) {
  auto& ph = Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(6.5)));
  ModelePh("a", 3);
  ModelePh("b", 3);
  Modele("b").SymboleGrandeur = "pH2";
  Branche(4, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(4.0)));
  ModelePh("c", 4);
  Demarre();
  Voies({"a", "b", "c"});
  Cycle();
  EXPECT_EQ(ph.Requetes(), 1);
  EXPECT_DOUBLE_EQ(Modele("a").ValeurCourante, 6.5);
  EXPECT_DOUBLE_EQ(Modele("b").ValeurCourante, 6.5);
  EXPECT_DOUBLE_EQ(Modele("c").ValeurCourante, 4.0);  // the cycle went on after them
  EXPECT_EQ(moteur->VoieCourante, 0);
}

TEST_F(Scrutation, VoieMuetteArreteLeCycleEtSeVoitAuTicSuivant) {
  Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.0)));
  PortMuet(4);
  Branche(5, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(5.0)));
  ModelePh("a", 3);
  ModelePh("muet", 4);
  ModelePh("c", 5);
  Demarre();
  Voies({"a", "muet", "c"});
  Cycle();
  EXPECT_DOUBLE_EQ(Modele("a").ValeurCourante, 7.0);
  EXPECT_TRUE(std::isnan(Modele("c").ValeurCourante));  // never asked
  moteur->TimerTimer();
  // Channel 0 answered, but the cycle did not complete: said at the next tick.
  EXPECT_EQ(moteur->Vue().Controle(ctl::LabelPb).caption, "Pas de réponse");
}

TEST_F(Scrutation, VoieSansPortSauteeSansBloquerLesSuivantes) {
  Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.0)));
  ModelePh("a", 3);
  ModelePh("sans port", 3, "TM?\r");
  Branche(5, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(5.0)));
  ModelePh("c", 5);
  Demarre();
  Voies({"a", "sans port", "c"});
  Modele("sans port").VoieSerieOK = false;  // as when its port failed to open
  Cycle();
  EXPECT_DOUBLE_EQ(Modele("c").ValeurCourante, 5.0);
  EXPECT_TRUE(std::isnan(Modele("sans port").ValeurCourante));
  EXPECT_EQ(Libelle(1), "pH=?");
  moteur->EnregistreBtnClick();
  p.boucle.Avance(300);
  EXPECT_EQ(N(), 0);  // no point with a channel that has no value
}

TEST_F(Scrutation, TicPendantUneQuestionNeLancePasUnSecondCycle) {
  Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(15.5)));
  ModelePh("a", 3);
  Modele("a").FiltrageDepassement = false;
  Demarre();
  Voies({"a"});
  int questions = 0;
  p.dialogue.SetEchec([&](const std::string& q) {
    ++questions;
    if (questions == 1) {
      // The question box keeps dispatching: ticks come meanwhile.
      EXPECT_EQ(q, "question inattendue : \"pH=15,5  valeur correcte ?\"");
      moteur->TimerTimer();
      moteur->TimerTimer();
    }
  });
  Cycle();
  EXPECT_EQ(questions, 2);  // the question and "Ne plus poser la question ?", once
  EXPECT_TRUE(std::isnan(Modele("a").ValeurCourante));
}

TEST_F(Scrutation, DepassementAccepteElargitLaGamme) {
  Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(15.0)));
  ModelePh("a", 3);
  Modele("a").FiltrageDepassement = false;
  Demarre();
  Voies({"a"});
  p.dialogue.AttendConfirmation("pH=15  valeur correcte ?", true);
  Cycle();
  EXPECT_DOUBLE_EQ(Modele("a").ValeurCourante, 15.0);
  EXPECT_DOUBLE_EQ(Modele("a").ValMaxi, 15.0 + 14.0 / 10);
  EXPECT_DOUBLE_EQ(moteur->Graphe->mondeY[0].maxi, 16.4);
}

TEST_F(Scrutation, DepassementRefuseEtQuestionSupprimee) {
  Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(15.0)));
  ModelePh("a", 3);
  Modele("a").FiltrageDepassement = false;
  Demarre();
  Voies({"a"});
  p.dialogue.AttendConfirmation("pH=15  valeur correcte ?", false);
  p.dialogue.AttendConfirmation("Ne plus poser la question ?", true);
  Cycle();
  EXPECT_TRUE(std::isnan(Modele("a").ValeurCourante));
  EXPECT_TRUE(Modele("a").FiltrageDepassement);
  Cycle();  // filtered now: no question
  EXPECT_TRUE(p.dialogue.ScriptEpuise());
}

TEST_F(Scrutation, UneSeuleQuestionParVoiePendantQueLesTramesArrivent) {
  for (const TModeAcq mode : {maTemps, maAppareilMaitre}) {
    SCOPED_TRACE(mode);
    // Out of range for a definition that stops at pH 8; a printout every second.
    Branche(4, std::make_unique<TPhMetreContinu>(std::make_shared<TValeurFixe>(9.5)));
    Tappareil& a = Modele("Banc virtuel pH-mètre à impression");
    a.ValMaxi = 8;
    a.FiltrageDepassement = false;
    Demarre();
    moteur->ModeAcq = mode;
    Voies({"Banc virtuel pH-mètre à impression"});
    if (mode == maAppareilMaitre) moteur->EnregistreBtnClick();
    int questions = 0, pendantLaQuestion = 0, pointsPendant = 0;
    bool ouverte = false;
    p.dialogue.SetEchec([&](const std::string& q) {
      if (q.find("valeur correcte") == std::string::npos) return;  // "Ne plus poser ..." : No
      ++questions;
      if (ouverte) {
        ++pendantLaQuestion;
        return;
      }
      // The teacher takes five seconds to answer; the meter goes on printing.
      ouverte = true;
      const int avant = N();
      p.boucle.Avance(5000);
      pointsPendant = N() - avant;
      ouverte = false;
    });
    p.boucle.Avance(1500);
    EXPECT_GE(questions, 1);
    EXPECT_EQ(pendantLaQuestion, 0);
    EXPECT_EQ(pointsPendant, 0);
    moteur.reset();
    p.dialogue.SetEchec([](const std::string& m) { ADD_FAILURE() << m; });
  }
}

TEST_F(Scrutation, UneVoiePerdueEstDiteAussitotEtLaBaseDeTempsContinue) {
  Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.0)));
  Branche(4, std::make_unique<TPhMetreContinu>(std::make_shared<TValeurFixe>(4.0)));
  ModelePh("a", 3);
  Demarre();
  moteur->DureeMesure = 60;
  Voies({"a", "Banc virtuel pH-mètre à impression"});
  p.boucle.Avance(3000);
  moteur->EnregistreBtnClick();
  p.boucle.Avance(10000);
  ASSERT_GT(N(), 5);
  // A box would stay open a minute, nobody at the bench to close it: the report must
  // not hold the cycle meanwhile.
  p.dialogue.SetPendantBoite([&](const std::string&) { p.boucle.Avance(60000); });
  const int avant = N();
  p.serie.Ligne("/sim/com4")->Debranche();
  p.boucle.Avance(500);
  const auto messages = p.dialogue.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("COM4 : liaison perdue", 0), 0u) << messages[0];
  EXPECT_EQ(p.dialogue.Journal().back().genre, TDialogueScripte::TGenre::Signale);
  EXPECT_EQ(Libelle(1), "pH=?");
  // The time base runs to its end; the channel left keeps its live value.
  p.boucle.Avance(5000);
  // No point without the lost channel's value, but the cycle goes on: once the
  // meter is plugged back, points come again, with nobody to close a box.
  EXPECT_EQ(N(), avant);
  p.serie.Ligne("/sim/com4")->Rebranche();
  p.boucle.Avance(5000);
  EXPECT_GE(N() - avant, 3);
  EXPECT_EQ(moteur->EtatAcq, eaEnCours);
  EXPECT_DOUBLE_EQ(Modele("a").ValeurCourante, 7.0);
  p.boucle.Avance(50000);
  EXPECT_EQ(moteur->EtatAcq, eaTerminee);
  EXPECT_EQ(p.dialogue.Messages().size(), 1u);
}

TEST_F(Scrutation, CaracteresDeControleEcartes) {
  PortMuet(3);
  ModelePh("a", 3);
  Demarre();
  Voies({"a"});
  moteur->TimerTimer();
  p.serie.Ligne("/sim/com3")->Emet(std::string("\x02" "12.5\r\n", 7));
  p.boucle.Avance(50);
  EXPECT_DOUBLE_EQ(Modele("a").ValeurCourante, 12.5);
}

TEST_F(Scrutation, TamponBorneSansFinDeTrame) {
  PortMuet(3);
  ModelePh("a", 3);
  Demarre();
  Voies({"a"});
  moteur->TimerTimer();
  // A wrong baud rate: bytes without any carriage return.
  for (int i = 0; i < 40; ++i) {
    p.serie.Ligne("/sim/com3")->Emet(std::string(100, 'x'));
    p.boucle.Avance(10);
  }
  EXPECT_LE(Modele("a").ChaineLue.size(), TCinetiqueMain::ChaineLueMaxi);
}

TEST_F(Scrutation, InstrumentSimuleRejoueSesLignes) {
  const std::string nom = "pH-mètre WTW 3310 (simulation)";
  Demarre();
  Voies({nom});
  std::size_t total = 0;
  for (const auto& l : TramesWTW) total += l.size();
  EXPECT_EQ(total, 116u);
  // Pieces of the replay: the characters each tick of TimerWTW2 delivers.
  std::vector<int> pieces;
  moteur->TimerWTW2->SetRappel([&] {
    const int ligne = moteur->LigneWTW, avant = moteur->CaractereWTW;
    moteur->TimerWTW2Timer();
    const int apres = moteur->LigneWTW == ligne ? moteur->CaractereWTW : static_cast<int>(TramesWTW[static_cast<std::size_t>(ligne)].size()) + 1;
    pieces.push_back(apres - avant);
  });
  p.boucle.Avance(2000);  // TimerWTW1 starts the replay
  p.boucle.Avance(600);
  ASSERT_EQ(pieces.size(), 20u);
  EXPECT_EQ((std::vector<int>(pieces.begin(), pieces.begin() + 3)), (std::vector<int>{8, 8, 6}));
  int somme = 0;
  for (int n : pieces) somme += n;
  EXPECT_EQ(somme, 116);
  EXPECT_FALSE(moteur->TimerWTW2->Actif());
  p.boucle.Avance(1000);  // a tick of the main timer decodes the printout
  EXPECT_DOUBLE_EQ(Modele(nom).ValeurCourante, 7.37);
}
