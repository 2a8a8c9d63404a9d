// The device editors' windows offscreen, on an engine of the simulated platform with
// the bench pH meter on COM3: captions and pages, the controls bound to their fields,
// clicks and keys, and a picture of each page for a person to judge.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "links/banc_editeur.h"
#include "links/dialogs/fenetre_config.h"
#include "links/dialogs/fenetre_config_sysam.h"
#include "links/dialogs/fenetre_test.h"
#include "window/application_widgets.h"

namespace {
class FenetresEditeurs : public TBancEditeur {
protected:
  FenetresEditeurs() { ApplicationWidgets(); }
  // Virtual time, then the window's events.
  void Avance(int ms) {
    p.boucle.Avance(ms);
    QApplication::processEvents();
  }
  static void Tape(QLineEdit* e, const QString& texte) {
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, texte);
  }
};
}  // namespace

TEST_F(FenetresEditeurs, EditeurDeDefinition) {
  Tappareil& a = ModelePh("Banc virtuel pH-mètre", 3);
  a.Baud = 14400;
  a.DebutNombre = 0;
  a.AidePilotage[1] = "PH? : mesure du pH";
  dlg->AppareilCourant = &a;
  TFenetreConfig d(*dlg, *contexte);
  MontreDialogue(d);
  EXPECT_EQ(d.windowTitle(), "Configuration d'appareil RS232");
  ASSERT_EQ(d.PageControl()->count(), 5);
  const char* pages[] = {"Grandeur", "Voie série", "Format des données", "Aide pilotage", "Pilotage"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d.PageControl()->tabText(i), QString::fromUtf8(pages[i]));
  EXPECT_EQ(d.NomGrandeurCombo()->currentText(), "pH");
  EXPECT_EQ(d.EditMax()->text(), "14");
  EXPECT_EQ(d.PrecisionSE()->minimum(), 2);
  EXPECT_EQ(d.PrecisionSE()->maximum(), 7);
  EXPECT_FALSE(d.ClearBtn()->isVisible());
  EXPECT_EQ(d.DepassementCB()->toolTip(), "Suppression des valeurs en dehors de mini..maxi");
  std::cout << "Capture : " << Capture(d, "editeur_grandeur") << "\n";

  QTest::mouseClick(d.PageControl()->tabBar(), Qt::LeftButton, {}, d.PageControl()->tabBar()->tabRect(1).center());
  // 14400 is not in the list: shown as 19200.
  EXPECT_TRUE(d.BaudsRG()->button(6)->isChecked());
  EXPECT_EQ(d.BaudsRG()->button(6)->text(), "19200");
  // The bench meter speaks at 2400 bauds.
  CliqueCase(d.BaudsRG()->button(3));
  EXPECT_EQ(d.Comports()->button(0)->text(), "COM3");
  EXPECT_TRUE(d.Comports()->button(0)->isChecked());
  std::cout << "Capture : " << Capture(d, "editeur_voie_serie") << "\n";

  QTest::mouseClick(d.PageControl()->tabBar(), Qt::LeftButton, {}, d.PageControl()->tabBar()->tabRect(2).center());
  EXPECT_EQ(d.DemandeGB()->title(), "Ordre pour obtenir les données");
  EXPECT_EQ(d.EditDemande()->text(), "PH?|CR|");
  EXPECT_FALSE(d.DemandeBisGB()->isVisible());
  QTest::mouseClick(d.DelaiHaut(), Qt::LeftButton);
  EXPECT_EQ(d.DelaiEdit()->text(), "200");
  QTest::mouseClick(d.DelaiBas(), Qt::LeftButton);
  QTest::mouseClick(d.DelaiBas(), Qt::LeftButton);
  EXPECT_EQ(d.DelaiEdit()->text(), "100");
  // Continuous: the request becomes the text around the data.
  CliqueCase(d.EnvoiDonneesRG()->button(1));
  EXPECT_TRUE(a.EnvoiDirect);
  EXPECT_EQ(d.DemandeGB()->title(), QString::fromUtf8("Texte après les données"));
  EXPECT_TRUE(d.DemandeBisGB()->isVisible());
  d.PosDebutSE()->setValue(3);
  EXPECT_EQ(d.DemandeGB()->title(), QString::fromUtf8("Texte avant les données"));
  std::cout << "Capture : " << Capture(d, "editeur_format") << "\n";
  CliqueCase(d.EnvoiDonneesRG()->button(0));
  d.PosDebutSE()->setValue(0);

  QTest::mouseClick(d.PageControl()->tabBar(), Qt::LeftButton, {}, d.PageControl()->tabBar()->tabRect(3).center());
  EXPECT_EQ(d.PilotageMemo()->toPlainText(), "PH? : mesure du pH");
  std::cout << "Capture : " << Capture(d, "editeur_aide_pilotage") << "\n";

  // "Pilotage" takes the port: send, the answer line by line.
  QTest::mouseClick(d.PageControl()->tabBar(), Qt::LeftButton, {}, d.PageControl()->tabBar()->tabRect(4).center());
  ASSERT_EQ(d.PageControl()->currentIndex(), 4);
  EXPECT_TRUE(d.ClearBtn()->isVisible());
  EXPECT_EQ(d.ClearBtn()->text(), QString::fromUtf8("&RàZ"));
  Tape(d.OrdreEdit(), "PH?");
  QTest::keyClick(d.OrdreEdit(), Qt::Key_Return);  // swallowed: sends nothing, closes nothing
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(d.Memo1()->toPlainText().isEmpty());
  QTest::mouseClick(d.EnvoiCR(), Qt::LeftButton);
  Avance(300);
  EXPECT_EQ(d.Memo1()->toPlainText(), QString::fromUtf8("Envoi de : PH?\nRéception de :  7.02"));
  std::cout << "Capture : " << Capture(d, "editeur_pilotage") << "\n";
  QTest::mouseClick(d.ClearBtn(), Qt::LeftButton);
  EXPECT_TRUE(d.Memo1()->toPlainText().isEmpty());

  // "&Test": one measurement in the test window.
  QuandModal<TFenetreTest>([this](TFenetreTest& t) {
    EXPECT_EQ(t.windowTitle(), "Test");
    EXPECT_FALSE(t.MesureBtn()->isEnabled());
    EXPECT_FALSE(t.InitBtn()->isVisible());
    EXPECT_FALSE(t.FinBtn()->isVisible());
    Avance(601);
    EXPECT_TRUE(t.MesureBtn()->isEnabled());
    EXPECT_TRUE(t.MemoTest()->toPlainText().endsWith(QString::fromUtf8("Chaine reçue :\n 7.02|CR|\nValeur lue : pH=7,02")))
        << t.MemoTest()->toPlainText().toStdString();
    std::cout << "Capture : " << Capture(t, "fenetre_test") << "\n";
    QTest::mouseClick(t.CloseBtn(), Qt::LeftButton);
  });
  QTest::mouseClick(d.TestBtn(), Qt::LeftButton);
  EXPECT_EQ(moteur->voieSerieCin[3]->Tracing(), tlOff);  // dumped when the test window closed

  // A delay that is no whole number: OK keeps the editor open with the message.
  QTest::mouseClick(d.PageControl()->tabBar(), Qt::LeftButton, {}, d.PageControl()->tabBar()->tabRect(2).center());
  Tape(d.DelaiEdit(), "1 s");
  p.dialogue.SetEchec({});
  QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(p.dialogue.Messages().back(), "'1 s' n'est pas une valeur entière correcte");
  // Abandon: the definition as it was opened.
  Tape(d.EditDemande(), "XX");
  QTest::mouseClick(d.CancelBtn(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_EQ(a.Demande, "PH?\r");
  EXPECT_EQ(a.Baud, 14400);
  EXPECT_EQ(a.VoieSerie, nullptr);
}

TEST_F(FenetresEditeurs, EditeurDuBoitier) {
  TRegionalFixe point('.');
  InstalleRegional(&point);
  Tappareil a;
  a.isSysam = true;
  a.NomAppareil = "Voltmètre boîtier";
  a.SymboleGrandeur = "U";
  a.UniteGrandeur = "V";
  a.ValMaxi = 1;
  a.NbreCalibreApp = 3;
  a.coeffCalibreApp = {0, 1, 10, 100, 1};
  TConfigSysamDlg m(p.dialogue);
  m.AppareilCourant = &a;
  TFenetreConfigSysam d(m);
  MontreDialogue(d);
  EXPECT_EQ(d.windowTitle(), "Configuration d'appareil Sysam SP5");
  QTest::mouseClick(d.PageControl()->tabBar(), Qt::LeftButton, {}, d.PageControl()->tabBar()->tabRect(1).center());
  QTableWidget* g = d.CalibreGrid();
  ASSERT_TRUE(g->isVisible());
  EXPECT_TRUE(d.GridLabel()->isVisible());
  ASSERT_EQ(g->rowCount(), 4);
  EXPECT_EQ(g->item(0, 0)->text(), "Calibre");
  EXPECT_EQ(g->item(1, 0)->text(), "1 V");
  EXPECT_EQ(g->item(2, 0)->text(), "10 V");
  EXPECT_EQ(g->item(3, 0)->text(), "100 V");
  EXPECT_FALSE(g->item(1, 1)->flags() & Qt::ItemIsEditable);
  EXPECT_TRUE(g->item(2, 1)->flags() & Qt::ItemIsEditable);
  EXPECT_EQ(d.NbreCalibreSE()->maximum(), 4);
  EXPECT_EQ(d.EARG()->button(1)->text(), "EA1");
  CliqueCase(d.EARG()->button(1));
  CliqueCase(d.DiffCB());
  EXPECT_EQ(d.EARG()->button(1)->text(), "EA1-EA5");
  EXPECT_TRUE(d.EARG()->button(1)->isChecked());
  // A ',' typed with a '.' locale becomes '.'.
  g->setCurrentCell(2, 1);
  g->editItem(g->item(2, 1));
  QApplication::processEvents();
  QWidget* editeur = QApplication::focusWidget();
  ASSERT_NE(editeur, nullptr);
  QTest::keyClick(editeur, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editeur, "2,5");
  QTest::keyClick(editeur, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(g->item(2, 1)->text(), "2.5");
  EXPECT_DOUBLE_EQ(a.coeffCalibreApp[2], 2.5);
  EXPECT_EQ(g->item(2, 0)->text(), "2.5 V");
  std::cout << "Capture : " << Capture(d, "editeur_boitier") << "\n";
  d.NbreCalibreSE()->setValue(1);
  EXPECT_FALSE(g->isVisible());
  EXPECT_FALSE(d.GridLabel()->isVisible());
  QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(a.NbreCalibreApp, 1);
  EXPECT_EQ(a.indiceVoieSysam, 1);
  EXPECT_TRUE(a.differentielSysam);
  InstalleRegional(&p.regional);
}
