// The main window's views and controls on the bench pH meter: the multimeter view,
// the keyboard-entry group with its messages, the space bar, the zoom buttons, the
// mouse readout and axis drag, the hint line in the title, the Greek letters typed
// with Ctrl, and a window that keeps running while a port or the burette is silent.
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>

#include <cmath>
#include <fstream>
#include <pty.h>
#include <unistd.h>

#include "banc/burette_simulee.h"
#include "banc/catalogue.h"
#include "banc/phmetre.h"
#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "core/window/fenetre_principale.h"
#include "core/window/oscillo.h"
#include "core/window/panneau_voies.h"
#include "dialogs/fenetre_balayage.h"
#include "dialogs/fenetre_choix_app.h"
#include "dialogs/fenetre_page.h"
#include "dialogs/widgets_dialogue.h"
#include "instruments/base_appareils.h"
#include "window/banc_fenetre.h"
#include "window/outils_fenetre.h"

namespace {
class Vues : public TBancFenetre {
protected:
  // The bench pH meter on channel 0, its first reading shown.
  void DemarreAvecPhMetre() {
    Branche(3, CreeInstrument("pH-metre"));
    Demarre();
    QuandModal<TFenetreChoixApp>(ChoisitPhMetre);
    Clique(P().Fenetre().Bouton("AddAppareilBtn"));
    ASSERT_EQ(P().Moteur().NbreVoies(), 1);
    ASSERT_TRUE(AttendQue([this] { return !std::isnan(P().Moteur().Voie(0)->ValeurCourante); }, 8000));
  }
  TFenetrePrincipale& F() { return P().Fenetre(); }
  TCinetiqueMain& M() { return P().Moteur(); }
};

// A pseudo-terminal that nobody answers on: a port that opens and stays silent.
class TPortMuet {
public:
  TPortMuet() {
    char nom[256] = {};
    if (openpty(&maitre_, &esclave_, nom, nullptr, nullptr) == 0) chemin_ = nom;
  }
  ~TPortMuet() {
    if (maitre_ >= 0) close(maitre_);
    if (esclave_ >= 0) close(esclave_);
  }
  const std::string& Chemin() const { return chemin_; }

private:
  int maitre_ = -1, esclave_ = -1;
  std::string chemin_;
};

// Counts the turns of the event loop while a command runs: a blocked window counts none.
class TCompteurBoucle {
public:
  TCompteurBoucle() {
    QObject::connect(&minuterie_, &QTimer::timeout, [this] {
      ++tours_;
      if (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor) ++sablier_;
    });
    minuterie_.start(20);
  }
  int Tours() const { return tours_; }
  int ToursSablier() const { return sablier_; }

private:
  QTimer minuterie_;
  int tours_ = 0;
  int sablier_ = 0;
};
}  // namespace

