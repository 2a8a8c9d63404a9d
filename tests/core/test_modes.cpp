// The acquisition modes: time base, space bar, keyboard entry, master instrument,
// titration, and the duration rules.
#include <cmath>

#include "banc/catalogue.h"
#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "instruments/burette.h"
#include "core/banc_moteur.h"

namespace {
class Modes : public TBancMoteur {
protected:
  void UnPhMetre(TModeAcq mode, double ph = 7.02) {
    Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(ph)));
    ModelePh("a", 3);
    Demarre();
    moteur->ModeAcq = mode;
    Voies({"a"});
    moteur->TimerTimer();
    p.boucle.Avance(300);
  }
};
}  // namespace

TEST_F(Modes, BaseDeTemps120sA1s) {
  UnPhMetre(maTemps);
  EXPECT_EQ(moteur->EtatAcq, eaAttente);
  EXPECT_TRUE(Actif(ctl::EnregistreBtn));
  moteur->EnregistreBtnClick();
  EXPECT_EQ(moteur->EtatAcq, eaEnCours);
  EXPECT_TRUE(Actif(ctl::StopBtn));
  EXPECT_FALSE(Actif(ctl::EnregistreBtn));
  p.boucle.Avance(130000);
  EXPECT_EQ(moteur->EtatAcq, eaTerminee);
  EXPECT_TRUE(N() == 121 || N() == 122) << N();
  EXPECT_DOUBLE_EQ(X(0), 0);
  EXPECT_DOUBLE_EQ(X(60), 60);
  EXPECT_FALSE(moteur->MinuteriePrincipale().Intervalle() == 0);
}

TEST_F(Modes, StopAvecDeuxPointsVideSansQuestion) {
  UnPhMetre(maTemps);
  moteur->EnregistreBtnClick();
  p.boucle.Avance(1500);
  EXPECT_EQ(N(), 2);
  moteur->StopBtnClick();  // an unexpected question would fail the test
  EXPECT_EQ(N(), 0);
  EXPECT_EQ(moteur->EtatAcq, eaAttente);
}

TEST_F(Modes, StopAvecTroisPointsOuPlusTermine) {
  UnPhMetre(maTemps);
  moteur->EnregistreBtnClick();
  p.boucle.Avance(3500);
  moteur->StopBtnClick();
  EXPECT_EQ(moteur->EtatAcq, eaTerminee);
  EXPECT_TRUE(Actif(ctl::ResetBtn));
  p.dialogue.AttendConfirmation("Suppression de toutes les données", false);
  moteur->ResetBtnClick();
  EXPECT_GE(N(), 3);
  p.dialogue.AttendConfirmation("Suppression de toutes les données", true);
  moteur->ResetBtnClick();
  EXPECT_EQ(N(), 0);
  EXPECT_EQ(moteur->EtatAcq, eaAttente);
}

TEST_F(Modes, BarreDEspaceMaximumParSeizaine) {
  UnPhMetre(maIncrement);
  EXPECT_EQ(moteur->EtatAcq, eaIncrement);
  EXPECT_DOUBLE_EQ(moteur->Graphe->mondeX.maxi, 16);
  char32_t espace = U' ';
  moteur->FormKeyPress(espace);
  EXPECT_EQ(espace, 0u);
  EXPECT_EQ(N(), 1);
  EXPECT_DOUBLE_EQ(X(0), 0);
  moteur->EnregistreBtnClick();
  EXPECT_DOUBLE_EQ(moteur->Graphe->mondeX.maxi, 32);
  for (int i = 2; i < 18; ++i) moteur->EnregistreBtnClick();
  EXPECT_EQ(N(), 18);
  EXPECT_DOUBLE_EQ(moteur->Graphe->mondeX.maxi, 48);
}

TEST_F(Modes, BarreDEspaceSansEffetQuandAcquerirEstInactif) {
  UnPhMetre(maTemps);
  moteur->EnregistreBtnClick();
  p.boucle.Avance(5500);
  const int n = N();
  char32_t espace = U' ';
  moteur->FormKeyPress(espace);  // would restart the running time base
  EXPECT_EQ(moteur->EtatAcq, eaEnCours);
  p.boucle.Avance(1000);
  EXPECT_EQ(N(), n + 1);
}

TEST_F(Modes, ReglesDeDuree) {
  Demarre();
  struct Cas {
    const char* nom;
    std::int32_t duree;
    std::uint16_t deltat;
    int action;  // 0 AjusteDuree, else DeltatSEChange(action)
    std::int32_t dureeAttendue;
    std::uint16_t deltatAttendu;
  };
  const Cas cas[] = {
      {"2 h à 1 s", 7200, 1, 0, 7200, 4},
      {"δt 1, 3000 s", 3000, 5, 1, 3000, 2},
      {"δt 1, 4097 s", 4097, 5, 1, 4097, 2},
      {"δt 1, 4098 s", 4098, 5, 1, 4098, 3},
      {"δt 60, 120 s", 120, 1, 60, 120, 15},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    moteur->DureeMesure = c.duree;
    moteur->DeltatMesure = c.deltat;
    if (c.action == 0) moteur->AjusteDuree();
    else moteur->DeltatSEChange(c.action);
    EXPECT_EQ(moteur->DureeMesure, c.dureeAttendue);
    EXPECT_EQ(moteur->DeltatMesure, c.deltatAttendu);
  }
  EXPECT_EQ(moteur->Vue().Controle(ctl::NombreLabel).caption, "N=8");
}

