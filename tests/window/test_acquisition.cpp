// A whole time-base acquisition driven through the windows by clicks and keys only:
// the instrument and its port, the mode, "Acquérir", the grid and the plot filling
// with the bench pH meter's readings, "Stop", and the table saved as CSV.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>

#include <fstream>
#include <sstream>

#include "banc/catalogue.h"
#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "core/window/fenetre_principale.h"
#include "core/window/oscillo.h"
#include "core/window/panneau_voies.h"
#include "dialogs/fenetre_balayage.h"
#include "dialogs/fenetre_choix_app.h"
#include "dialogs/widgets_dialogue.h"
#include "window/banc_fenetre.h"
#include "window/outils_fenetre.h"

namespace {
const QString PhMetre = QString::fromUtf8("Banc virtuel pH-mètre");
}  // namespace

TEST_F(TBancFenetre, BaseDeTempsAuxClicsEtAuClavier) {
  Branche(3, CreeInstrument("pH-metre"));
  Demarre();
  TFenetrePrincipale& F = P().Fenetre();
  TCinetiqueMain& M = P().Moteur();
  for (const char* b : {"EnregistreBtn", "RepereBtn", "UndoBtn", "StopBtn", "ResetBtn", "TraSaveBtn", "CopyBtn", "PleinEcranBtn"})
    EXPECT_FALSE(F.Action(b)->isEnabled()) << b;
  EXPECT_FALSE(F.Action("BuretteBtn")->isVisible());
  EXPECT_FALSE(F.Action("HelpBtn")->isVisible());  // no help file in the program folder
  EXPECT_EQ(F.DeltaLabel()->text(), QString::fromUtf8("δt(s)"));
  EXPECT_EQ(F.DureeEdit()->text(), "00:02:00");
  EXPECT_EQ(F.NombreLabel()->text(), "N=120");

  QuandModal<TFenetreChoixApp>(ChoisitPhMetre);
  Clique(F.Bouton("AddAppareilBtn"));
  ASSERT_EQ(M.NbreVoies(), 1);
  EXPECT_EQ(M.EtatAcq, eaAttente);
  TPanneauVoie* voie0 = F.PanelVoies()->Voie(0);
  EXPECT_TRUE(voie0->isVisible());
  EXPECT_EQ(voie0->title(), PhMetre);
  EXPECT_EQ(voie0->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(voie0->Valeur()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_TRUE(F.Action("EnregistreBtn")->isEnabled());
  EXPECT_TRUE(F.Action("PleinEcranBtn")->isEnabled());
  // Live values before any recording.
  ASSERT_TRUE(AttendQue([&] { return voie0->Valeur()->text().startsWith("pH="); }, 8000))
      << voie0->Valeur()->text().toStdString();

  QuandModal<TFenetreBalayage>([](TFenetreBalayage& d) {
    CliqueCase(d.ModeAcqRG()->Bouton(maTemps));
    EXPECT_EQ(d.NoteBook()->currentIndex(), 0);
    TapeEntier(d.DeltatSpin(), 1);
    TapeDuree(d.Duree(), "00", "00", "20");
    EXPECT_EQ(d.Duree()->text(), "00:00:20");
    EXPECT_EQ(d.NombreLabel()->text(), "N=20");
    QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
  });
  Clique(F.Bouton(ctl::ModeAcqBtn));
  EXPECT_EQ(M.DureeMesure, 20);
  EXPECT_EQ(M.DeltatMesure, 1);
  EXPECT_EQ(F.DureeEdit()->text(), "00:00:20");
  EXPECT_EQ(F.NombreLabel()->text(), "N=20");
  EXPECT_TRUE(F.PanelTemps()->isVisible());
  EXPECT_EQ(M.EtatAcq, eaAttente);

  Clique(F.Bouton(ctl::EnregistreBtn));
  EXPECT_EQ(M.EtatAcq, eaEnCours);
  EXPECT_TRUE(F.Action(ctl::StopBtn)->isEnabled());
  EXPECT_FALSE(F.Action(ctl::EnregistreBtn)->isEnabled());
  ASSERT_TRUE(AttendQue([&] { return M.Graphe->NbrePoints >= 4; }, 15000)) << M.Graphe->NbrePoints;

  // The grid shows the points; the plot holds the blue curve of channel 0.
  const QAbstractItemModel* grille = F.Grid()->model();
  EXPECT_EQ(grille->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "t\ns");
  EXPECT_EQ(grille->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "pH\n");
  EXPECT_EQ(grille->index(0, 0).data().toString(), "0");
  EXPECT_EQ(grille->index(1, 0).data().toString(), "1");
  EXPECT_TRUE(grille->index(1, 1).data().toString().contains(',')) << grille->index(1, 1).data().toString().toStdString();
  AttendQue([&] { return F.Oscillo()->Repeints() > 0; });
  EXPECT_GT(PixelsDeCouleur(F.Oscillo()->Image(), QColor(0, 0, 255)), 20);
  std::cout << "Capture : " << Capture(F, "fenetre_acquisition") << "\n";

  Clique(F.Bouton(ctl::StopBtn));
  EXPECT_EQ(M.EtatAcq, eaTerminee);
  const int n = M.Graphe->NbrePoints;
  EXPECT_GE(n, 4);
  EXPECT_FALSE(M.dataSaved);
  EXPECT_TRUE(F.Action(ctl::NouveauFichierItem)->isEnabled());

  const auto csv = dossier_ / "mesures.csv";
  dialogue_.AttendFichier("Sauvegarde données", csv.string());
  QuandMenu(QString::fromUtf8("Enregistre nouveau fichier"));
  Clique(F.Bouton("FileBtn"));
  ASSERT_TRUE(std::filesystem::exists(csv));
  EXPECT_TRUE(M.dataSaved);
  const std::string texte = LitFichierEssai(csv);
  ASSERT_EQ(texte.rfind("t\tpH\ns\t\n0\t", 0), 0u) << texte;
  EXPECT_EQ(texte.find('\r'), std::string::npos) << "CSV lines end with LF";
  int lignes = 0;
  for (char c : texte) lignes += c == '\n';
  EXPECT_EQ(lignes, 2 + n);
  EXPECT_TRUE(dialogue_.ScriptEpuise());
}
