// The device list dialogs' windows offscreen, on an engine of the simulated platform:
// captions, the list, the editors they open, deleting and the question on closing,
// a model added from another file, and a picture of each.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <fstream>

#include "core/banc_moteur.h"
#include "dialogs/fenetre_burette.h"
#include "dialogs/fenetre_choix_cfg_app.h"
#include "dialogs/fenetre_choix_config.h"
#include "instruments/base_appareils.h"
#include "links/dialogs/fenetre_config.h"
#include "util/cp1252.h"
#include "window/application_widgets.h"

namespace {
const QString PH = QString::fromUtf8("Banc virtuel pH-mètre");
const QString LignePH = PH + " pH";

class FenetresGestion : public TBancMoteur {
protected:
  FenetresGestion() { ApplicationWidgets(); }
  static int Ligne(QListWidget* l, const QString& debut) {
    for (int i = 0; i < l->count(); ++i)
      if (l->item(i)->text().startsWith(debut)) return i;
    return -1;
  }
};
}  // namespace

TEST_F(FenetresGestion, ListeDesAppareils) {
  Demarre();
  TFenetreChoixConfig d(*moteur);
  MontreDialogue(d);
  EXPECT_EQ(d.windowTitle(), "Configuration d'appareils RS232");
  EXPECT_EQ(d.EnregistreBtn()->text(), "&Enregistrer");
  EXPECT_EQ(d.CreerBtn()->text(), "Ajouter (manuel)");
  EXPECT_EQ(d.AddBtn()->text(), "Ajouter (fichier)");
  EXPECT_EQ(d.AddBtn()->toolTip(), "Ajouter la config. d'un appareil se trouvant dans un fichier");
  EXPECT_EQ(d.ModifBtn()->text(), "&Voir / Modifier");
  EXPECT_EQ(d.ExitBtn()->text(), "&Fermer");
  EXPECT_EQ(d.BuretteRS232Btn()->text(), "Burette RS232");
  EXPECT_EQ(d.ListeAppRecentCB()->text(), QString::fromUtf8("Liste app. récents"));
  EXPECT_TRUE(d.ListeAppRecentCB()->isChecked());
  ASSERT_EQ(d.ListBoxAppareil()->count(), static_cast<int>(base.ListeAppareils.size()));
  EXPECT_EQ(d.ListBoxAppareil()->currentRow(), 0);
  EXPECT_TRUE(d.DelBtn()->isVisible());
  EXPECT_FALSE(d.DelBtn()->isEnabled());
  std::cout << "Capture : " << Capture(d, "dialogue_gestion_appareils") << "\n";

  // "&Voir / Modifier" opens the editor on the selected model; Abandon changes nothing.
  const int ph = Ligne(d.ListBoxAppareil(), LignePH);
  ASSERT_GE(ph, 0);
  d.ListBoxAppareil()->setCurrentRow(ph);
  EXPECT_TRUE(d.DelBtn()->isEnabled());
  QuandModal<TFenetreConfig>([](TFenetreConfig& e) {
    EXPECT_EQ(e.EditNomAppareil()->text(), PH);
    QTest::mouseClick(e.CancelBtn(), Qt::LeftButton);
  });
  QTest::mouseClick(d.ModifBtn(), Qt::LeftButton);
  EXPECT_FALSE(d.Modele().modif);
  // A USB meter opens nothing.
  d.ListBoxAppareil()->setCurrentRow(Ligne(d.ListBoxAppareil(), "OPH218"));
  QTest::mouseClick(d.ModifBtn(), Qt::LeftButton);
  EXPECT_FALSE(d.Modele().modif);

  // The burette settings with no instrument.
  QuandModal<TFenetreBurette>([](TFenetreBurette& b) { b.reject(); });
  QTest::mouseClick(d.BuretteRS232Btn(), Qt::LeftButton);
  EXPECT_FALSE(d.Modele().modif);

  // Deleting, then closing: the question, answered No.
  d.ListBoxAppareil()->setCurrentRow(ph);
  p.dialogue.AttendConfirmation("Suppression de " + PH.toStdString(), true);
  QTest::mouseClick(d.DelBtn(), Qt::LeftButton);
  EXPECT_EQ(Ligne(d.ListBoxAppareil(), LignePH), -1);
  EXPECT_EQ(base.ChercheAppareil(PH.toStdString()), nullptr);
  p.dialogue.AttendConfirmation("Sauvegarde des modifications", false);
  QTest::mouseClick(d.ExitBtn(), Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_TRUE(p.dialogue.ScriptEpuise());
  EXPECT_FALSE(std::filesystem::exists(base.NomFichierIni()));
}

TEST_F(FenetresGestion, AjoutDepuisUnFichier) {
  {
    std::ofstream f("autres.ini", std::ios::binary);
    f << Utf8VersCp1252(
        "[Index]\r\n0=Thermomètre X\r\n1=Balance Z\r\n\r\n"
        "[Thermomètre X]\r\nNom=température\r\nSymbole=T\r\nUnité=°C\r\nDemande=T?|CR|\r\n\r\n"
        "[Balance Z]\r\nNom=masse\r\nSymbole=m\r\n");
  }
  Demarre();
  TFenetreChoixConfig d(*moteur);
  MontreDialogue(d);
  const int avant = d.ListBoxAppareil()->count();
  QuandModal<TFenetreChoixCfgApp>([this](TFenetreChoixCfgApp& a) {
    EXPECT_EQ(a.windowTitle(), QString::fromUtf8("Ajout d'un appareil à sortie RS232 à partir d'un fichier"));
    EXPECT_FALSE(a.GrandeurCombo()->isEnabled());
    EXPECT_FALSE(a.AddBtn()->isEnabled());
    p.dialogue.AttendFichier("", "autres.ini");
    QTest::mouseClick(a.OpenBtn(), Qt::LeftButton);
    EXPECT_TRUE(a.GrandeurCombo()->isEnabled());
    EXPECT_EQ(a.GrandeurCombo()->currentText(), QString::fromUtf8("température"));
    EXPECT_EQ(a.ListeAppareilCombo()->currentText(), QString::fromUtf8("Thermomètre X"));
    std::cout << "Capture : " << Capture(a, "dialogue_ajout_fichier") << "\n";
    QTest::mouseClick(a.AddBtn(), Qt::LeftButton);
    QTest::mouseClick(a.CloseBtn(), Qt::LeftButton);
  });
  QTest::mouseClick(d.AddBtn(), Qt::LeftButton);
  // Shown in the list at once, and offered for saving.
  EXPECT_EQ(d.ListBoxAppareil()->count(), avant + 1);
  EXPECT_EQ(d.ListBoxAppareil()->item(avant)->text(), QString::fromUtf8("Thermomètre X température"));
  p.dialogue.AttendConfirmation("Sauvegarde des modifications", true);
  QTest::mouseClick(d.ExitBtn(), Qt::LeftButton);
  EXPECT_TRUE(p.dialogue.ScriptEpuise());
  TBaseAppareils relue(p.boucle, (std::filesystem::current_path() / "programme").string());
  std::string message;
  ASSERT_TRUE(relue.ChargeAppareils(message));
  ASSERT_NE(relue.ChercheAppareil("Thermomètre X"), nullptr);
  EXPECT_EQ(relue.ChercheAppareil("Thermomètre X")->Demande, "T?\r");
}
