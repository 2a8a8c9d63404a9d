// The cable of the instrument pulled out during a time base in the real program, then
// the instrument back at the same path: the status line tells the user, the channel
// shows no value meanwhile, and the points go on once the port opens again.
#include <QLabel>
#include <QToolButton>

#include <filesystem>

#include "banc/catalogue.h"
#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "core/window/fenetre_principale.h"
#include "core/window/panneau_voies.h"
#include "dialogs/fenetre_choix_app.h"
#include "window/banc_fenetre.h"
#include "window/outils_fenetre.h"

TEST_F(TBancFenetre, InstrumentRebrancheEnCoursDAcquisition) {
  const std::string premier = banc_.Ajoute(CreeInstrument("pH-metre"));
  ASSERT_FALSE(premier.empty());
  const std::filesystem::path lien = dossier_ / "ttyFenetreRebranche";
  std::filesystem::remove(lien);
  std::filesystem::create_symlink(premier, lien);
  AjoutePort(3, lien.string());
  Demarre();
  TFenetrePrincipale& F = P().Fenetre();
  TCinetiqueMain& M = P().Moteur();
  QuandModal<TFenetreChoixApp>(ChoisitPhMetre);
  Clique(F.Bouton("AddAppareilBtn"));
  ASSERT_EQ(M.NbreVoies(), 1);
  QLabel* valeur = F.PanelVoies()->Voie(0)->Valeur();
  ASSERT_TRUE(AttendQue([&] { return valeur->text().startsWith("pH=") && valeur->text() != "pH=?"; }, 8000))
      << valeur->text().toStdString();
  Clique(F.Bouton(ctl::EnregistreBtn));
  ASSERT_TRUE(AttendQue([&] { return M.Graphe->NbrePoints >= 2; }, 15000)) << M.Graphe->NbrePoints;

  // The device node goes with the cable, as a USB adapter's does.
  banc_.Ferme(0);
  std::filesystem::remove(lien);
  QLabel* statut = F.StatusPanel(1);
  ASSERT_TRUE(AttendQue([&] { return statut->text().startsWith(QString::fromUtf8("COM3 perdu à ")); }, 8000))
      << statut->text().toStdString();
  EXPECT_TRUE(AttendQue([&] { return valeur->text() == "pH=?"; }, 3000)) << valeur->text().toStdString();
  const int pendant = M.Graphe->NbrePoints;

  const std::string second = banc_.Ajoute(CreeInstrument("pH-metre"));
  ASSERT_FALSE(second.empty());
  std::filesystem::create_symlink(second, lien);
  ASSERT_TRUE(AttendQue([&] { return M.Graphe->NbrePoints > pendant; }, 10000)) << M.Graphe->NbrePoints;
  EXPECT_TRUE(statut->text().contains(QString::fromUtf8(", rétabli à "))) << statut->text().toStdString();
  EXPECT_NE(valeur->text(), "pH=?");
  EXPECT_EQ(M.EtatAcq, eaEnCours);

  const std::filesystem::path artefacts = PELITRAX_ARTEFACTS_DIR;
  std::filesystem::create_directories(artefacts);
  EXPECT_TRUE(F.grab().save(QString::fromStdString((artefacts / "rebranchement_fenetre.png").string())));
  std::filesystem::remove(lien);
}