TEST_F(Vues, MultimetreEtRetour) {
  DemarreAvecPhMetre();
  TPanneauVoies* voies = F().PanelVoies();
  EXPECT_EQ(voies->width(), 210);
  EXPECT_EQ(voies->Voie(0)->height(), 60);
  Clique(F().Bouton(ctl::PleinEcranBtn));
  ASSERT_TRUE(F().Multimetre());
  EXPECT_FALSE(F().Oscillo()->isVisible());
  EXPECT_FALSE(F().PanelGrid()->isVisible());
  EXPECT_FALSE(voies->PanelDuree()->isVisible());
  EXPECT_GT(voies->width(), 900);
  // The channels share the whole height of PanelVoies, and fit in it.
  const int h = voies->height();
  const int W = F().centralWidget()->width();
  const int f = std::min(W / 8, h / 2);
  EXPECT_EQ(voies->Voie(0)->height(), h);
  EXPECT_LE(voies->Voie(0)->geometry().bottom(), voies->height() - 1);
  EXPECT_EQ(voies->Voie(0)->Valeur()->font().pixelSize(), f);
  EXPECT_EQ(voies->Voie(0)->font().pixelSize(), f / 2);
  EXPECT_EQ(voies->Voie(0)->Indicateur()->x(), std::min((2 * W) / 3, voies->Voie(0)->width() - voies->Voie(0)->Indicateur()->width() - 4));
  EXPECT_EQ(voies->Voie(0)->Valeur()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  ASSERT_TRUE(AttendQue([&] { return voies->Voie(0)->Valeur()->text().startsWith("pH="); }));
  std::cout << "Capture : " << Capture(F(), "fenetre_multimetre") << "\n";

  Clique(F().Bouton(ctl::PleinEcranBtn));
  EXPECT_FALSE(F().Multimetre());
  EXPECT_TRUE(F().Oscillo()->isVisible());
  EXPECT_EQ(voies->width(), 210);
  EXPECT_EQ(voies->Voie(0)->height(), 60);
  // The panels stay white once they were.
  EXPECT_EQ(voies->Voie(0)->palette().color(QPalette::Window), QColor(Qt::white));

  // With no channel left the multimeter view has nothing to share out: it is left.
  Clique(F().Bouton(ctl::PleinEcranBtn));
  ASSERT_TRUE(F().Multimetre());
  M().SetNbreVoies(0);
  M().InitAttente();
  EXPECT_FALSE(F().Multimetre());
  EXPECT_FALSE(F().Action(ctl::PleinEcranBtn)->isEnabled());
  EXPECT_TRUE(F().Oscillo()->isVisible());
  Clique(F().Bouton(ctl::PleinEcranBtn));
  EXPECT_FALSE(F().Multimetre());
}

TEST_F(Vues, EntreeClavierEtSesMessages) {
  DemarreAvecPhMetre();
  QuandModal<TFenetreBalayage>([](TFenetreBalayage& d) {
    CliqueCase(d.ModeAcqRG()->Bouton(maClavier));
    for (auto [champ, texte] : {std::pair{d.EditNom(), "V"}, {d.EditUnite(), "mL"}, {d.EditMin(), ""}, {d.EditMax(), "10"}}) {
      champ->setFocus();
      champ->selectAll();
      QTest::keyClick(champ, Qt::Key_Delete);
      QTest::keyClicks(champ, texte);
    }
    Clique(d.OKBtn());
  });
  Clique(F().Bouton(ctl::ModeAcqBtn));
  ASSERT_EQ(M().EtatAcq, eaClavier);
  TGroupeClavier* clavier = F().PanelVoies()->ClavierGB();
  EXPECT_TRUE(clavier->isVisible());
  EXPECT_EQ(clavier->title(), "Clavier=V/mL");
  EXPECT_EQ(F().StatusPanel(1)->text(),
            QString::fromUtf8("Pour enregistrer la valeur entrée au clavier, valider par la touche entrée"));
  EXPECT_FALSE(F().PanelTemps()->isVisible());
  EXPECT_EQ(M().Graphe->mondeX.mini, 0);
  EXPECT_EQ(M().Graphe->mondeX.maxi, 10);
  ASSERT_TRUE(AttendQue([this] { return !std::isnan(M().Voie(0)->ValeurCourante); }, 8000));

  // Hovering the edit shows its long hint as the title.
  QTest::mouseMove(clavier->Edit());
  EXPECT_EQ(F().windowTitle(), QString::fromUtf8("Pour enregistrer la valeur, valider par la touche entrée"));

  QLineEdit* edit = clavier->Edit();
  edit->setFocus();
  QTest::keyClicks(edit, "1xe");  // the letter x is swallowed
  EXPECT_EQ(edit->text(), "1e");
  QTest::keyClick(edit, Qt::Key_Return);
  ASSERT_FALSE(dialogue_.Messages().empty());
  EXPECT_EQ(dialogue_.Messages().back(), "Nombre mal écrit");
  EXPECT_EQ(M().Graphe->NbrePoints, 0);

  edit->selectAll();
  QTest::keyClicks(edit, "2,5");
  Clique(clavier->Valide());
  EXPECT_EQ(M().Graphe->NbrePoints, 1);
  EXPECT_EQ(edit->text(), "");
  EXPECT_DOUBLE_EQ(M().Graphe->mondeX.valeur[0], 2.5);
  EXPECT_EQ(F().Grid()->model()->index(0, 0).data().toString(), "2,5");

  dialogue_.AttendConfirmation("12 > maxi=10\r\nVous confirmez ?", true);
  QTest::keyClicks(edit, "12");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(M().Graphe->NbrePoints, 2);
  EXPECT_DOUBLE_EQ(M().Graphe->mondeX.maxi, 13);
  EXPECT_TRUE(F().Action(ctl::UndoBtn)->isEnabled());
  Clique(F().Bouton(ctl::UndoBtn));
  EXPECT_EQ(M().Graphe->NbrePoints, 1);
  EXPECT_TRUE(dialogue_.ScriptEpuise());
}

TEST_F(Vues, BarreEspaceZoomEtSouris) {
  DemarreAvecPhMetre();
  TOscillo* oscillo = F().Oscillo();
  AttendQue([&] { return oscillo->Repeints() > 0; });
  // Zoom of the abscissa in the time base: the duration follows.
  Clique(oscillo->XUpDown()->Haut());
  EXPECT_EQ(M().Graphe->mondeX.maxi, 240);
  EXPECT_EQ(M().DureeMesure, 240);
  EXPECT_EQ(F().NombreLabel()->text(), "N=240");
  Clique(oscillo->XUpDown()->Bas());
  EXPECT_EQ(M().DureeMesure, 120);
  const double ymaxi = M().Graphe->mondeY[0].maxi;
  Clique(oscillo->YUpDown()->Haut());
  EXPECT_DOUBLE_EQ(M().Graphe->mondeY[0].maxi, 2 * ymaxi);
  Clique(oscillo->YUpDown()->Bas());
  EXPECT_DOUBLE_EQ(M().Graphe->mondeY[0].maxi, ymaxi);

  // The mouse readout in the first status panel.
  oscillo->Image();
  const TRectPixel c = M().Graphe->LimiteCourbe;
  QTest::mouseMove(oscillo, QPoint((c.gauche + c.droite) / 2, (c.haut + c.bas) / 2));
  ASSERT_TRUE(AttendQue([&] { return F().StatusPanel(0)->text().startsWith("Souris : t="); }, 2000))
      << F().StatusPanel(0)->text().toStdString();
  EXPECT_TRUE(F().StatusPanel(0)->text().contains("  pH=")) << F().StatusPanel(0)->text().toStdString();
  // A drag in the band under the plot rescales the abscissa.
  const double xmaxi = M().Graphe->mondeX.maxi;
  const int y = c.bas + 6;
  QTest::mousePress(oscillo, Qt::LeftButton, {}, QPoint(c.droite - 10, y));
  QTest::mouseMove(oscillo, QPoint((c.gauche + c.droite) / 2, y));
  QTest::mouseRelease(oscillo, Qt::LeftButton, {}, QPoint((c.gauche + c.droite) / 2, y));
  EXPECT_GT(M().Graphe->mondeX.maxi, xmaxi * 1.3);

  // The space bar reaching the window acquires.
  F().centralWidget()->setFocus();
  QTest::keyClick(F().centralWidget(), Qt::Key_Space);
  EXPECT_EQ(M().EtatAcq, eaEnCours);
  Clique(F().Bouton(ctl::StopBtn));
}

TEST_F(Vues, LettresGrecquesAuClavier) {
  DemarreAvecPhMetre();
  QuandModal<TFenetreBalayage>([this](TFenetreBalayage& d) {
    CliqueCase(d.ModeAcqRG()->Bouton(maClavier));
    QLineEdit* e = d.EditNom();
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClick(e, Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);   // Latin v, no paste
    QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);   // no selection: chi
    QTest::keyClick(e, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(e->text(), QString::fromUtf8("δΔvχμ"));
    dialogue_.SetTouche(TTouche::CapsLock, true);
    QTest::keyClick(e, Qt::Key_W, Qt::ControlModifier);
    dialogue_.SetTouche(TTouche::CapsLock, false);
    EXPECT_EQ(e->text(), QString::fromUtf8("δΔvχμΩ"));
    // With a selection Ctrl+C copies and Ctrl+X cuts.
    e->setSelection(0, 2);
    QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("δΔ"));
    EXPECT_EQ(e->text(), QString::fromUtf8("δΔvχμΩ"));
    e->setSelection(2, 1);
    QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "v");
    EXPECT_EQ(e->text(), QString::fromUtf8("δΔχμΩ"));
    Clique(d.CancelBtn());
  });
  Clique(F().Bouton(ctl::ModeAcqBtn));
}