TEST_F(Modes, DureeTapeeAjusteeAuxRegles) {
  Demarre();
  struct Cas {
    const char* nom;
    const char* texte;
    std::int32_t duree;
    std::uint16_t deltat;
  };
  const Cas cas[] = {
      {"zéro", "00:00:00", 8, 1},
      {"cinq secondes", "00:00:05", 8, 1},
      {"dix heures", "10:00:00", 36000, 18},
      {"deux minutes", "00:02:00", 120, 1},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    moteur->DeltatMesure = 1;
    moteur->Vue().SetTexte(ctl::DureeEdit, c.texte);
    moteur->DureeEditExit();
    EXPECT_EQ(moteur->DureeMesure, c.duree);
    EXPECT_EQ(moteur->DeltatMesure, c.deltat);
    EXPECT_LE(moteur->DureeMesure / moteur->DeltatMesure, MaxPoints);
  }
  moteur->Vue().SetTexte(ctl::DureeEdit, "deux minutes");
  moteur->DureeEditExit();
  EXPECT_EQ(p.dialogue.Messages().back(), "'deux minutes' n'est pas une heure correcte");
}

TEST_F(Modes, DureeDePlusDUnJourMontreeEtRelueEntiere) {
  Demarre();
  moteur->DeltatMesure = 60;
  moteur->DureeMesure = 60 * 2048;  // 34 h 08 min
  moteur->AfficheDuree();
  const std::string montre = moteur->Vue().Controle(ctl::DureeEdit).caption;
  EXPECT_EQ(montre, "34:08:00");
  // Enter reads back what is shown: the setting is not shortened by a day.
  moteur->Vue().SetTexte(ctl::DureeEdit, montre);
  moteur->DureeEditExit();
  EXPECT_EQ(moteur->DureeMesure, 60 * 2048);
  EXPECT_EQ(moteur->Vue().Controle(ctl::DureeEdit).caption, "34:08:00");
  // The same keys as the mode dialog's duration field: the separators stay in place.
  for (char32_t c : {U'3', U' ', U'\b', U':', U'x'}) {
    char32_t t = c;
    moteur->DureeEditKeyPress(t);
    EXPECT_EQ(t, c == U':' || c == U'x' ? 0u : c);
  }
}

TEST_F(Modes, BaseDeTempsPleineSeTermineA2048Points) {
  UnPhMetre(maTemps);
  moteur->DureeMesure = 4000;  // as a duration left beyond 2048 intervals would be
  moteur->DeltatMesure = 1;
  moteur->EnregistreBtnClick();
  p.boucle.Avance(2100 * 1000);
  EXPECT_EQ(N(), MaxPoints);
  EXPECT_EQ(moteur->EtatAcq, eaTerminee);
}

TEST_F(Modes, DoublementDeDureeEnCoursEclaircit) {
  UnPhMetre(maTemps);
  moteur->DureeMesure = 2048;
  moteur->DeltatMesure = 1;
  moteur->EnregistreBtnClick();
  p.boucle.Avance(1500 * 1000);
  const int avant = N();
  ASSERT_GT(avant, 1024);
  moteur->DureeSBUpClick();
  EXPECT_EQ(moteur->DureeMesure, 4096);
  EXPECT_EQ(moteur->DeltatMesure, 2);
  EXPECT_EQ(N(), avant / 2);
  EXPECT_DOUBLE_EQ(X(1), 2);
  moteur->DeltatMesure = 60;
  moteur->DureeMesure = 60 * 2048;
  moteur->DureeSBUpClick();  // never beyond 60 s per point, 2048 points
  EXPECT_EQ(moteur->DeltatMesure, 60);
  EXPECT_EQ(moteur->DureeMesure, 60 * 2048);
}

