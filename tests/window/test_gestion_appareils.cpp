// The device database managed through the windows, on the virtual bench over
// pseudo-terminals: a new definition for the bench pH meter made with "Ajouter
// (manuel)", filled in the editor, checked on "Pilotage" and in the test window,
// saved, and used by an acquisition after the program is started again; then a
// deletion answered No when closing, gone at the next start.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <sstream>

#include "banc/catalogue.h"
#include "core/cinetique.h"
#include "core/window/fenetre_principale.h"
#include "core/window/panneau_voies.h"
#include "dialogs/fenetre_choix_app.h"
#include "dialogs/fenetre_choix_config.h"
#include "dialogs/widgets_dialogue.h"
#include "instruments/base_appareils.h"
#include "links/dialogs/fenetre_config.h"
#include "links/dialogs/fenetre_test.h"
#include "util/cp1252.h"
#include "window/banc_fenetre.h"
#include "window/outils_fenetre.h"

namespace {
const QString MonPh = QString::fromUtf8("Mon pH-mètre");

void Onglet(TFenetreConfig& e, int page) {
  QTest::mouseClick(e.PageControl()->tabBar(), Qt::LeftButton, {}, e.PageControl()->tabBar()->tabRect(page).center());
}
// Types the text over the field's, as the keyboard (or an input method) would.
void Tape(QLineEdit* e, const QString& texte) {
  e->setFocus();
  // Not Ctrl+A: the program types Greek letters with Ctrl.
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Delete);
  TapeTexte(e, texte);
}
void Radio(QButtonGroup* g, const QString& texte) {
  for (QAbstractButton* b : g->buttons())
    if (b->text() == texte) {
      CliqueCase(b);
      return;
    }
  ADD_FAILURE() << "pas de bouton " << texte.toStdString();
}

class GestionAppareils : public TBancFenetre {
protected:
  void Gestion(std::function<void(TFenetreChoixConfig&)> action) {
    QuandModal<TFenetreChoixConfig>(std::move(action));
    P().Fenetre().Action("GestionItem")->trigger();
  }
  static int Ligne(QListWidget* l, const QString& texte) {
    for (int i = 0; i < l->count(); ++i)
      if (l->item(i)->text() == texte) return i;
    return -1;
  }
  static std::vector<std::string> Lignes(const std::string& octets) {
    std::vector<std::string> lignes;
    std::istringstream f(octets);
    for (std::string l; std::getline(f, l);) lignes.push_back(l);
    return lignes;
  }
};

// The editor filled for the bench pH meter, then checked on "Pilotage" and in the test window.
void RemplitEditeur(TFenetreConfig& e) {
  Tape(e.EditNomAppareil(), MonPh);
  Tape(e.NomGrandeurCombo()->lineEdit(), "pH");
  Tape(e.EditSymbole(), "pH");
  Tape(e.EditUnite(), "");
  Tape(e.EditMin(), "0");
  Tape(e.EditMax(), "14");
  TapeEntier(e.PrecisionSE(), 3);
  Onglet(e, 1);
  Radio(e.BaudsRG(), "2400");
  Radio(e.Comports(), "COM3");
  Radio(e.ParityRG(), "Sans");
  CliqueCase(e.XonXoffBox());  // the balance copied had Xon/Xoff
  EXPECT_FALSE(e.XonXoffBox()->isChecked());
  Onglet(e, 2);
  Radio(e.EnvoiDonneesRG(), "sur demande");
  Radio(e.FixeRG(), "variable");
  Tape(e.EditDemande(), "PH?|CR|");
  Tape(e.DelaiEdit(), "150");
  QTest::mouseClick(e.DelaiBas(), Qt::LeftButton);
  EXPECT_EQ(e.DelaiEdit()->text(), "100");
  Onglet(e, 3);
  e.PilotageMemo()->setPlainText(QString::fromUtf8("PH? puis CR : mesure du pH"));

  Onglet(e, 4);
  ASSERT_EQ(e.PageControl()->currentIndex(), 4);
  Tape(e.OrdreEdit(), "PH?");
  QTest::mouseClick(e.EnvoiCR(), Qt::LeftButton);
  ASSERT_TRUE(AttendQue([&] { return e.Memo1()->toPlainText().contains(QString::fromUtf8("Réception de : ")); }))
      << e.Memo1()->toPlainText().toStdString();
  EXPECT_TRUE(e.Memo1()->toPlainText().startsWith("Envoi de : PH?\n"));
  std::cout << "Capture : " << Capture(e, "banc_editeur_pilotage") << "\n";

  QuandModal<TFenetreTest>([](TFenetreTest& t) {
    ASSERT_TRUE(AttendQue([&] { return t.MesureBtn()->isEnabled(); }));
    const QString memo = t.MemoTest()->toPlainText();
    EXPECT_TRUE(memo.contains("Envoi de :\nPH?|CR|\nAttente de 100ms\n")) << memo.toStdString();
    EXPECT_TRUE(memo.contains(QRegularExpression("Valeur lue : pH=\\d+\\.\\d+$"))) << memo.toStdString();
    std::cout << "Capture : " << Capture(t, "banc_fenetre_test") << "\n";
    QTest::mouseClick(t.CloseBtn(), Qt::LeftButton);
  });
  QTest::mouseClick(e.TestBtn(), Qt::LeftButton);
  QTest::mouseClick(e.OKBtn(), Qt::LeftButton);
}
}  // namespace