TEST_F(Vues, IndicesDansLeTitre) {
  DemarreAvecPhMetre();
  QTest::mouseMove(F().Bouton(ctl::TraSaveBtn));
  EXPECT_EQ(F().windowTitle(), QString::fromUtf8("Envoyer les données vers Tracoria"));
  EXPECT_EQ(F().Bouton(ctl::TraSaveBtn)->toolTip(), QString::fromUtf8("Envoyer les données vers Tracoria"));
  QTest::mouseMove(F().PanelVoies()->Voie(0));
  EXPECT_EQ(F().windowTitle(), QString::fromUtf8("cliquer pour modifier la grandeur à mesurer"));
  // A hint with nothing before its bar gives no tooltip.
  EXPECT_TRUE(F().PanelVoies()->Voie(0)->toolTip().isEmpty());
  // The stability indicator's hint follows the readings.
  QToolButton* indicateur = F().PanelVoies()->Voie(0)->Indicateur();
  ASSERT_TRUE(AttendQue([&] { return !indicateur->toolTip().isEmpty(); }, 5000));
  EXPECT_TRUE(indicateur->toolTip() == QString::fromUtf8("Données stables") ||
              indicateur->toolTip() == QString::fromUtf8("Données non stables"));
  EXPECT_EQ(indicateur->isChecked(), indicateur->toolTip() == QString::fromUtf8("Données stables"));
  QTest::mouseMove(indicateur);
  EXPECT_EQ(F().windowTitle(), indicateur->toolTip());
  QTest::mouseMove(F().Oscillo());
  EXPECT_EQ(F().windowTitle(), "");
}