TEST_F(Modes, ClavierQuestionsDeBornes) {
  UnPhMetre(maClavier);
  moteur->Graphe->mondeX.mini = 0;
  moteur->Graphe->mondeX.maxi = 10;
  EXPECT_EQ(moteur->EtatAcq, eaClavier);
  moteur->Vue().SetTexte(ctl::ClavierEdit, "douze");
  moteur->ValideClavierBtnClick();
  EXPECT_EQ(p.dialogue.Messages().back(), "Nombre mal écrit");
  EXPECT_EQ(N(), 0);
  moteur->Vue().SetTexte(ctl::ClavierEdit, "12");
  p.dialogue.AttendConfirmation("12 > maxi=10\r\nVous confirmez ?", true);
  moteur->ValideClavierBtnClick();
  EXPECT_DOUBLE_EQ(moteur->Graphe->mondeX.maxi, 13);
  EXPECT_EQ(N(), 1);
  EXPECT_DOUBLE_EQ(X(0), 12);
  EXPECT_EQ(moteur->Vue().Grille().Cellule(0, 2), "12");
  moteur->Vue().SetTexte(ctl::ClavierEdit, "-5");
  p.dialogue.AttendConfirmation("-5 < mini=0\r\nVous confirmez ?", true);
  moteur->ValideClavierBtnClick();
  EXPECT_NEAR(moteur->Graphe->mondeX.mini, -6.3, 1e-12);  // -5 - (13 - 0) / 10
  moteur->Vue().SetTexte(ctl::ClavierEdit, "20");
  p.dialogue.AttendConfirmation("20 > maxi=13\r\nVous confirmez ?", false);
  moteur->ValideClavierBtnClick();
  EXPECT_EQ(N(), 2);
}

TEST_F(Modes, FiltreDesTouchesDuClavier) {
  UnPhMetre(maClavier);
  struct Cas {
    char32_t touche;
    char32_t attendu;
  };
  const Cas cas[] = {{U'7', U'7'}, {U',', U','}, {U'e', U'e'}, {U'a', 0}, {U' ', 0}, {0x3B1, 0}, {8, 8}};
  for (const auto& c : cas) {
    char32_t t = c.touche;
    moteur->ClavierEditKeyPress(t);
    EXPECT_EQ(t, c.attendu) << static_cast<std::uint32_t>(c.touche);
  }
}

TEST_F(Modes, ValeurClavierHorsModeClavierIgnoree) {
  UnPhMetre(maIncrement);
  moteur->Vue().SetTexte(ctl::ClavierEdit, "3");
  moteur->ValideClavierBtnClick();
  EXPECT_EQ(N(), 0);
}

TEST_F(Modes, AcquisitionDemandeeParLAnalyseEnvoieUneFois) {
  UnPhMetre(maTemps);
  int envois = 0;
  moteur->Dialogues.EnvoieTableauAnalyse = [&] { ++envois; };
  moteur->DureeMesure = 10;
  moteur->DeltatMesure = 1;
  moteur->DemandeDonnees();
  EXPECT_TRUE(moteur->AppelTracoria);
  moteur->EnregistreBtnClick();
  p.boucle.Avance(20000);
  EXPECT_EQ(moteur->EtatAcq, eaTerminee);
  EXPECT_EQ(envois, 1);
  EXPECT_FALSE(moteur->AppelTracoria);
}

TEST_F(Modes, AppareilMaitreUnPointParTrame) {
  // The bench's self-transmitting meter prints its reading every second on COM4.
  Branche(4, CreeInstrument("pH-metre-continu"));
  Demarre();
  moteur->ModeAcq = maAppareilMaitre;
  moteur->Graphe->AbscisseMaitre = amIndex;
  moteur->CodeBeep = 3;
  Voies({"Banc virtuel pH-mètre à impression"});
  // The tick only watches the ports here: the points come from the frames alone.
  EXPECT_TRUE(moteur->MinuteriePrincipale().Actif());
  p.boucle.Avance(2500);
  ASSERT_FALSE(std::isnan(moteur->Voie(0)->ValeurCourante));
  moteur->EnregistreBtnClick();
  EXPECT_EQ(moteur->EtatAcq, eaEnCours);
  p.boucle.Avance(5000);
  EXPECT_GE(N(), 5);
  EXPECT_DOUBLE_EQ(X(0), 1);
  EXPECT_FALSE(p.dialogue.Bips().empty());
  EXPECT_EQ(p.dialogue.Bips().front(), TBip::Exclamation);
}

TEST_F(Modes, BaseDeTempsAPasMinuit) {
  // "Acquérir" at 23:59:30: the elapsed times run on past midnight.
  UnPhMetre(maTemps);
  moteur->DureeMesure = 60;
  moteur->DeltatMesure = 10;
  moteur->AfficheDuree();
  const double avantMinuit = std::floor(p.boucle.DateHeure()) + (86400.0 - 30) / 86400.0;
  p.boucle.FixeMaintenant(static_cast<std::int64_t>((avantMinuit - p.boucle.DateHeure()) * 86400000.0) + p.boucle.Millisecondes());
  moteur->EnregistreBtnClick();
  p.boucle.Avance(75000);
  EXPECT_EQ(moteur->EtatAcq, eaTerminee);
  ASSERT_GE(N(), 7);
  for (int k = 0; k < 7; ++k) EXPECT_NEAR(X(k), 10.0 * k, 1.0) << "point " << k;
}
