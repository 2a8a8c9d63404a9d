// The channel configuration dialog, the terminal and the USB test window in the real
// program: on bench pH meters over pseudo-terminals, a click on a channel during a
// running time base, a range and symbol changed with the plot and the grid following,
// a port change with unsaved points refused, and a request typed in the terminal with
// the bench's answer; on the simulator library of the USB meters, a measurement.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QToolButton>

#include <cmath>
#include <fstream>
#include <map>

#include "banc/catalogue.h"
#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "core/window/fenetre_principale.h"
#include "core/window/oscillo.h"
#include "core/window/panneau_voies.h"
#include "dialogs/fenetre_choix_app.h"
#include "dialogs/widgets_dialogue.h"
#include "dialogs/fenetre_cfg_app.h"
#include "dialogs/fenetre_terminal.h"
#include "dialogs/fenetre_test_origalys.h"
#include "links/entrees_bibliotheques.h"
#include "platform/qt/services_qt.h"
#include "window/banc_fenetre.h"
#include "window/outils_fenetre.h"

namespace {
const QString PhMetre = QString::fromUtf8("Banc virtuel pH-mètre");

class Voies : public TBancFenetre {
protected:
  // Two bench pH meters (COM3 and COM4), the first on channel 0, a time base running.
  void DemarreBaseDeTemps() {
    Branche(3, CreeInstrument("pH-metre"));
    Branche(4, CreeInstrument("pH-metre"));
    Demarre();
    QuandModal<TFenetreChoixApp>(ChoisitPhMetre);
    Clique(F().Bouton("AddAppareilBtn"));
    ASSERT_EQ(M().NbreVoies(), 1);
    ASSERT_TRUE(AttendQue([this] { return !std::isnan(M().Voie(0)->ValeurCourante); }, 8000));
    Clique(F().Bouton(ctl::EnregistreBtn));
    ASSERT_EQ(M().EtatAcq, eaEnCours);
    ASSERT_TRUE(AttendQue([this] { return M().Graphe->NbrePoints >= 3; }, 10000));
  }
  static void Remplace(QLineEdit* e, const QString& texte) {
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, texte);
  }
  static int Item(TGroupeRadio* g, const QString& texte) {
    for (int i = 0; i < g->Nombre(); ++i)
      if (g->Bouton(i)->text() == texte) return i;
    return -1;
  }
  TFenetrePrincipale& F() { return P().Fenetre(); }
  TCinetiqueMain& M() { return P().Moteur(); }
};
}  // namespace

TEST_F(Voies, SymboleEtGammeChangesPendantLaBaseDeTemps) {
  DemarreBaseDeTemps();
  TPanneauVoie* voie0 = F().PanelVoies()->Voie(0);
  EXPECT_EQ(voie0->cursor().shape(), Qt::PointingHandCursor);
  QuandModal<TFenetreCfgApp>([this](TFenetreCfgApp& d) {
    EXPECT_EQ(M().EtatAcq, eaNone);  // suspended while the dialog is open
    EXPECT_EQ(d.windowTitle(), PhMetre);
    EXPECT_EQ(d.GrandeurGB()->title(), "Grandeur  physique");
    EXPECT_EQ(d.GrandeurEdit()->text(), "pH");
    EXPECT_TRUE(d.GrandeurEdit()->isReadOnly());
    EXPECT_EQ(d.EditNom()->text(), "pH");
    EXPECT_EQ(d.EditMin()->text(), "0");
    EXPECT_EQ(d.EditMax()->text(), "14");
    EXPECT_EQ(d.DepassementCB()->text(), "Eliminer hors mini..maxi");
    EXPECT_EQ(d.Comports()->title(), QString::fromUtf8("Voie série"));
    ASSERT_GE(Item(d.Comports(), "COM3"), 0);
    EXPECT_TRUE(d.Comports()->Bouton(Item(d.Comports(), "COM3"))->isChecked());
    EXPECT_TRUE(d.MemoAide()->toPlainText().startsWith("Instrument du banc virtuel"));
    EXPECT_FALSE(d.InitBtn()->isVisible());
    EXPECT_FALSE(d.FinBtn()->isVisible());
    EXPECT_TRUE(d.PiloteBtn()->isVisible());
    Remplace(d.EditNom(), "pHa123456");
    EXPECT_EQ(d.EditNom()->text(), "pHa12345");  // 8 characters at most
    Remplace(d.EditNom(), "pH1");
    Remplace(d.EditMin(), "4");
    Remplace(d.EditMax(), "9.5");  // the point typed becomes the user's separator
    EXPECT_EQ(d.EditMax()->text(), "9,5");
    std::cout << "Capture : " << Capture(d, "configuration_voie") << "\n";
    Clique(d.OKBtn());
  });
  // A click on the value label opens the channel's configuration as the panel does.
  Clique(voie0->Valeur());
  ASSERT_NE(P().CfgApp(), nullptr);
  EXPECT_FALSE(P().CfgApp()->isVisible());

  EXPECT_EQ(M().EtatAcq, eaEnCours);
  EXPECT_EQ(M().Voie(0)->SymboleGrandeur, "pH1");
  EXPECT_DOUBLE_EQ(M().Graphe->mondeY[0].mini, 4);
  EXPECT_DOUBLE_EQ(M().Graphe->mondeY[0].maxi, 9.5);
  const QAbstractItemModel* grille = F().Grid()->model();
  EXPECT_EQ(grille->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "pH1\n");
  const int points = M().Graphe->NbrePoints;
  ASSERT_TRUE(AttendQue([&] { return M().Graphe->NbrePoints >= points + 2; }, 8000));
  const int repeints = F().Oscillo()->Repeints();
  F().Oscillo()->update();
  AttendQue([&] { return F().Oscillo()->Repeints() > repeints; });
  EXPECT_EQ(M().Graphe->mondeY[0].Nom, "pH1");
  std::cout << "Capture : " << Capture(F(), "voie_modifiee_en_acquisition") << "\n";
  EXPECT_TRUE(dialogue_.ScriptEpuise());
}