TEST_F(GestionAppareils, NouvelleDefinitionSauveeEtUtilisee) {
  Branche(3, CreeInstrument("pH-metre"));
  regional_.SetSeparateur('.');
  const std::filesystem::path fichier = dossier_ / "programme" / "RS232.INI";
  std::filesystem::copy_file(std::filesystem::path(PELITRAX_SOURCE_DIR) / "share" / "RS232.INI", fichier);
  const std::string origine = LitFichierEssai(fichier);
  Demarre();

  Gestion([this](TFenetreChoixConfig& d) {
    EXPECT_FALSE(P().Moteur().Timer->Actif());
    // The first line is selected: the new definition starts as a copy of it.
    EXPECT_EQ(d.ListBoxAppareil()->currentRow(), 0);
    QuandModal<TFenetreConfig>(RemplitEditeur);
    QTest::mouseClick(d.CreerBtn(), Qt::LeftButton);
    EXPECT_EQ(d.ListBoxAppareil()->item(d.ListBoxAppareil()->count() - 1)->text(), MonPh + " pH");
    QTest::mouseClick(d.EnregistreBtn(), Qt::LeftButton);
    QTest::mouseClick(d.ExitBtn(), Qt::LeftButton);  // saved: nothing asked
  });
  EXPECT_TRUE(dialogue_.ScriptEpuise());

  // The file read back: the new section, and every line of the others as it was.
  const std::string ecrit = LitFichierEssai(fichier);
  EXPECT_NE(ecrit.find(Utf8VersCp1252("[Mon pH-mètre]\r\n")), std::string::npos);
  EXPECT_NE(ecrit.find("Demande=PH?|CR|\r\nDemandeBis=\r\n"), std::string::npos);
  const auto avant = Lignes(origine);
  const auto apres = Lignes(ecrit);
  const auto index = std::find(avant.begin(), avant.end(), "[Index]\r");
  ASSERT_NE(index, avant.end());
  ASSERT_GE(apres.size(), avant.size());
  EXPECT_TRUE(std::equal(avant.begin(), index, apres.begin()));

  DemarreProgramme();
  Tappareil* nouveau = demarrage_.base->ChercheAppareil(EnTexte(MonPh));
  ASSERT_NE(nouveau, nullptr);
  EXPECT_EQ(nouveau->Demande, "PH?\r");
  EXPECT_EQ(nouveau->Baud, 2400);
  EXPECT_EQ(nouveau->ComNumber, 3);
  EXPECT_FALSE(nouveau->XonXoff);
  QuandModal<TFenetreChoixApp>([](TFenetreChoixApp& c) {
    TGroupeRadio* grandeurs = c.GrandeurCombo();
    for (int i = 0; i < grandeurs->Nombre(); ++i)
      if (grandeurs->Bouton(i)->text() == "pH") CliqueCase(grandeurs->Bouton(i));
    ASSERT_TRUE(ChoisitDansListe(c.ListeAppareilCombo(), MonPh));
    if (c.Modele().NbreAttaches() == 0) Clique(c.AddBtn());
    ASSERT_EQ(c.Modele().NbreAttaches(), 1);
    Clique(c.OKBtn());
  });
  Clique(P().Fenetre().Bouton("AddAppareilBtn"));
  ASSERT_EQ(P().Moteur().NbreVoies(), 1);
  TPanneauVoie* voie0 = P().Fenetre().PanelVoies()->Voie(0);
  EXPECT_EQ(voie0->title(), MonPh);
  ASSERT_TRUE(AttendQue([&] { return voie0->Valeur()->text().startsWith("pH="); }, 8000))
      << voie0->Valeur()->text().toStdString();
}

TEST_F(GestionAppareils, SuppressionNonSauvee) {
  Branche(3, CreeInstrument("pH-metre"));
  Demarre();
  const QString balance = QString::fromUtf8("Banc virtuel balance");
  // The balance is on channel 0, the pH meter on channel 1.
  TCinetiqueMain& M = P().Moteur();
  M.SetNbreVoies(2);
  M.AppareilAcq[0] = demarrage_.base->ChercheAppareil(EnTexte(balance));
  M.AppareilAcq[1] = demarrage_.base->ChercheAppareil("Banc virtuel pH-mètre");
  M.InitAttente();
  QApplication::processEvents();
  ASSERT_TRUE(P().Fenetre().PanelVoies()->Voie(1)->isVisible());
  Gestion([&](TFenetreChoixConfig& d) {
    const int ligne = Ligne(d.ListBoxAppareil(), balance + " masse");
    ASSERT_GE(ligne, 0);
    d.ListBoxAppareil()->setCurrentRow(ligne);
    dialogue_.AttendConfirmation("Suppression de " + EnTexte(balance), true);
    QTest::mouseClick(d.DelBtn(), Qt::LeftButton);
    EXPECT_EQ(Ligne(d.ListBoxAppareil(), balance + " masse"), -1);
    dialogue_.AttendConfirmation("Sauvegarde des modifications", false);
    QTest::mouseClick(d.ExitBtn(), Qt::LeftButton);
  });
  EXPECT_TRUE(dialogue_.ScriptEpuise());
  EXPECT_EQ(demarrage_.base->ChercheAppareil(EnTexte(balance)), nullptr);
  // Its channel is gone with it: the pH meter alone, on the first panel.
  QApplication::processEvents();
  ASSERT_EQ(M.NbreVoies(), 1);
  EXPECT_EQ(P().Fenetre().PanelVoies()->Voie(0)->title(), QString::fromUtf8("Banc virtuel pH-mètre"));
  EXPECT_FALSE(P().Fenetre().PanelVoies()->Voie(1)->isVisible());
  EXPECT_EQ(M.EtatAcq, eaAttente);
  DemarreProgramme();
  EXPECT_NE(demarrage_.base->ChercheAppareil(EnTexte(balance)), nullptr);
}
