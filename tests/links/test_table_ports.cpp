// The COM port table: default rule, pins, environment override, probes.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "links/table_ports.h"
#include "platform/simule/serie_simulee.h"
#include "platform/simule/services_simules.h"

namespace {
struct CasNumero {
  const char* nom;
  const char* chemin;
  int com;
};
void PrintTo(const CasNumero& c, std::ostream* os) { *os << c.nom; }


class RegleParDefaut : public testing::TestWithParam<CasNumero> {};

TEST_P(RegleParDefaut, NumeroDuPeripherique) {
  EXPECT_EQ(TTablePorts::NumeroParDefaut(GetParam().chemin), GetParam().com);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, RegleParDefaut,
    testing::Values(CasNumero{"ttyS0", "/dev/ttyS0", 1}, CasNumero{"ttyS3", "/dev/ttyS3", 4},
                    CasNumero{"ttyS4_apres_les_acm", "/dev/ttyS4", 37}, CasNumero{"ttyS17", "/dev/ttyS17", 50},
                    CasNumero{"ttyS18_hors_table", "/dev/ttyS18", 0}, CasNumero{"ttyUSB0", "/dev/ttyUSB0", 5},
                    CasNumero{"ttyUSB15", "/dev/ttyUSB15", 20}, CasNumero{"ttyUSB16_hors_table", "/dev/ttyUSB16", 0},
                    CasNumero{"ttyACM0", "/dev/ttyACM0", 21}, CasNumero{"ttyACM15", "/dev/ttyACM15", 36},
                    CasNumero{"zero_en_tete", "/dev/ttyS01", 0}, CasNumero{"sans_numero", "/dev/ttyUSB", 0},
                    CasNumero{"lettres", "/dev/ttyUSBa", 0}, CasNumero{"pseudo_terminal", "/dev/pts/3", 0},
                    CasNumero{"autre_dossier", "/tmp/ttyS0", 0}),
    [](const testing::TestParamInfo<CasNumero>& i) { return std::string(i.param.nom); });

class TablePorts : public testing::Test {
protected:
  TablePorts() : serie(boucle) {
    for (const char* chemin : {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyACM1", "/dev/pts/4"}) serie.AjouteLigne(chemin);
  }
  TTablePorts Table() {
    return TTablePorts(serie, &reglages, [this](const std::string& nom) -> std::optional<std::string> {
      auto it = environnement.find(nom);
      if (it == environnement.end()) return std::nullopt;
      return it->second;
    });
  }
  static std::string Liste(const TTablePorts& t) {
    std::string s;
    for (const TEntreePort& e : t.Entrees()) s += "COM" + std::to_string(e.com) + "=" + e.chemin + ";";
    return s;
  }
  TBoucleSimulee boucle;
  TSerieSimulee serie;
  TReglagesMemoire reglages;
  std::map<std::string, std::string> environnement;
};

TEST_F(TablePorts, ReglePuisEpinglesDesReglages) {
  EXPECT_EQ(Liste(Table()), "COM1=/dev/ttyS0;COM5=/dev/ttyUSB0;COM22=/dev/ttyACM1;");
  // A pinned device leaves its default number; an empty pin leaves the number empty;
  // a pin to a device not plugged in is listed all the same.
  reglages.Ecrit(TTablePorts::CleReglages, "COM9", "/dev/ttyUSB0");
  reglages.Ecrit(TTablePorts::CleReglages, "com1", "");
  reglages.Ecrit(TTablePorts::CleReglages, "COM7", "/dev/serial/by-id/usb-FTDI-if00");
  reglages.Ecrit(TTablePorts::CleReglages, "Imprimante", "/dev/lp0");
  TTablePorts t = Table();
  EXPECT_EQ(Liste(t), "COM7=/dev/serial/by-id/usb-FTDI-if00;COM9=/dev/ttyUSB0;COM22=/dev/ttyACM1;");
  EXPECT_EQ(t.Entrees()[1].origine, TOriginePort::Reglages);
  EXPECT_EQ(t.Entrees()[2].origine, TOriginePort::Defaut);
  ASSERT_EQ(t.Anomalies().size(), 1u);
  EXPECT_NE(t.Anomalies()[0].find("Imprimante"), std::string::npos);
}

TEST_F(TablePorts, VariableRemplaceToutLeReste) {
  reglages.Ecrit(TTablePorts::CleReglages, "COM9", "/dev/ttyUSB0");
  environnement[TTablePorts::Variable] = "COM3=/dev/pts/5; com4 = /dev/pts/6 ;COM99=/x;bidule;;COM8=";
  TTablePorts t = Table();
  EXPECT_EQ(Liste(t), "COM3=/dev/pts/5;COM4=/dev/pts/6;");
  EXPECT_EQ(t.Entrees()[0].origine, TOriginePort::Environnement);
  EXPECT_EQ(t.Anomalies().size(), 3u);
  // A number given twice keeps its first device and says so.
  environnement[TTablePorts::Variable] = "COM3=/dev/pts/5;COM3=/dev/pts/6";
  t.Actualise();
  EXPECT_EQ(Liste(t), "COM3=/dev/pts/5;");
  EXPECT_EQ(t.Anomalies(), std::vector<std::string>{"PELITRAX_PORTS : COM3 donné deux fois, « COM3=/dev/pts/6 » ignorée"});
  environnement[TTablePorts::Variable] = "";
  t.Actualise();
  EXPECT_TRUE(t.Entrees().empty());
}

TEST_F(TablePorts, PresenceEtExistePort) {
  environnement[TTablePorts::Variable] = "COM2=/dev/ttyS0;COM3=/dev/pts/4;COM4=/dev/ttyUSB9";
  TTablePorts t = Table();
  serie.Ligne("/dev/pts/4")->SetOccupee(true);
  EXPECT_EQ(t.Presence(2), TPresence::Present);
  EXPECT_EQ(t.Presence(3), TPresence::Occupe);
  EXPECT_EQ(t.Presence(4), TPresence::Absent);
  EXPECT_TRUE(ExistePort(t, 2));
  EXPECT_TRUE(ExistePort(t, 3));  // held by another program: present
  EXPECT_FALSE(ExistePort(t, 4));
  // A number without a device is absent without probing anything.
  const int sondages = serie.Sondages();
  EXPECT_FALSE(ExistePort(t, 1));
  EXPECT_FALSE(ExistePort(t, 51));
  EXPECT_EQ(serie.Sondages(), sondages);
}

TEST_F(TablePorts, ActualiseVoitLesNouveauxPeripheriques) {
  TTablePorts t = Table();
  EXPECT_FALSE(t.Chemin(6));
  serie.AjouteLigne("/dev/ttyUSB1");
  serie.Ligne("/dev/ttyS0")->Debranche();
  t.Actualise();
  EXPECT_EQ(t.Chemin(6), "/dev/ttyUSB1");
  EXPECT_FALSE(t.Chemin(1));
}

TEST(NumeroDeNom, FormesAcceptees) {
  EXPECT_EQ(TTablePorts::NumeroDeNom("COM3"), 3);
  EXPECT_EQ(TTablePorts::NumeroDeNom(" com50 "), 50);
  EXPECT_EQ(TTablePorts::NumeroDeNom("COM0"), 0);
  EXPECT_EQ(TTablePorts::NumeroDeNom("COM51"), 0);
  EXPECT_EQ(TTablePorts::NumeroDeNom("COM03"), 0);
  EXPECT_EQ(TTablePorts::NumeroDeNom("LPT1"), 0);
}
}  // namespace
