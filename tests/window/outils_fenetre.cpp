// Steps shared by the window tests.
#include "window/outils_fenetre.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <fstream>
#include <sstream>

#include "dialogs/fenetre_choix_app.h"
#include "dialogs/widgets_dialogue.h"
#include "window/application_widgets.h"

std::string LitFichierEssai(const std::filesystem::path& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void Clique(QWidget* w) {
  ASSERT_NE(w, nullptr);
  QTest::mouseClick(w, Qt::LeftButton);
}

// The bench pH meter on channel 0 through the instrument selection dialog.
void ChoisitPhMetre(TFenetreChoixApp& d) {
  TGroupeRadio* grandeurs = d.GrandeurCombo();
  int ph = -1;
  for (int i = 0; i < grandeurs->Nombre(); ++i)
    if (grandeurs->Bouton(i)->text() == "pH") ph = i;
  ASSERT_GE(ph, 0);
  CliqueCase(grandeurs->Bouton(ph));
  ASSERT_TRUE(ChoisitDansListe(d.ListeAppareilCombo(), QString::fromUtf8("Banc virtuel pH-mètre")));
  // The first item of the list is attached by "Ajouter", not by choosing it.
  EXPECT_FALSE(d.PageControl()->isVisible());
  Clique(d.AddBtn());
  EXPECT_TRUE(d.PageControl()->isVisible());
  EXPECT_EQ(d.NomLabel(0)->text(), QString::fromUtf8("Banc virtuel pH-mètre"));
  TGroupeRadio* ports = d.Ports(0);
  int com3 = -1;
  for (int i = 0; i < ports->Nombre(); ++i)
    if (ports->Bouton(i)->text() == "COM3") com3 = i;
  ASSERT_GE(com3, 0);
  CliqueCase(ports->Bouton(com3));
  EXPECT_TRUE(ports->Bouton(com3)->isChecked());
  Clique(d.OKBtn());
}

// Types over the digits of a shown duration, keeping its separators: "hh:mm:ss".
void TapeDuree(QLineEdit* e, const QString& heures, const QString& minutes, const QString& secondes) {
  e->setFocus();
  QTest::keyClick(e, Qt::Key_Home);
  const QString champs[3] = {heures, minutes, secondes};
  for (int c = 0; c < 3; ++c) {
    if (c > 0) QTest::keyClick(e, Qt::Key_Right);  // over the ':'
    QTest::keyClick(e, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(e, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClicks(e, champs[c]);
  }
  QTest::keyClick(e, Qt::Key_Return);
}

void TapeEntier(QSpinBox* s, int valeur) {
  s->setFocus();
  QTest::keyClick(s, Qt::Key_Home);
  QTest::keyClick(s, Qt::Key_End, Qt::ShiftModifier);
  QTest::keyClicks(s, QString::number(valeur));
  QTest::keyClick(s, Qt::Key_Return);
}
