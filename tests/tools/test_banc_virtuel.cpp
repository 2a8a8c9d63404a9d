// banc-virtuel run as a user runs it: one line per instrument, the ready line, real
// answers on the pseudo-terminals, a clean stop on SIGTERM.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QProcess>
#include <chrono>
#include <map>
#include <string>

#include "tools/application_qt.h"

namespace {
struct Banc {
  QProcess processus;
  std::map<std::string, std::pair<int, std::string>> instruments;  // name -> COM, path
  std::string sortie;

  // Starts the program and reads up to its ready line.
  bool Demarre(const QStringList& arguments) {
    processus.start(PELITRAX_BANC, arguments);
    if (!processus.waitForStarted(5000)) return false;
    while (sortie.find("prêt\n") == std::string::npos) {
      if (!processus.waitForReadyRead(5000)) return false;
      sortie += processus.readAllStandardOutput().toStdString();
    }
    std::size_t debut = 0;
    for (std::size_t fin; (fin = sortie.find('\n', debut)) != std::string::npos; debut = fin + 1) {
      const std::string ligne = sortie.substr(debut, fin - debut);
      const auto egal = ligne.find('='), blanc = ligne.find(' ');
      if (ligne.rfind("COM", 0) != 0 || egal == std::string::npos || blanc == std::string::npos) continue;
      instruments[ligne.substr(blanc + 1)] = {std::stoi(ligne.substr(3, egal - 3)), ligne.substr(egal + 1, blanc - egal - 1)};
    }
    return true;
  }
  ~Banc() {
    if (processus.state() != QProcess::NotRunning) {
      processus.kill();
      processus.waitForFinished();
    }
  }
};

// Writes `requete` to the device and reads for `dureeMs`.
std::string Echange(const std::string& chemin, const std::string& requete, int dureeMs) {
  const int fd = ::open(chemin.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return "<ouverture impossible>";
  termios t{};
  ::tcgetattr(fd, &t);
  ::cfmakeraw(&t);
  ::tcsetattr(fd, TCSANOW, &t);
  if (!requete.empty()) [[maybe_unused]] auto n = ::write(fd, requete.data(), requete.size());
  std::string recu;
  const auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds(dureeMs);
  while (std::chrono::steady_clock::now() < fin) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
      char tampon[256];
      const ssize_t n = ::read(fd, tampon, sizeof tampon);
      if (n > 0) recu.append(tampon, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  return recu;
}

TEST(BancVirtuel, SertSesInstrumentsPuisSArreteProprement) {
  AssureApplicationQt();
  Banc banc;
  ASSERT_TRUE(banc.Demarre({})) << banc.sortie;
  ASSERT_EQ(banc.instruments.size(), 3u) << banc.sortie;
  EXPECT_EQ(banc.instruments["pH-metre"].first, 3);
  EXPECT_EQ(banc.instruments["pH-metre-continu"].first, 4);
  EXPECT_EQ(banc.instruments["balance"].first, 5);
  EXPECT_EQ(banc.sortie.rfind("COM3=/dev/pts/", 0), 0u) << banc.sortie;

  const std::string ph = Echange(banc.instruments["pH-metre"].second, "PH?\r", 300);
  ASSERT_EQ(ph.size(), 6u) << ph;
  EXPECT_EQ(ph[2], '.');
  EXPECT_EQ(ph.back(), '\r');
  EXPECT_EQ(Echange(banc.instruments["balance"].second, "SI\r\n", 300), "S S       0.00 g\r\n");
  const std::string flot = Echange(banc.instruments["pH-metre-continu"].second, "", 2200);
  EXPECT_NE(flot.find("\r\npH 3310\r\n"), std::string::npos) << flot;

  banc.processus.terminate();
  ASSERT_TRUE(banc.processus.waitForFinished(3000));
  EXPECT_EQ(banc.processus.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(banc.processus.exitCode(), 0);
}

TEST(BancVirtuel, InstrumentsEtNumerosChoisis) {
  AssureApplicationQt();
  Banc banc;
  ASSERT_TRUE(banc.Demarre({"balance=COM7", "pH-metre"})) << banc.sortie;
  EXPECT_EQ(banc.instruments.size(), 2u);
  EXPECT_EQ(banc.instruments["balance"].first, 7);
  EXPECT_EQ(banc.instruments["pH-metre"].first, 8);

  QProcess mauvais;
  mauvais.start(PELITRAX_BANC, {"voltmetre"});
  ASSERT_TRUE(mauvais.waitForFinished(3000));
  EXPECT_EQ(mauvais.exitCode(), 2);
  EXPECT_NE(mauvais.readAllStandardError().toStdString().find("instrument inconnu « voltmetre »"), std::string::npos);
}
}  // namespace