TEST_F(Vues, UnPortMuetNeBloquePasLaFenetre) {
  TPortMuet muet;
  ASSERT_FALSE(muet.Chemin().empty());
  AjoutePort(3, muet.Chemin());
  Demarre();
  QuandModal<TFenetreChoixApp>(ChoisitPhMetre);
  Clique(F().Bouton("AddAppareilBtn"));
  ASSERT_EQ(M().NbreVoies(), 1);
  ASSERT_TRUE(M().Voie(0)->VoieSerieOK);
  TCompteurBoucle compteur;
  Clique(F().Bouton(ctl::EnregistreBtn));
  const int repeints = F().Oscillo()->Repeints();
  ASSERT_TRUE(AttendQue([&] { return F().PanelVoies()->LabelPb()->text() == QString::fromUtf8("Pas de réponse"); }, 5000));
  F().Oscillo()->Invalide();
  AttendQue([&] { return F().Oscillo()->Repeints() > repeints; }, 2000);
  EXPECT_GT(F().Oscillo()->Repeints(), repeints);
  EXPECT_GT(compteur.Tours(), 20);
  EXPECT_EQ(compteur.ToursSablier(), 0);
  EXPECT_EQ(M().Graphe->NbrePoints, 0);
  Clique(F().Bouton(ctl::StopBtn));
  EXPECT_EQ(M().EtatAcq, eaAttente);
}

TEST_F(Vues, UneBuretteMuetteMontreLeSablierSansBloquer) {
  {
    std::string base(FichierCapteurId());
    const auto bits = base.find("DataBits=7", base.find("[BuretteRS232]"));
    ASSERT_NE(bits, std::string::npos);
    base.replace(bits, 10, "DataBits=8");
    std::ofstream(dossier_ / "programme" / "RS232.INI", std::ios::binary) << base;
  }
  auto burette = std::make_unique<TBuretteSimulee>();
  burette->SetMuette(true);
  Branche(1, std::move(burette));
  Branche(3, CreeInstrument("pH-metre"));
  Demarre();
  QuandModal<TFenetreChoixApp>(ChoisitPhMetre);
  Clique(F().Bouton("AddAppareilBtn"));
  QuandModal<TFenetreBalayage>([&](TFenetreBalayage& d) {
    CliqueCase(d.ModeAcqRG()->Bouton(maBuretteRS232));
    CliqueCase(d.ComPortsBuretteRS232()->Bouton(0));
    TCompteurBoucle compteur;
    QElapsedTimer horloge;
    horloge.start();
    Clique(d.TestBuretteBtn());
    EXPECT_LT(horloge.elapsed(), 5000);
    EXPECT_GT(compteur.Tours(), 5) << "the loop turned while the burette was waited for";
    EXPECT_GT(compteur.ToursSablier(), 0) << "the hourglass showed meanwhile";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(d.TestBuretteLabel()->text(), QString::fromUtf8("Burette Schott Titronic non trouvée"));
    EXPECT_TRUE(d.TestBuretteBtn()->isEnabled());
    Clique(d.CancelBtn());
  });
  Clique(F().Bouton(ctl::ModeAcqBtn));
  EXPECT_EQ(M().ModeAcq, maTemps);
}

