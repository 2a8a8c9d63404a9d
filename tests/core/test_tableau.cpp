// The data table: the grid growing by 16 rows, undo, halving, markers.
#include <cmath>

#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/banc_moteur.h"

namespace {
class Tableau : public TBancMoteur {
protected:
  // One channel reading pH 7.02 in the space-bar mode, its value already read.
  void Prepare() {
    Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
    Tappareil& a = ModelePh("a", 3);
    Demarre();
    moteur->ModeAcq = maIncrement;
    Voies({"a"});
    moteur->TimerTimer();
    p.boucle.Avance(300);
    ASSERT_FALSE(std::isnan(a.ValeurCourante));
  }
  void Points(int n) {
    for (int i = 0; i < n; ++i) moteur->EnregistreBtnClick();
  }
  const TGrilleVue& Grille() { return moteur->Vue().Grille(); }
};
}  // namespace

TEST_F(Tableau, LaGrilleGranditDeSeizeLignes) {
  Prepare();
  Points(13);
  EXPECT_EQ(Grille().NbLignes(), 16);
  Points(1);  // the 14th point
  EXPECT_EQ(Grille().NbLignes(), 30);
  EXPECT_EQ(Grille().LigneHaut(), 2);
  Points(14);  // the 28th
  EXPECT_EQ(Grille().NbLignes(), 44);
  EXPECT_EQ(Grille().LigneHaut(), 26);
  EXPECT_EQ(Grille().Cellule(1, 29), "7,02");  // the user's separator
  EXPECT_EQ(Grille().Cellule(0, 29), "27");
  EXPECT_EQ(Grille().Cellule(0, 0), "num");
  EXPECT_EQ(Grille().Cellule(1, 0), "pH");
}

TEST_F(Tableau, DefaireEffaceLaDerniereLigne) {
  Prepare();
  Points(3);
  EXPECT_TRUE(Actif(ctl::UndoBtn));
  moteur->UndoBtnClick();
  EXPECT_EQ(N(), 2);
  EXPECT_EQ(Grille().Cellule(0, 4), "");
  EXPECT_EQ(Grille().Cellule(1, 4), "");
  EXPECT_EQ(Grille().Cellule(0, 3), "1");
  EXPECT_EQ(moteur->Vue().Controle(ctl::PanelDuree).caption, "2");
  moteur->UndoBtnClick();
  moteur->UndoBtnClick();
  moteur->UndoBtnClick();  // on an empty table: nothing
  EXPECT_EQ(N(), 0);
}

TEST_F(Tableau, DivisionGardeUnPointSurDeux) {
  Prepare();
  for (int k = 0; k < MaxPoints; ++k) {
    moteur->Graphe->mondeX.valeur[static_cast<std::size_t>(k)] = k;
    moteur->Graphe->mondeY[0].valeur[static_cast<std::size_t>(k)] = 10.0 * k;
  }
  moteur->Graphe->NbrePoints = MaxPoints;
  moteur->DivisePoints();
  EXPECT_EQ(N(), 1024);
  EXPECT_DOUBLE_EQ(X(0), 0);
  EXPECT_DOUBLE_EQ(X(5), 10);
  EXPECT_DOUBLE_EQ(Y(0, 1023), 20460);
}

TEST_F(Tableau, ReperesEnSecondesDepuisLeDebut) {
  Prepare();
  moteur->EnregistreBtnClick();
  p.boucle.Avance(12500);
  p.dialogue.AttendSaisie("Signification", "ajout de soude");
  moteur->ToolButton3Click();
  p.dialogue.AttendSaisie("Signification", "", false);  // cancelled: an empty text
  moteur->ToolButton3Click();
  ASSERT_EQ(moteur->Graphe->ListeRepere.size(), 2u);
  EXPECT_NEAR(moteur->Graphe->ListeRepere[0]->Valeur, 12.5, 1e-9);
  EXPECT_EQ(moteur->Graphe->ListeRepere[0]->Text, "ajout de soude");
  EXPECT_EQ(moteur->Graphe->ListeRepere[1]->Text, "");
}

TEST_F(Tableau, UnPointAjouteRendLesDonneesNonSauvees) {
  Prepare();
  EXPECT_TRUE(moteur->dataSaved);
  Points(1);
  EXPECT_FALSE(moteur->dataSaved);
  EXPECT_DOUBLE_EQ(Y(0, 0), 7.02);
}
