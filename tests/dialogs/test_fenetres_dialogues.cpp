// The dialogs' windows offscreen, on an engine of the simulated platform: their
// controls and captions, their validation messages through clicks and keys, and a
// picture of each for a person to judge.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>

#include "banc/burette_simulee.h"
#include "banc/phmetre.h"
#include "core/banc_moteur.h"
#include "dialogs/fenetre_balayage.h"
#include "dialogs/fenetre_burette.h"
#include "dialogs/fenetre_choix_app.h"
#include "dialogs/fenetre_page.h"
#include "dialogs/widgets_dialogue.h"
#include "instruments/burette.h"
#include "window/application_widgets.h"

namespace {
class FenetresDialogues : public TBancMoteur {
protected:
  FenetresDialogues() { ApplicationWidgets(); }
  int Item(TGroupeRadio* g, const QString& texte) {
    for (int i = 0; i < g->Nombre(); ++i)
      if (g->Bouton(i)->text() == texte) return i;
    return -1;
  }
};
}  // namespace

TEST_F(FenetresDialogues, ChoixDesAppareils) {
  PortMuet(3);
  PortMuet(5);
  Demarre();
  TFenetreChoixApp d(*moteur, nullptr);
  MontreDialogue(d);
  EXPECT_EQ(d.windowTitle(), "Choix des appareils");
  EXPECT_EQ(d.GrandeurCombo()->title(), QString::fromUtf8("Type de grandeur à mesurer"));
  EXPECT_EQ(d.AddBtn()->text(), "Ajouter");
  EXPECT_TRUE(d.NoAppLabel()->isVisible());
  EXPECT_EQ(d.NoAppLabel()->text(), QString::fromUtf8("Pas d'appareil sélectionné !"));
  EXPECT_FALSE(d.PageControl()->isVisible());
  EXPECT_FALSE(d.OldGB()->isVisible());
  EXPECT_FALSE(d.ListeAppareilCombo()->isEditable());

  CliqueCase(d.GrandeurCombo()->Bouton(Item(d.GrandeurCombo(), "pH")));
  ASSERT_TRUE(ChoisitDansListe(d.ListeAppareilCombo(), QString::fromUtf8("Banc virtuel pH-mètre")));
  QTest::mouseClick(d.AddBtn(), Qt::LeftButton);
  // The same model again: the question, answered No, then Yes.
  p.dialogue.AttendConfirmation("Deux appareils identiques ?", false);
  QTest::mouseClick(d.AddBtn(), Qt::LeftButton);
  EXPECT_EQ(d.Modele().NbreAttaches(), 1);
  CliqueCase(d.GrandeurCombo()->Bouton(Item(d.GrandeurCombo(), "masse")));
  // Choosing a model other than the first attaches it at once.
  ASSERT_TRUE(ChoisitDansListe(d.ListeAppareilCombo(), "Banc virtuel balance"));
  EXPECT_EQ(d.Modele().NbreAttaches(), 2);
  EXPECT_TRUE(d.PageControl()->isVisible());
  EXPECT_FALSE(d.NoAppLabel()->isVisible());
  EXPECT_EQ(d.PageControl()->tabText(0), "Banc");
  EXPECT_TRUE(d.PageControl()->isTabVisible(1));
  EXPECT_FALSE(d.PageControl()->isTabVisible(2));
  EXPECT_EQ(d.PageControl()->currentIndex(), 1);
  EXPECT_EQ(d.Ports(1)->title(), QString::fromUtf8("Voie série"));
  EXPECT_TRUE(d.Ports(1)->Bouton(1)->isChecked());  // the balance's COM5
  EXPECT_EQ(d.DelBtn(1)->text(), "Supprimer");
  std::cout << "Capture : " << Capture(d, "dialogue_choix_appareils") << "\n";
  CliqueCase(d.Ports(1)->Bouton(0));
  EXPECT_EQ(Modele("Banc virtuel balance").ComNumber, 3);
  QTest::mouseClick(d.DelBtn(0), Qt::LeftButton);
  EXPECT_EQ(d.NomLabel(0)->text(), "Banc virtuel balance");
  QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_TRUE(d.Modele().modification);
  ASSERT_EQ(moteur->NbreVoies(), 1);
  EXPECT_EQ(moteur->Voie(0)->NomAppareil, "Banc virtuel balance");
  EXPECT_TRUE(p.dialogue.ScriptEpuise());
}

