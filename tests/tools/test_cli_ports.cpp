// pelitrax-cli ports run as a user runs it: the table the variable gives, each device
// probed present, busy or absent.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <memory>
#include <string>

#include "lance_programme.h"
#include "tools/application_qt.h"

#include "banc/banc_pty.h"
#include "banc/phmetre.h"

namespace {
using Resultat = TResultatProgramme;

Resultat Ports(const std::string& variable) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PELITRAX_PORTS", QString::fromStdString(variable));
  return LanceProgramme(PELITRAX_CLI, {"ports"}, env, 10000);
}

TEST(CliPorts, TableDeLaVariableAvecEtats) {
  AssureApplicationQt();
  TBancPty banc;
  const std::string libre = banc.Ajoute(std::make_unique<TPhMetre>());
  const std::string tenu = banc.Ajoute(std::make_unique<TPhMetre>());
  ASSERT_FALSE(libre.empty());
  banc.Demarre();
  // Another program holds the second device.
  QProcess autre;
  autre.start(QStandardPaths::findExecutable("flock"), {QString::fromStdString(tenu), "cat"});
  ASSERT_TRUE(autre.waitForStarted());
  QThread::msleep(300);

  const Resultat r = Ports("COM12=" + tenu + ";COM3=" + libre + ";COM4=/dev/pelitrax-absent;bidule");
  autre.closeWriteChannel();
  autre.waitForFinished();
  EXPECT_EQ(r.statut, 0);
  const auto ligne = [](const std::string& com, const std::string& chemin, const std::string& etat) {
    std::string l = com + std::string(7 - com.size(), ' ') + chemin;
    l += std::string(40 - chemin.size(), ' ') + etat;
    const std::size_t largeurEtat = etat == "présent" ? 7 : 6;  // characters, not bytes
    return l + std::string(9 - largeurEtat, ' ') + "PELITRAX_PORTS\n";
  };
  EXPECT_EQ(r.sortie, "COM    périphérique                            état     origine\n" +
                          ligne("COM3", libre, "présent") + ligne("COM4", "/dev/pelitrax-absent", "absent") +
                          ligne("COM12", tenu, "occupé"));
  EXPECT_EQ(r.erreurs, "PELITRAX_PORTS : entrée ignorée « bidule »\n");
}

TEST(CliPorts, TableVide) {
  const Resultat r = Ports("");
  EXPECT_EQ(r.statut, 0);
  EXPECT_EQ(r.sortie, "Aucun port série.\n");
}
}  // namespace
