// The channel configuration dialog and the terminal windows offscreen, on an engine
// of the simulated platform: the calibres of an interface-box input chosen by a
// click, a USB meter without port group, and the terminal's keys and send buttons.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/banc_moteur.h"
#include "dialogs/widgets_dialogue.h"
#include "dialogs/fenetre_cfg_app.h"
#include "dialogs/fenetre_terminal.h"
#include "window/application_widgets.h"

namespace {
class FenetresVoies : public TBancMoteur {
protected:
  FenetresVoies() { ApplicationWidgets(); }
  void Montre(QDialog& d) {
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QApplication::processEvents();
  }
  void Sur(Tappareil& a) {
    moteur->SetNbreVoies(1);
    moteur->AppareilAcq[0] = &a;
  }
};
}  // namespace

TEST_F(FenetresVoies, CalibresDuBoitierEtMetreUSB) {
  PortMuet(3);
  Demarre();
  Tappareil& b = Modele("Boîtier EA1");
  b.isSysam = true;
  b.UniteGrandeur = "V";
  b.ValMaxi = 10;
  b.NbreCalibreApp = 2;
  b.coeffCalibreApp = {0, 1, 0.1, 1, 1};
  b.ChaineInit = "X";
  Sur(b);
  TFenetreCfgApp d(*moteur);
  d.Modele().voieApp = 0;
  Montre(d);
  EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Boîtier EA1"));
  EXPECT_TRUE(d.Comports()->isVisible());
  EXPECT_EQ(d.Comports()->title(), "Calibre");
  ASSERT_EQ(d.Comports()->Nombre(), 2);
  EXPECT_EQ(d.Comports()->Bouton(0)->text(), "10 V");
  EXPECT_EQ(d.Comports()->Bouton(1)->text(), "1 V");
  EXPECT_TRUE(d.InitBtn()->isVisible());
  EXPECT_EQ(d.InitBtn()->text(), "&Initialiser");
  CliqueCase(d.Comports()->Bouton(1));
  std::cout << "Capture : " << Capture(d, "configuration_boitier") << "\n";
  QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(b.NumeroCalibreApp, 2);

  Tappareil& u = Modele("OPH218 USB");
  u.isOrigalys = true;
  Sur(u);
  Montre(d);
  EXPECT_EQ(d.windowTitle(), "OPH218 USB");
  EXPECT_FALSE(d.Comports()->isVisible());
  EXPECT_FALSE(d.InitBtn()->isVisible());
  QTest::mouseClick(d.CancelBtn(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Rejected);
}

TEST_F(FenetresVoies, TerminalToucheEntreeEtEnvois) {
  Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(4.01)));
  Tappareil& a = ModelePh("pH essai", 3);
  a.AidePilotage[2] = "PH? : le pH";
  Demarre();
  moteur->TraceCB = false;
  Sur(a);
  moteur->InitAttente();
  ASSERT_TRUE(moteur->setVoieSerieApp(a));
  TLigneSimulee& ligne = *p.serie.Ligne("/sim/com3");
  p.boucle.Avance(100);
  ligne.EffaceRecu();

  TFenetreTerminal t(*moteur, 0);
  Montre(t);
  EXPECT_EQ(t.MemoAide()->toPlainText().split('\n').size(), 16);
  EXPECT_EQ(t.MemoAide()->toPlainText().split('\n').value(1), "PH? : le pH");
  EXPECT_EQ(t.MemoAide()->textCursor().position(), 0);
  t.OrdreEdit()->setFocus();
  QTest::keyClicks(t.OrdreEdit(), "PH?");
  QTest::keyClick(t.OrdreEdit(), Qt::Key_Return);
  p.boucle.Avance(200);
  EXPECT_EQ(ligne.Recu(), "");
  EXPECT_TRUE(t.isVisible());  // Enter is no default button either
  QTest::mouseClick(t.EnvoiCRLF(), Qt::LeftButton);
  p.boucle.Avance(300);
  EXPECT_EQ(ligne.Recu(), "PH?\r\n");
  EXPECT_EQ(t.Memo1()->toPlainText(), QString::fromUtf8("Envoi de : PH?|CR||LF|\nRéception de :  4.01"));
  QTest::mouseClick(t.CloseBtn(), Qt::LeftButton);
  EXPECT_FALSE(t.isVisible());
  EXPECT_EQ(moteur->voieSerieCin[3]->OnTriggerAvail().proprietaire, moteur.get());
}
