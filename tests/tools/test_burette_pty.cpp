// The burette's dialogue on real serial devices: the bench burette and the titration
// pH meter served on pseudo-terminals, read through QSerialPort and the port object.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>
#include <string>

#include "banc/banc_pty.h"
#include "banc/burette_simulee.h"
#include "banc/catalogue.h"
#include "commun/environnement_qt.h"
#include "instruments/burette.h"
#include "links/port_serie.h"
#include "platform/qt/boucle_qt.h"
#include "platform/qt/serie_qt.h"

namespace {
class BurettePty : public testing::Test {
protected:
  BurettePty()
      : table(serie, nullptr,
              [this](const std::string& n) -> std::optional<std::string> {
                if (n == TTablePorts::Variable) return variable;
                return std::nullopt;
              }),
        portBurette(serie, boucle, table, 1),
        portPh(serie, boucle, table, 3),
        burette(boucle) {
    const std::string cheminBurette = banc.Ajoute(CreeInstrument("burette"));
    const std::string cheminPh = banc.Ajoute(CreeInstrument("pH-metre-titrage"));
    variable = "COM1=" + cheminBurette + ";COM3=" + cheminPh;
    table.Actualise();
    banc.Demarre();
    portBurette.SetAutoOpen(false);
    // A pseudo-terminal refuses 7-bit characters; it carries the bytes whatever the
    // framing, so the burette's 4800 bauds with 8 bits do here.
    portBurette.SetBaud(4800);
    portBurette.SetStopBits(2);
    portPh.SetAutoOpen(false);
    portPh.SetBaud(2400);
    portPh.SetOnTriggerAvail({this, [this](TPortSerie* p, std::uint16_t n) {
                                for (int i = 0; i < n && p->CharReady(); ++i) recuPh += p->GetChar();
                              }});
    burette.VoieSerie = &portBurette;
    burette.VolumeMin = 0.05;
    burette.VolumeMax = 1;
  }
  ~BurettePty() override { banc.Arrete(); }

  void RegleBurette(const std::function<void(TBuretteSimulee&)>& reglage) {
    banc.Agit(0, [&](TInstrumentBanc& i, std::int64_t) { reglage(static_cast<TBuretteSimulee&>(i)); });
  }
  void Ouvre() {
    ASSERT_FALSE(banc.Chemin(0).empty());
    portBurette.SetOpen(true);
    portPh.SetOpen(true);
  }
  std::string PhLu() {
    recuPh.clear();
    portPh.PutString("PH?\r");
    const std::int64_t fin = boucle.Millisecondes() + 2000;
    while (recuPh.find('\r') == std::string::npos && boucle.Millisecondes() < fin) boucle.TraiteEvenements(20);
    return recuPh;
  }

  TBancPty banc;
  std::string variable;
  TBoucleQt boucle;
  TSerieQt serie;
  TTablePorts table;
  TPortSerie portBurette;
  TPortSerie portPh;
  TburetteRS232 burette;
  std::string recuPh;
};

TEST_F(BurettePty, InitialisationVersementEtRelecture) {
  RegleBurette([](TBuretteSimulee& b) {
    b.SetAdresse("07");
    b.SetCapacite(50);
  });
  Ouvre();
  ASSERT_TRUE(burette.initBurette()) << burette.erreurInit;
  EXPECT_EQ(burette.erreurInit, "");
  EXPECT_EQ(burette.ValMaxi, 50);  // answered only once the address was given
  EXPECT_EQ(burette.vitesseVerse, 10);
  const std::int64_t debut = boucle.Millisecondes();
  ASSERT_TRUE(burette.verse(0.237)) << burette.erreurDialogue;
  EXPECT_GE(boucle.Millisecondes() - debut, 1200);
  EXPECT_NEAR(burette.volume(), 0.2, 1e-9);
  // The titration's meter answers from the beaker the burette fills.
  EXPECT_EQ(PhLu().size(), 6u);
}

TEST_F(BurettePty, PremiereReponseEnErreur) {
  RegleBurette([](TBuretteSimulee& b) { b.SetErreurAuDemarrage(true); });
  Ouvre();
  ASSERT_TRUE(burette.initBurette()) << burette.erreurInit;
  EXPECT_NE(burette.identification.find("TITRONIC"), std::string::npos);
}

TEST_F(BurettePty, CapaciteQuiNEstPasUnEntier) {
  RegleBurette([](TBuretteSimulee& b) { b.SetReponseCapacite("RA:?? mL"); });
  burette.ValMaxi = 50;
  Ouvre();
  ASSERT_TRUE(burette.initBurette()) << burette.erreurInit;
  EXPECT_EQ(burette.ValMaxi, 20);
}

TEST_F(BurettePty, UneBuretteMuetteDonneSonMessageSansBloquer) {
  RegleBurette([](TBuretteSimulee& b) { b.SetMuette(true); });
  Ouvre();
  const std::int64_t debut = boucle.Millisecondes();
  EXPECT_FALSE(burette.initBurette());
  EXPECT_EQ(burette.erreurInit, "Burette Schott Titronic non trouvée");
  EXPECT_LT(boucle.Millisecondes() - debut, 2500);
  EXPECT_FALSE(burette.verse(0.5));
  EXPECT_EQ(burette.erreurDialogue, "Burette Schott Titronic non trouvée");
}

TEST_F(BurettePty, UneBuretteQuiSeTaitEnCoursDeTitrage) {
  Ouvre();
  ASSERT_TRUE(burette.initBurette()) << burette.erreurInit;
  RegleBurette([](TBuretteSimulee& b) { b.SetMuette(true); });
  const std::int64_t debut = boucle.Millisecondes();
  for (int k = 0; k < TburetteRS232::LecturesSansReponseMax; ++k) burette.volume();
  EXPECT_TRUE(burette.Muette());
  EXPECT_EQ(burette.erreurDialogue, "Pas de réponse de la burette");
  EXPECT_LT(boucle.Millisecondes() - debut, 1500);
}

}  // namespace