TEST_F(FenetresDialogues, ModeAcquisition) {
  Branche(1, std::make_unique<TBuretteSimulee>());
  Demarre();
  TFenetreBalayage d(*moteur);
  MontreDialogue(d);
  EXPECT_EQ(d.windowTitle(), "Mode d'acquisition");
  ASSERT_EQ(d.ModeAcqRG()->Nombre(), 5);
  const char* modes[] = {"Balayage temporel", "Frappe de la barre d'espace", "à chaque envoi de l'appareil",
                         "Entrée clavier", "Burette Schott Titronic"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d.ModeAcqRG()->Bouton(i)->text(), QString::fromUtf8(modes[i]));
  EXPECT_TRUE(d.ModeAcqRG()->Bouton(0)->isChecked());
  EXPECT_EQ(d.Duree()->text(), "00:02:00");
  EXPECT_EQ(d.NombreLabel()->text(), "N=120");
  EXPECT_EQ(d.TraceCB()->text(), "Sauvegarde du dialogue ordinateur-appareil dans des fichiers .TRC et .LOG");
  EXPECT_TRUE(d.TraceCB()->isChecked());
  std::cout << "Capture : " << Capture(d, "dialogue_mode_acquisition") << "\n";

  // A duration that is no time of day: the error box, and the duration stays.
  d.Duree()->setFocus();
  QTest::keyClick(d.Duree(), Qt::Key_Home);
  for (int i = 0; i < 3; ++i) QTest::keyClick(d.Duree(), Qt::Key_Right);
  QTest::keyClick(d.Duree(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(d.Duree(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClicks(d.Duree(), "9:9");  // ':' is not typed
  EXPECT_EQ(d.Duree()->text(), "00:99:00");
  QTest::keyClick(d.Duree(), Qt::Key_Return);
  ASSERT_FALSE(p.dialogue.Messages().empty());
  EXPECT_EQ(p.dialogue.Messages().back(), "'00:99:00' n'est pas une heure correcte");
  EXPECT_EQ(d.Duree()->text(), "00:02:00");
  EXPECT_EQ(moteur->DureeMesure, 120);
  // The up/down buttons step the duration.
  QTest::mouseClick(d.DureeSB()->Haut(), Qt::LeftButton);
  EXPECT_EQ(d.Duree()->text(), "00:02:20");  // 2 min 15 s, rounded to 10 s
  EXPECT_EQ(d.NombreLabel()->text(), "N=140");

  CliqueCase(d.ModeAcqRG()->Bouton(maAppareilMaitre));
  EXPECT_EQ(d.NoteBook()->currentIndex(), 2);
  EXPECT_EQ(d.SoundCB()->count(), 7);
  EXPECT_EQ(d.SoundCB()->itemText(1), "Standard ");
  CliqueCase(d.ModeAcqRG()->Bouton(maBuretteRS232));
  EXPECT_EQ(d.NoteBook()->currentIndex(), 4);
  EXPECT_EQ(d.ComPortsBuretteRS232()->title(), QString::fromUtf8("Voie série burette Titronic"));
  EXPECT_EQ(d.ConfigBuretteBtn()->toolTip(), QString::fromUtf8("Réglage des paramètres du dosage (sensibilité ...) "));
  QTest::mouseClick(d.TestBuretteBtn(), Qt::LeftButton);
  EXPECT_TRUE(d.TestBuretteLabel()->text().contains("TITRONIC")) << d.TestBuretteLabel()->text().toStdString();
  std::cout << "Capture : " << Capture(d, "dialogue_mode_titrage") << "\n";
  CliqueCase(d.TraceCB());
  QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(moteur->ModeAcq, maBuretteRS232);
  EXPECT_TRUE(d.Modele().modification);
  EXPECT_FALSE(moteur->TraceCB);
  EXPECT_EQ(p.reglages.Lit("Software\\RS232\\FichierTrace", "Actif"), "0");
}

TEST_F(FenetresDialogues, ModeAcquisitionSansPort) {
  Demarre();
  TFenetreBalayage d(*moteur);
  MontreDialogue(d);
  CliqueCase(d.ModeAcqRG()->Bouton(maBuretteRS232));
  EXPECT_EQ(d.ComPortsBuretteRS232()->title(), "Attention : aucune voie série trouvée");
  QTest::mouseClick(d.TestBuretteBtn(), Qt::LeftButton);
  EXPECT_EQ(d.TestBuretteLabel()->text(), QString::fromUtf8("Pas de voie série sélectionnée"));
  QTest::mouseClick(d.CancelBtn(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_EQ(moteur->ModeAcq, maTemps);
}

TEST_F(FenetresDialogues, ReglageDeLaBurette) {
  Demarre();
  Voies({"Banc virtuel pH-mètre"});
  base.Burette().ecartSensible = 5e-5;
  TFenetreBurette d(*moteur, moteur->Voie(0));
  MontreDialogue(d);
  EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Configuration de la burette Titronic"));
  EXPECT_EQ(d.CancelBtn()->text(), "&Abandon");
  // The prefixes: a fixed list, nothing typed.
  for (QComboBox* c : {d.PrefixeSensibleCB(), d.PrefixeStableCB()}) {
    EXPECT_FALSE(c->isEditable());
    ASSERT_EQ(c->count(), 3);
    EXPECT_EQ(c->itemText(0), "");
    EXPECT_EQ(c->itemText(1), "m");
    EXPECT_EQ(c->itemText(2), QString::fromUtf8("μ"));
  }
  EXPECT_EQ(d.SensibleEdit()->text(), "0,05");
  EXPECT_EQ(d.PrefixeSensibleCB()->currentIndex(), 1);
  EXPECT_EQ(d.NomEdit()->maxLength(), 8);
  EXPECT_EQ(d.VminiSE()->minimum(), 10);
  EXPECT_EQ(d.VminiSE()->maximum(), 100);
  EXPECT_EQ(d.VmaxiSE()->minimum(), 100);
  EXPECT_EQ(d.VmaxiSE()->maximum(), 500);
  EXPECT_FALSE(d.DeltaVedit()->isVisible());
  CliqueCase(d.ModeIncrementCB());
  EXPECT_TRUE(d.DeltaVedit()->isVisible());
  d.DeltaVedit()->setFocus();
  d.DeltaVedit()->selectAll();
  QTest::keyClicks(d.DeltaVedit(), "0,1");
  std::cout << "Capture : " << Capture(d, "dialogue_burette") << "\n";

  d.StableEdit()->setFocus();
  d.StableEdit()->selectAll();
  QTest::keyClicks(d.StableEdit(), "beaucoup");
  const double stable = base.Burette().ecartStable;
  QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
  ASSERT_FALSE(p.dialogue.Messages().empty());
  EXPECT_EQ(p.dialogue.Messages().back(), "Nombre mal écrit");
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(d.StableEdit()->hasFocus());
  EXPECT_EQ(base.Burette().ecartStable, stable);
  QTest::keyClicks(d.StableEdit(), "20");
  d.PrefixeStableCB()->setCurrentIndex(2);
  QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_DOUBLE_EQ(base.Burette().ecartStable, 2e-5);
  EXPECT_DOUBLE_EQ(base.Burette().incrementVolume, 0.1);
  EXPECT_TRUE(base.Burette().modeIncrement);
}

TEST_F(FenetresDialogues, RenseignementsDeLaPage) {
  Demarre();
  TFenetrePage d(moteur->Page);
  d.Modele().PrepareEnvoi();
  MontreDialogue(d);
  EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Enregistre les données courantes dans Tracoria"));
  EXPECT_EQ(d.OKBtn()->text(), "Enregistrer");
  EXPECT_TRUE(d.NewPageCB()->isVisible());
  EXPECT_EQ(d.NewPageCB()->title(), QString::fromUtf8("Données vers Tracoria"));
  EXPECT_TRUE(d.NewPageCB()->Bouton(0)->isChecked());
  EXPECT_EQ(d.EditNom(1)->maxLength(), 8);
  d.EditNom(1)->setFocus();
  QTest::keyClicks(d.EditNom(1), "R");
  TapeTexte(d.EditUnite(1), QString::fromUtf8("Ω"));
  QTest::keyClicks(d.EditValeur(1), "4.7k");
  QTest::keyClicks(d.EditNom(2), "C");
  QTest::keyClicks(d.Memo(), "Dosage de l'acide chlorhydrique");
  CliqueCase(d.NewPageCB()->Bouton(1));
  std::cout << "Capture : " << Capture(d, "dialogue_page") << "\n";
  QTest::mouseClick(d.OKBtn(), Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  const TPageInfo& page = moteur->Page;
  EXPECT_EQ(d.EditValeur(1)->text(), "4.7E+3");
  EXPECT_EQ(page.NbreConst, 1);
  EXPECT_TRUE(page.Const1);
  EXPECT_FALSE(page.Const2);  // a symbol without a value
  EXPECT_EQ(page.constante1.unite, "Ω");
  EXPECT_EQ(page.Memo, (std::vector<std::string>{"Dosage de l'acide chlorhydrique"}));
  EXPECT_EQ(d.Modele().NewPageCB, 1);

  // Typed then cancelled: the texts stay, the flags do not change.
  MontreDialogue(d);
  QTest::keyClicks(d.EditValeur(2), "12");
  QTest::mouseClick(d.CancelBtn(), Qt::LeftButton);
  EXPECT_EQ(page.constante2.valeur, "12");
  EXPECT_FALSE(page.Const2);
  EXPECT_EQ(page.NbreConst, 1);
}
