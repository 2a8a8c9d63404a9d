// The port object on real QSerialPort devices: bench instruments served on
// pseudo-terminals, a pseudo-terminal closed under an open port, a busy device.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <filesystem>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "banc/banc_pty.h"
#include "banc/phmetre.h"
#include "commun/attente.h"
#include "commun/environnement_qt.h"
#include "links/port_serie.h"
#include "platform/qt/boucle_qt.h"
#include "platform/qt/serie_qt.h"
#include "util/fichiers.h"

namespace {
double TempsProcesseur() {
  rusage r{};
  getrusage(RUSAGE_SELF, &r);
  return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
         static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

class PortPty : public testing::Test {
protected:
  PortPty()
      : table(serie, nullptr,
              [this](const std::string& n) -> std::optional<std::string> {
                if (n == TTablePorts::Variable) return variable;
                return std::nullopt;
              }),
        port(serie, boucle, table, 3) {
    AjoutePhMetre();
    banc.Demarre();
    port.SetAutoOpen(false);
    port.SetBaud(2400);
    port.SetOnTriggerAvail({this, [this](TPortSerie* p, std::uint16_t n) {
                              comptes.push_back(n);
                              for (int i = 0; i < n && p->CharReady(); ++i) recu += p->GetChar();
                            }});
  }
  ~PortPty() override { banc.Arrete(); }

  void AjoutePhMetre() {
    const std::string chemin = banc.Ajoute(std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
    ASSERT_FALSE(chemin.empty());
    variable = "COM3=" + chemin + ";COM4=" + chemin;
    table.Actualise();
  }
  // Runs the loop until `fini` or the delay has passed.
  bool Attend(const std::function<bool()>& fini, int delaiMs = 3000) { return AttendQue(boucle, fini, delaiMs); }

  TBoucleQt boucle;
  TSerieQt serie;
  TBancPty banc;
  std::string variable;
  TTablePorts table;
  TPortSerie port;
  std::vector<int> comptes;
  std::string recu;
};

TEST_F(PortPty, ReponseEnPlusieursEvenementsRassemblee) {
  port.SetOpen(true);
  EXPECT_EQ(port.Peripherique(), banc.Chemin(0));
  port.PutString("PH?\r");
  ASSERT_TRUE(Attend([&] { return recu.find('\r') != std::string::npos; }));
  EXPECT_EQ(recu, " 7.02\r");
  // 2400 bauds: one character every 4 ms, each one its own notification.
  EXPECT_GE(comptes.size(), 2u);
  EXPECT_EQ(std::accumulate(comptes.begin(), comptes.end(), 0), 6);
}

TEST_F(PortPty, TraceDUnEchangeOctetPourOctet) {
  std::filesystem::remove("pty.trc");
  port.SetTraceName("pty.trc");
  port.SetLogName("pty.log");
  port.SetTracing(tlOn);
  port.SetLogging(tlOn);
  port.SetOpen(true);
  port.PutString("PH?\r");
  ASSERT_TRUE(Attend([&] { return recu.size() == 6; }));
  port.SetTracing(tlDump);
  port.SetLogging(tlDump);
  EXPECT_EQ(LitFichier("pty.trc"), "Transmit: PH?[0D]\r\n\r\nReceive: [20]7.02[0D]\r\n");
  const std::string journal = LitFichier("pty.log").value_or("");
  EXPECT_NE(journal.find("P\xE9riph\xE9rique : " + banc.Chemin(0) + "\r\n"), std::string::npos);
}

TEST_F(PortPty, ReglagesSurUnPortOuvert) {
  port.SetOpen(true);
  port.SetBaud(9600);
  port.SetHWFlowOptions({hwfUseRTS, hwfRequireCTS});
  port.SetSWFlowOptions(swfBoth);
  port.SetHWFlowOptions({});
  port.SetSWFlowOptions(swfNone);
  port.SetBaud(2400);
  port.PutString("PH?\r");
  EXPECT_TRUE(Attend([&] { return recu == " 7.02\r"; }));
}

TEST_F(PortPty, PseudoTerminalFermeSousUnPortOuvert) {
  std::vector<std::string> messages;
  port.SetOnPerte([&](TPortSerie*, const std::string& m) { messages.push_back(m); });
  port.SetOpen(true);
  port.PutString("PH?\r");
  ASSERT_TRUE(Attend([&] { return recu.size() == 6; }));
  const auto avant = comptes.size();
  const std::string chemin = banc.Chemin(0);

  banc.Ferme(0);
  const std::int64_t fermeture = boucle.Millisecondes();
  ASSERT_TRUE(Attend([&] { return !messages.empty(); }, 2000));
  EXPECT_LT(boucle.Millisecondes() - fermeture, 1000);
  EXPECT_EQ(messages[0].rfind("COM3 : liaison perdue avec " + chemin + " (", 0), 0u) << messages[0];
  EXPECT_FALSE(port.Open());

  // The loop idles again: CPU time of the whole process over one second of waiting.
  const double debut = TempsProcesseur();
  Attend([] { return false; }, 1000);
  EXPECT_LT(TempsProcesseur() - debut, 0.15);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(comptes.size(), avant);
  EXPECT_NO_THROW(port.PutString("PH?\r"));

  // The device comes back (on another pseudo-terminal): the port opens again.
  AjoutePhMetre();
  port.SetOpen(true);
  recu.clear();
  port.PutString("PH?\r");
  EXPECT_TRUE(Attend([&] { return recu == " 7.02\r"; }));
}

TEST_F(PortPty, PeripheriqueOccupe) {
  port.SetOpen(true);
  TPortSerie deuxieme(serie, boucle, table, 4);
  EXPECT_TRUE(ExistePort(table, 4));
  try {
    deuxieme.SetOpen(true);
    ADD_FAILURE();
  } catch (const EPortSerie& e) {
    EXPECT_EQ(e.Code(), TCodeSerie::Occupe);
    EXPECT_EQ(std::string(e.what()), "COM4 : " + banc.Chemin(0) + " est utilisé par un autre programme");
  }
  port.SetOpen(false);
  EXPECT_NO_THROW(deuxieme.SetOpen(true));
}

TEST_F(PortPty, PeripheriqueTenuParUnAutreProgramme) {
  const QString flock = QStandardPaths::findExecutable("flock");
  ASSERT_FALSE(flock.isEmpty()) << "flock (util-linux) est nécessaire";
  QProcess autre;
  // flock holds the device until its child (cat) ends with the end of its input.
  autre.start(flock, {QString::fromStdString(banc.Chemin(0)), "cat"});
  ASSERT_TRUE(autre.waitForStarted());
  // Wait until flock has taken the lock.
  TPresence presence = TPresence::Present;
  for (int i = 0; i < 100 && presence != TPresence::Occupe; ++i) {
    presence = table.Presence(3);
    if (presence != TPresence::Occupe) QThread::msleep(20);
  }
  EXPECT_EQ(presence, TPresence::Occupe);
  EXPECT_TRUE(ExistePort(table, 3));
  try {
    port.SetOpen(true);
    ADD_FAILURE();
  } catch (const EPortSerie& e) {
    EXPECT_EQ(e.Code(), TCodeSerie::Occupe);
  }
  EXPECT_FALSE(port.Open());
  autre.closeWriteChannel();
  ASSERT_TRUE(autre.waitForFinished());
  EXPECT_NO_THROW(port.SetOpen(true));
}

// A hang-up that nothing reports: the port's queue and Qt's buffer are full, so Qt no
// longer reads the line. The check the acquisition's tick makes finds it.
TEST(PortPtyPlein, RaccrochageSansAvisTrouveParLaVerification) {
  const int maitre = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(maitre, 0);
  char nom[128];
  ASSERT_EQ(::grantpt(maitre) | ::unlockpt(maitre) | ::ptsname_r(maitre, nom, sizeof nom), 0);
  {
    // Raw, so that the flood is neither echoed nor held in lines.
    const int esclave = ::open(nom, O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(esclave, 0);
    termios t{};
    ASSERT_EQ(::tcgetattr(esclave, &t), 0);
    ::cfmakeraw(&t);
    ::tcsetattr(esclave, TCSANOW, &t);
    ::close(esclave);
  }
  TBoucleQt boucle;
  TSerieQt serie;
  const std::string variable = std::string("COM3=") + nom;
  TTablePorts table(serie, nullptr, [&](const std::string& n) -> std::optional<std::string> {
    if (n == TTablePorts::Variable) return variable;
    return std::nullopt;
  });
  TPortSerie port(serie, boucle, table, 3);
  port.SetAutoOpen(false);
  std::vector<std::string> messages;
  port.SetOnPerte([&](TPortSerie*, const std::string& m) { messages.push_back(m); });
  port.SetOpen(true);
  // Nobody takes the bytes: the port's queue fills, then Qt's buffer, then the line's.
  const std::string bloc(1024, 'x');
  for (int i = 0; i < 400; ++i) {
    const ssize_t n = ::write(maitre, bloc.data(), bloc.size());
    boucle.TraiteEvenements(5);
    if (n < 0 && port.InBuffUsed() == port.InSize()) break;
  }
  ASSERT_EQ(port.InBuffUsed(), port.InSize());
  ::close(maitre);
  const std::int64_t fin = boucle.Millisecondes() + 200;
  while (messages.empty() && boucle.Millisecondes() < fin) boucle.TraiteEvenements(20);

  port.VerifieLiaison();
  EXPECT_FALSE(port.Open());
  const std::int64_t fin2 = boucle.Millisecondes() + 2000;
  while (messages.empty() && boucle.Millisecondes() < fin2) boucle.TraiteEvenements(20);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("COM3 : liaison perdue avec " + std::string(nom) + " (", 0), 0u) << messages[0];
  // A second check of the closed port does nothing.
  port.VerifieLiaison();
  boucle.TraiteEvenements(20);
  EXPECT_EQ(messages.size(), 1u);
}

TEST(SerieQt, SondeEtEnumeration) {
  TSerieQt serie;
  EXPECT_EQ(serie.Sonde("/dev/pelitrax-absent"), TPresence::Absent);
  EXPECT_EQ(serie.Sonde("/etc/hostname"), TPresence::Absent);  // not a serial device
  std::filesystem::create_directories("faux_dev");
  for (const char* n : {"ttyS0", "ttyUSB3", "ttyACM0", "ttyS", "tty0", "ttyUSBx"}) EcritFichierSur(std::string("faux_dev/") + n, "");
  TSerieQt factice("faux_dev");
  EXPECT_EQ(factice.Peripheriques(),
            (std::vector<std::string>{"faux_dev/ttyACM0", "faux_dev/ttyS0", "faux_dev/ttyUSB3"}));
}
}  // namespace

// A COM number that names something else than a serial device, or one another program
// holds: the opening fails at once with the port's error, and the engine's binding
// (which probes first) finds no port to use.
TEST(SerieQt, CheminQuiNEstPasUnPortSerie) {
  TBoucleQt boucle;
  TSerieQt serie;
  std::filesystem::create_directories("pas_un_port");
  EcritFichierSur("pas_un_port/fichier", "abc");
  for (const std::string& chemin : {std::string("pas_un_port/fichier"), std::string("pas_un_port"),
                                    std::string("/dev/null"), std::string("pas_un_port/absent")}) {
    SCOPED_TRACE(chemin);
    const std::string variable = "COM3=" + chemin;
    TTablePorts table(serie, nullptr, [&](const std::string& n) -> std::optional<std::string> {
      if (n == TTablePorts::Variable) return variable;
      return std::nullopt;
    });
    EXPECT_FALSE(ExistePort(table, 3));
    TPortSerie port(serie, boucle, table, 3);
    port.SetAutoOpen(false);
    try {
      port.SetOpen(true);
      ADD_FAILURE() << "ouvert";
    } catch (const EPortSerie& e) {
      EXPECT_EQ(std::string(e.what()).rfind("COM3 : ", 0), 0u) << e.what();
      EXPECT_EQ(port.DerniereErreur(), e.what());
    }
    EXPECT_FALSE(port.Open());
  }
}