TEST_F(Vues, BarreDEspaceCopierEnvoyerEtRepere) {
  DemarreAvecPhMetre();
  QuandModal<TFenetreBalayage>([](TFenetreBalayage& d) {
    CliqueCase(d.ModeAcqRG()->Bouton(maIncrement));
    EXPECT_EQ(d.NoteBook()->currentIndex(), 1);
    Clique(d.OKBtn());
  });
  Clique(F().Bouton(ctl::ModeAcqBtn));
  ASSERT_EQ(M().EtatAcq, eaIncrement);
  EXPECT_FALSE(F().PanelTemps()->isVisible());
  ASSERT_TRUE(AttendQue([this] { return !std::isnan(M().Voie(0)->ValeurCourante); }, 8000));
  for (int i = 0; i < 3; ++i) Clique(F().Bouton(ctl::EnregistreBtn));
  ASSERT_EQ(M().Graphe->NbrePoints, 3);
  EXPECT_EQ(F().PanelVoies()->PanelDuree()->text(), "3");
  EXPECT_EQ(F().Grid()->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "num\n");
  EXPECT_TRUE(F().Action(ctl::UndoBtn)->isEnabled());
  EXPECT_TRUE(F().Action(ctl::CopyBtn)->isEnabled());
  EXPECT_TRUE(F().Action(ctl::TraSaveBtn)->isEnabled());

  // "Repère": the marker box, its text typed.
  dialogue_.AttendSaisie("Signification", "ajout de soude");
  Clique(F().Bouton(ctl::RepereBtn));
  ASSERT_EQ(M().Graphe->ListeRepere.size(), 1u);
  EXPECT_EQ(M().Graphe->ListeRepere[0]->Text, "ajout de soude");

  Clique(F().Bouton(ctl::CopyBtn));
  EXPECT_NE(presse_.Texte().find("pH"), std::string::npos) << presse_.Texte();
  EXPECT_TRUE(M().dataSaved);

  Clique(F().Bouton(ctl::EnregistreBtn));
  EXPECT_FALSE(M().dataSaved);
  // "Tracoria": the page dialog as the send prepares it, with the engine suspended;
  // no analysis program here, so the data stay unsaved.
  QuandModal<TFenetrePage>([this](TFenetrePage& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Enregistre les données courantes dans Tracoria"));
    EXPECT_EQ(d.OKBtn()->text(), "Enregistrer");
    EXPECT_TRUE(d.NewPageCB()->isVisible());
    EXPECT_EQ(M().EtatAcq, eaNone);
    Clique(d.OKBtn());
  });
  Clique(F().Bouton(ctl::TraSaveBtn));
  EXPECT_EQ(M().EtatAcq, eaIncrement);
  EXPECT_EQ(dialogue_.Messages().back(), "Impossible de lancer Tracoria");
  EXPECT_FALSE(M().dataSaved);
  EXPECT_EQ(P().Page().Modele().NewPageCB, 1);
  EXPECT_TRUE(dialogue_.ScriptEpuise());
}

TEST_F(Vues, AideEtAPropos) {
  const std::string aide = "file://" + (dossier_ / "programme" / "aide.html").string();
  std::ofstream(dossier_ / "programme" / "aide.html") << "<html></html>";
  Demarre();
  EXPECT_TRUE(F().Action(ctl::HelpBtn)->isVisible());
  // The button and F1 open the guide's contents; F1 in the mode dialog, its topic.
  Clique(F().Bouton(ctl::HelpBtn));
  QTest::keyClick(&F(), Qt::Key_F1);
  QuandModal<TFenetreBalayage>([](TFenetreBalayage& d) {
    QTest::keyClick(&d, Qt::Key_F1);
    d.reject();
  });
  Clique(F().Bouton(ctl::ModeAcqBtn));
  EXPECT_EQ(shell_.Ouverts(), (std::vector<std::string>{aide, aide, aide + "#rubrique-4"}));
  QuandModal<QMessageBox>([](QMessageBox& b) {
    EXPECT_TRUE(b.text().contains("Pelitrax version"));
    b.accept();
  });
  Clique(F().Bouton("AboutBtn"));
  EXPECT_TRUE(F().Action("GestionItem")->isEnabled());
  EXPECT_FALSE(F().Action(ctl::NouvellePageItem)->isEnabled());
}
