// The quantity choice on screen: Enter chooses pH, Escape the potential, the close box
// nothing; and a picture of it for a person.
#include <QPushButton>
#include <QTest>

#include "core/adaptateurs.h"
#include "core/banc_moteur.h"
#include "dialogs/fenetre_choix_grandeur.h"
#include "window/application_widgets.h"

namespace {
class FenetreChoixGrandeur : public TBancMoteur {
protected:
  FenetreChoixGrandeur() {
    ApplicationWidgets();
    Demarre();
  }
  TAdaptateurs adaptateurs;  // the definitions as they are: no library needed here
};

TEST_F(FenetreChoixGrandeur, EntreePhEchapPotentielFermetureRien) {
  TFenetreChoixGrandeur d(*moteur, adaptateurs);
  EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Choix pHmètre/voltmètre"));
  EXPECT_EQ(d.pHBtn()->text(), "Mesure de pH");
  EXPECT_EQ(d.tensionBtn()->text(), "Mesure de potentiel");
  const TMetreUSB metre{600, "/dev/hidraw0", true};

  d.Modele().Prepare(metre, 0);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  d.grab().save(PELITRAX_ARTEFACTS_DIR "/choix_grandeur.png");
  QTest::keyClick(&d, Qt::Key_Return);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(moteur->AppareilAcq[0], base.AppareilPH);
  EXPECT_EQ(base.AppareilPH->pathOrigalys, "/dev/hidraw0");
  EXPECT_EQ(p.dialogue.Messages().back(), "Ajout pHmètre OPH218");

  d.Modele().Prepare(metre, 1);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  QTest::keyClick(&d, Qt::Key_Escape);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(moteur->AppareilAcq[1], base.AppareilTension);
  EXPECT_EQ(p.dialogue.Messages().back(), "Ajout voltmètre OPH218");

  const auto messages = p.dialogue.Messages().size();
  d.Modele().Prepare(metre, 2);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  d.close();  // the window's close box
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_EQ(moteur->AppareilAcq[2], nullptr);
  EXPECT_EQ(d.Modele().Choisi, nullptr);
  EXPECT_EQ(p.dialogue.Messages().size(), messages);
}
}  // namespace
