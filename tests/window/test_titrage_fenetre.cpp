// A titration driven through the windows: the bench pH meter on channel 0, the
// titration mode with the burette's port chosen and tested, its settings, then
// "Acquérir": the program refills and drives the bench burette, records a point on
// each settled reading, "Stop", and the table saved as CSV.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <cmath>
#include <fstream>
#include <QTableView>
#include <QToolButton>

#include "banc/burette_simulee.h"
#include "banc/phmetre.h"
#include "banc/titrage.h"
#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "core/window/fenetre_principale.h"
#include "core/window/oscillo.h"
#include "dialogs/fenetre_balayage.h"
#include "dialogs/fenetre_burette.h"
#include "dialogs/fenetre_choix_app.h"
#include "dialogs/widgets_dialogue.h"
#include "instruments/base_appareils.h"
#include "instruments/burette.h"
#include "window/banc_fenetre.h"
#include "window/outils_fenetre.h"

namespace {
// The shipped device file with the burette at 8 data bits: a pseudo-terminal
// refuses 7 (it carries the bytes whatever the framing).
void EcritBaseEssai(const std::filesystem::path& dossier) {
  std::string base(FichierCapteurId());
  const auto section = base.find("[BuretteRS232]");
  ASSERT_NE(section, std::string::npos);
  const auto bits = base.find("DataBits=7", section);
  ASSERT_NE(bits, std::string::npos);
  base.replace(bits, 10, "DataBits=8");
  std::ofstream f(dossier / "RS232.INI", std::ios::binary);
  f << base;
}

int Item(TGroupeRadio* groupe, const QString& texte) {
  for (int i = 0; i < groupe->Nombre(); ++i)
    if (groupe->Bouton(i)->text() == texte) return i;
  return -1;
}
}  // namespace

TEST_F(TBancFenetre, DosageAuxClicsEtAuClavier) {
  EcritBaseEssai(dossier_ / "programme");
  // A quick electrode, so a reading settles in a second after each addition.
  auto beche = std::make_shared<TTitrage>(TSolutionTitree{}, 300.0);
  auto burette = std::make_unique<TBuretteSimulee>(beche);
  burette->SetDureeRemplissage(500);
  Branche(1, std::move(burette));
  Branche(3, std::make_unique<TPhMetre>(beche));
  Demarre();
  TFenetrePrincipale& F = P().Fenetre();
  TCinetiqueMain& M = P().Moteur();

  QuandModal<TFenetreChoixApp>(ChoisitPhMetre);
  Clique(F.Bouton("AddAppareilBtn"));
  ASSERT_EQ(M.NbreVoies(), 1);

  QuandModal<TFenetreBalayage>([&](TFenetreBalayage& d) {
    CliqueCase(d.ModeAcqRG()->Bouton(maBuretteRS232));
    EXPECT_EQ(d.NoteBook()->currentIndex(), 4);
    EXPECT_EQ(d.TestBuretteLabel()->text(), QString::fromUtf8("Port Com de la burette non testé"));
    const int com1 = Item(d.ComPortsBuretteRS232(), "COM1");
    ASSERT_GE(com1, 0);
    CliqueCase(d.ComPortsBuretteRS232()->Bouton(com1));
    Clique(d.TestBuretteBtn());
    EXPECT_TRUE(d.TestBuretteBtn()->isEnabled());
    // The identification as the burette sends it, after its address.
    EXPECT_TRUE(d.TestBuretteLabel()->text().contains("TITRONIC universal V 1.04")) << d.TestBuretteLabel()->text().toStdString();
    QuandModal<TFenetreBurette>([](TFenetreBurette& b) {
      EXPECT_EQ(b.windowTitle(), QString::fromUtf8("Configuration de la burette Titronic"));
      EXPECT_EQ(b.UniteLabel1()->text(), "");  // the pH has no unit
      TapeEntier(b.TmaxiSE(), 5);
      EXPECT_EQ(b.TmaxiSE()->value(), 5);
      Clique(b.OKBtn());
    });
    Clique(d.ConfigBuretteBtn());
    Clique(d.OKBtn());
  });
  Clique(F.Bouton(ctl::ModeAcqBtn));
  TburetteRS232& B = M.Burette();
  ASSERT_EQ(M.ModeAcq, maBuretteRS232) << B.erreurInit;
  EXPECT_EQ(B.DeltatMax, 5);
  EXPECT_EQ(B.ComNumber, 1);
  EXPECT_EQ(M.EtatAcq, eaAttente);
  EXPECT_TRUE(F.Action(ctl::BuretteBtn)->isVisible());
  EXPECT_FALSE(F.PanelTemps()->isVisible());
  EXPECT_TRUE(F.Action(ctl::EnregistreBtn)->isEnabled());

  // A point needs a reading on every channel: the first one once the meter answered.
  ASSERT_TRUE(AttendQue([&] { return !std::isnan(M.Voie(0)->ValeurCourante); }, 8000));
  Clique(F.Bouton(ctl::EnregistreBtn));
  EXPECT_EQ(M.EtatAcq, eaEnCours);
  ASSERT_TRUE(AttendQue([&] { return M.Graphe->NbrePoints >= 4; }, 60000)) << M.Graphe->NbrePoints;
  AttendQue([&] { return F.Oscillo()->Repeints() > 0; });
  EXPECT_GT(PixelsDeCouleur(F.Oscillo()->Image(), QColor(0, 0, 255)), 20);
  std::cout << "Capture : " << Capture(F, "fenetre_titrage") << "\n";
  const QAbstractItemModel* grille = F.Grid()->model();
  EXPECT_EQ(grille->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "V\nmL");
  EXPECT_EQ(grille->index(0, 0).data().toString(), "0");

  Clique(F.Bouton(ctl::StopBtn));
  EXPECT_EQ(M.EtatAcq, eaTerminee);
  const int n = M.Graphe->NbrePoints;
  for (int k = 1; k < n; ++k) EXPECT_GT(M.Graphe->mondeX.valeur[k], M.Graphe->mondeX.valeur[k - 1]) << k;

  // "Dosage" opens the settings with the engine suspended, and gives it back.
  QuandModal<TFenetreBurette>([&](TFenetreBurette& b) {
    EXPECT_EQ(M.EtatAcq, eaNone);
    Clique(b.CancelBtn());
  });
  Clique(F.Bouton(ctl::BuretteBtn));
  EXPECT_EQ(M.EtatAcq, eaTerminee);

  const auto csv = dossier_ / "dosage.csv";
  dialogue_.AttendFichier("Sauvegarde données", csv.string());
  QuandMenu(QString::fromUtf8("Enregistre nouveau fichier"));
  Clique(F.Bouton("FileBtn"));
  const std::string texte = LitFichierEssai(csv);
  EXPECT_EQ(texte.rfind("V\tpH\nmL\t\n0\t", 0), 0u) << texte;
}