TEST_F(Voies, PortChangeRefuseEtTerminal) {
  DemarreBaseDeTemps();
  const int points = M().Graphe->NbrePoints;
  QuandModal<TFenetreCfgApp>([this](TFenetreCfgApp& d) {
    // The terminal on the channel's port: a request typed, the bench's answers.
    QuandModal<TFenetreTerminal>([this](TFenetreTerminal& t) {
      EXPECT_EQ(t.windowTitle(), "Dialogue avec appareil RS232");
      EXPECT_TRUE(t.MemoAide()->toPlainText().startsWith("Instrument du banc virtuel"));
      EXPECT_TRUE(t.MemoAide()->isReadOnly());
      EXPECT_EQ(t.EnvoiCRLF()->text(), "Envoyer + CR + LF");
      EXPECT_EQ(t.ClearBtn()->text(), QString::fromUtf8("&RàZ"));
      EXPECT_EQ(t.CloseBtn()->text(), "Fermer");
      t.OrdreEdit()->setFocus();
      QTest::keyClicks(t.OrdreEdit(), "PH?");
      QTest::keyClick(t.OrdreEdit(), Qt::Key_Return);  // sends nothing
      QTest::qWait(300);
      EXPECT_FALSE(t.Memo1()->toPlainText().contains("Envoi de"));
      Clique(t.EnvoiCR());
      Remplace(t.OrdreEdit(), "TM?");
      Clique(t.EnvoiCR());
      const QRegularExpression reponse(QString::fromUtf8("Réception de : +\\d+\\.\\d+"));
      ASSERT_TRUE(AttendQue([&] { return t.Memo1()->toPlainText().count(reponse) >= 2; }, 5000))
          << t.Memo1()->toPlainText().toStdString();
      const QStringList lignes = t.Memo1()->toPlainText().split('\n');
      EXPECT_EQ(lignes.value(0), "Envoi de : PH?|CR|");
      EXPECT_TRUE(lignes.contains("Envoi de : TM?|CR|"));
      // The engine's acquisition took none of the answers meanwhile.
      EXPECT_EQ(M().EtatAcq, eaNone);
      std::cout << "Capture : " << Capture(t, "terminal") << "\n";
      Clique(t.ClearBtn());
      EXPECT_TRUE(t.Memo1()->toPlainText().isEmpty());
      Clique(t.CloseBtn());
    });
    Clique(d.PiloteBtn());
    // COM4 chosen with points not saved: No keeps COM3, the other changes stay.
    const int com4 = Item(d.Comports(), "COM4");
    ASSERT_GE(com4, 0);
    CliqueCase(d.Comports()->Bouton(com4));
    Remplace(d.EditNom(), "pHb");
    dialogue_.AttendConfirmation(QString::fromUtf8("Pertes des données courantes ?").toStdString(), false);
    Clique(d.OKBtn());
  });
  Clique(F().PanelVoies()->Voie(0));
  EXPECT_TRUE(dialogue_.ScriptEpuise());
  EXPECT_EQ(M().Voie(0)->ComNumber, 3);
  EXPECT_EQ(M().Voie(0)->SymboleGrandeur, "pHb");
  // The acquisition goes on from where it was, on the engine's handler again.
  EXPECT_EQ(M().EtatAcq, eaEnCours);
  EXPECT_GE(M().Graphe->NbrePoints, points);
  ASSERT_TRUE(AttendQue([&] { return M().Graphe->NbrePoints >= points + 2; }, 8000));
  EXPECT_EQ(M().voieSerieCin[3]->OnTriggerAvail().proprietaire, &M());
}

