// pelitrax-cli acquire run as a lab's script runs it, against banc-virtuel on
// pseudo-terminals: the table written, the exit status, the French messages.
#include <gtest/gtest.h>

#include <QProcess>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tools/application_qt.h"

namespace {
const char* const Base = PELITRAX_SOURCE_DIR "/share/RS232.INI";

struct Banc {
  QProcess processus;
  std::map<int, std::string> ports;  // COM -> pseudo-terminal

  bool Demarre(const QStringList& instruments) {
    processus.start(PELITRAX_BANC, instruments);
    if (!processus.waitForStarted(5000)) return false;
    std::string sortie;
    while (sortie.find("prêt\n") == std::string::npos) {
      if (!processus.waitForReadyRead(5000)) return false;
      sortie += processus.readAllStandardOutput().toStdString();
    }
    std::istringstream lignes(sortie);
    for (std::string l; std::getline(lignes, l);)
      if (l.rfind("COM", 0) == 0) ports[std::stoi(l.substr(3))] = l.substr(l.find('=') + 1, l.find(' ') - l.find('=') - 1);
    return true;
  }
  ~Banc() {
    processus.terminate();
    processus.waitForFinished(3000);
  }
};

struct Resultat {
  int statut = -1;
  std::string sortie, erreurs;
};

Resultat Acquiert(const QStringList& arguments, const std::string& entree = {}, int delaiMs = 60000) {
  QProcess p;
  p.start(PELITRAX_CLI, QStringList{"acquire"} + arguments);
  EXPECT_TRUE(p.waitForStarted(5000));
  p.write(entree.data(), static_cast<qint64>(entree.size()));
  p.closeWriteChannel();
  EXPECT_TRUE(p.waitForFinished(delaiMs));
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
          p.readAllStandardError().toStdString()};
}

// A configuration of one channel (Windows-1252: "è" is the byte E8).
void Configuration(const std::string& nom, int mode, int duree, int com) {
  std::ofstream f(nom, std::ios::binary);
  f << "[Acquisition]\r\nDeltat=1\r\nDuree=" << duree << "\r\nNvoies=1\r\nMode=" << mode
    << "\r\nNom0=Banc virtuel pH-m\xe8tre\r\nCOM0=" << com << "\r\n";
}

std::string Lit(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

int Lignes(const std::string& t) { return static_cast<int>(std::count(t.begin(), t.end(), '\n')); }
}  // namespace

TEST(CliAcquire, BaseDeTempsEcritSaTable) {
  AssureApplicationQt();
  Banc banc;
  ASSERT_TRUE(banc.Demarre({"pH-metre=COM3"}));
  Configuration("temps.rs2", 0, 8, 3);
  const Resultat r = Acquiert({"--ini", Base, "--config", "temps.rs2", "--port", QString::fromStdString("COM3=" + banc.ports[3]),
                               "--sortie", "temps.csv", "--image", "temps.png"});
  EXPECT_EQ(r.statut, 0) << r.erreurs;
  const std::string csv = Lit("temps.csv");
  ASSERT_FALSE(csv.empty());
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "t\tpH");
  EXPECT_GE(Lignes(csv), 2 + 9);  // headings and 9 or 10 points
  EXPECT_NE(r.erreurs.find("N="), std::string::npos);  // the live line
  EXPECT_TRUE(std::filesystem::file_size("temps.png") > 1000);
}

TEST(CliAcquire, BarreDEspaceParLignesVides) {
  AssureApplicationQt();
  Banc banc;
  ASSERT_TRUE(banc.Demarre({"pH-metre=COM3"}));
  Configuration("espace.rs2", 1, 120, 3);
  const Resultat r = Acquiert({"--ini", Base, "--config", "espace.rs2", "--port", QString::fromStdString("COM3=" + banc.ports[3]),
                               "--sortie", "espace.txt"},
                              "\n\n\n\n");
  EXPECT_EQ(r.statut, 0) << r.erreurs;
  const std::string txt = Lit("espace.txt");
  EXPECT_EQ(Lignes(txt), 2 + 4);
  EXPECT_EQ(txt.substr(0, txt.find('\r')), "num\tpH");
}

TEST(CliAcquire, EntreeClavier) {
  AssureApplicationQt();
  Banc banc;
  ASSERT_TRUE(banc.Demarre({"pH-metre=COM3"}));
  Configuration("clavier.rs2", 3, 120, 3);
  const Resultat r = Acquiert({"--ini", Base, "--config", "clavier.rs2", "--port", QString::fromStdString("COM3=" + banc.ports[3]),
                               "--sortie", "clavier.csv", "--oui"},
                              "0.5\n1,5\nquatre\n2.5\n");
  EXPECT_EQ(r.statut, 0) << r.erreurs;
  const std::string csv = Lit("clavier.csv");
  EXPECT_EQ(Lignes(csv), 2 + 3);
  EXPECT_NE(csv.find("\n1.5\t"), std::string::npos);
  EXPECT_NE(r.erreurs.find("Nombre mal écrit"), std::string::npos);
}

TEST(CliAcquire, VoieMuetteNommee) {
  AssureApplicationQt();
  Banc banc;
  ASSERT_TRUE(banc.Demarre({"balance=COM3"}));  // a balance answers no "PH?"
  Configuration("muet.rs2", 0, 8, 3);
  const Resultat r = Acquiert({"--ini", Base, "--config", "muet.rs2", "--port", QString::fromStdString("COM3=" + banc.ports[3])});
  EXPECT_EQ(r.statut, 1);
  EXPECT_NE(r.erreurs.find("Aucune valeur reçue en 10 s de : Banc virtuel pH-mètre"), std::string::npos) << r.erreurs;
}

TEST(CliAcquire, MauvaisUsage) {
  AssureApplicationQt();
  struct Cas {
    const char* nom;
    QStringList arguments;
    const char* message;
  };
  const Cas cas[] = {
      {"sans configuration", {"--ini", Base}, "Les options --ini et --config sont obligatoires."},
      {"fichier absent", {"--ini", Base, "--config", "absent.rs2"}, "Fichier introuvable : absent.rs2"},
      {"port mal écrit", {"--ini", Base, "--config", "x.rs2", "--port", "COMx"}, "Port invalide : COMx"},
      {"durée nulle", {"--ini", Base, "--config", "x.rs2", "--duree", "0"}, "Durée invalide : 0"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    const Resultat r = Acquiert(c.arguments);
    EXPECT_EQ(r.statut, 2);
    EXPECT_NE(r.erreurs.find(c.message), std::string::npos) << r.erreurs;
  }
}
