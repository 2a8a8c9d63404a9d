// The program's windows with the vendor libraries (in-process stand-ins): at the main
// window's activation the conductimeter is put on channel 0 and the pH meter's quantity
// choice, answered with Escape, puts its potential on channel 1.
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <cmath>

#include "core/cinetique.h"
#include "core/window/fenetre_principale.h"
#include "dialogs/choix_grandeur.h"
#include "links/bibliotheques_factices.h"
#include "window/banc_fenetre.h"

namespace {
class UsbFenetre : public TBancFenetre {
protected:
  UsbFenetre() { factice::Remet(); }
  ~UsbFenetre() override {
    programme_.reset();
    demarrage_ = TDemarrage{};
    factice::Remet();
  }
};

TEST_F(UsbFenetre, DetectionALActivationAvecLeChoixDeLaGrandeur) {
  factice::usb.metres = {{601, "/dev/c", true, {{"?measure Cd", "1.413 mS/cm"}}},
                         {600, "/dev/p", true, {{"?measure mV", "-123.4 mV"}}}};
  bibliotheques_.Enregistre(NomBibliothequeUSB, factice::SymbolesUSB());
  // The quantity choice is modal: answered as a person would, with Escape.
  QTimer reponse;
  reponse.setInterval(50);
  QObject::connect(&reponse, &QTimer::timeout, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        d && d->windowTitle() == QString::fromUtf8(TChoixGrandeurDlg::Caption))
      QTest::keyClick(d, Qt::Key_Escape);
  });
  reponse.start();
  Demarre();
  TCinetiqueMain& M = P().Moteur();
  ASSERT_TRUE(AttendQue([&] { return M.NbreVoies() == 2; })) << M.NbreVoies();
  EXPECT_EQ(M.Voie(0)->NomAppareil, "OCD218 USB (C)");
  EXPECT_EQ(M.Voie(1)->NomAppareil, "OPH218 USB (mV)");
  EXPECT_EQ(dialogue_.Messages(), (std::vector<std::string>{"Ajout conductimètre OCD218", "Ajout voltmètre OPH218"}));
  ASSERT_TRUE(AttendQue([&] { return !std::isnan(M.Voie(1)->ValeurCourante); }, 5000));
  EXPECT_DOUBLE_EQ(M.Voie(0)->ValeurCourante, 0.001413);
  EXPECT_DOUBLE_EQ(M.Voie(1)->ValeurCourante, -0.1234);
}
}  // namespace