namespace {
// The program with the project's simulator of the USB meters' library, loaded from the
// build's folder as the bench loads it, and one conductimeter configured in it.
class VoieUSB : public TBancFenetre {
protected:
  VoieUSB() {
    std::ofstream(dossier_ / "usb.txt") << "appareil 601 /dev/hidraw7 connecte\nmesure /dev/hidraw7 Cd 1.413 0\nmesure /dev/hidraw7 t 25.3 0\n";
    qputenv("PELITRAX_SIMULATEUR_USB", QByteArray::fromStdString((dossier_ / "usb.txt").string()));
    qputenv(TBibliothequesQt::VariableBibliotheques, PELITRAX_SIMULATEURS);
    simulateur_ = TBibliothequesQt().Charge(NomBibliothequeUSB);
    std::map<std::string, void*> symboles;
    for (const char* nom : {"OpenFirstComDll", "EnumeHIDDll", "GetNumberDeviceDll", "GetDeviceProdIdDll", "GetDevicePathDll",
                            "OpenComDll", "FindTheHIDDll", "SendCmdDll", "GetResponseDll", "CloseComDll"})
      if (simulateur_) symboles[nom] = simulateur_->Symbole(nom);
    bibliotheques_.Enregistre(NomBibliothequeUSB, symboles);
  }
  ~VoieUSB() override {
    // The meters are closed through the library: before it goes.
    programme_.reset();
    demarrage_ = TDemarrage{};
    qunsetenv("PELITRAX_SIMULATEUR_USB");
    qunsetenv(TBibliothequesQt::VariableBibliotheques);
  }
  std::unique_ptr<TBibliotheque> simulateur_;
};
}  // namespace

TEST_F(VoieUSB, PilotageOuvreLeTestUSBQuiMesure) {
  ASSERT_NE(simulateur_, nullptr) << "simulateur introuvable dans " << PELITRAX_SIMULATEURS;
  Demarre();
  TCinetiqueMain& M = P().Moteur();
  ASSERT_TRUE(AttendQue([&] { return M.NbreVoies() == 1; })) << M.NbreVoies();
  Tappareil& A = *M.Voie(0);
  ASSERT_TRUE(A.isOrigalys);
  QuandModal<TFenetreCfgApp>([&](TFenetreCfgApp& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromStdString(A.NomAppareil));
    EXPECT_FALSE(d.Comports()->isVisible());
    QuandModal<TFenetreTestOrigalys>([&](TFenetreTestOrigalys& t) {
      EXPECT_EQ(t.windowTitle(), "Test");
      EXPECT_EQ(t.MemoTest()->toPlainText(), "Identificateur : 601\nPath : /dev/hidraw7");
      ASSERT_TRUE(t.MesureBtn()->isEnabled());
      Clique(t.MesureBtn());
      QStringList lignes = t.MemoTest()->toPlainText().split('\n');
      EXPECT_EQ(lignes.value(2), "Envoi : " + QString::fromStdString(A.Demande));
      EXPECT_EQ(lignes.value(3), "Réponse : $1.413 mS/cm$");
      EXPECT_DOUBLE_EQ(A.ValeurCourante, 0.001413);
      EXPECT_EQ(lignes.value(4), QString::fromStdString(A.NomValeurUniteCourante()));
      t.Edit1()->setFocus();
      QTest::keyClicks(t.Edit1(), "?measure t");
      Clique(t.EnvoiBtn());
      lignes = t.MemoTest()->toPlainText().split('\n');
      EXPECT_EQ(lignes.value(5), "Envoi : ?measure t");
      EXPECT_EQ(lignes.value(6), QString::fromUtf8("Réponse : $25.3 °C$"));
      std::cout << "Capture : " << Capture(t, "test_usb") << "\n";
      t.accept();
    });
    Clique(d.PiloteBtn());
    Clique(d.CancelBtn());
  });
  Clique(P().Fenetre().PanelVoies()->Voie(0));
  EXPECT_EQ(P().CfgApp()->result(), QDialog::Rejected);
}
