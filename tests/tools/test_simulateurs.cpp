// The simulator libraries as the programs load them: pelitrax-cli demarrage reporting
// what it loaded and found, a library lacking entry points or not a library at all,
// and pelitrax-cli acquire recording a USB pH meter, a box input and a bench
// instrument side by side.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "lance_programme.h"
#include "tools/application_qt.h"

namespace fs = std::filesystem;

namespace {
std::string Lit(const fs::path& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}
void Ecrit(const fs::path& chemin, const std::string& texte) { std::ofstream(chemin, std::ios::binary) << texte; }

using Resultat = TResultatProgramme;

Resultat Lance(const QStringList& arguments, const std::map<QString, QString>& variables, int delaiMs = 60000) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PELITRAX_DOSSIER_PROGRAMME", QString::fromStdString(fs::absolute("programme").string()));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  for (const auto& [nom, valeur] : variables) env.insert(nom, valeur);
  return LanceProgramme(PELITRAX_CLI, arguments, env, delaiMs);
}

class Simulateurs : public ::testing::Test {
protected:
  Simulateurs() {
    AssureApplicationQt();
    fs::create_directories("programme");
    fs::copy_file(PELITRAX_SOURCE_DIR "/share/RS232.INI", "programme/RS232.INI", fs::copy_options::overwrite_existing);
  }
  static QString Dossier() { return PELITRAX_SIMULATEURS; }
};

TEST_F(Simulateurs, DemarrageSansConfigurationDeuxMetresEtLeBoitier) {
  const Resultat r = Lance({"demarrage"}, {{"PELITRAX_BIBLIOTHEQUES", Dossier()}});
  EXPECT_EQ(r.statut, 0) << r.erreurs;
  EXPECT_NE(r.sortie.find("Bibliothèque des pH-mètres USB : chargée\n"
                          "  OPH218 (600) /dev/hidraw0 : connecté\n"
                          "  OCD218 (601) /dev/hidraw1 : connecté\n"
                          "Bibliothèque du boîtier d'interface : chargée\n"
                          "  Boîtier : présent\n"),
            std::string::npos)
      << r.sortie;
}

TEST_F(Simulateurs, DemarrageConfigureSansRecompiler) {
  Ecrit("usb.txt", "# two pH meters, one unplugged\nappareil 600 /dev/usb/a connecte\nappareil 600 \"/dev/usb b\" deconnecte\n");
  Ecrit("sp5.txt", "present 0\n");
  const Resultat r = Lance({"demarrage"}, {{"PELITRAX_BIBLIOTHEQUES", Dossier()},
                                           {"PELITRAX_SIMULATEUR_USB", "usb.txt"},
                                           {"PELITRAX_SIMULATEUR_SP5", "sp5.txt"}});
  EXPECT_EQ(r.statut, 0) << r.erreurs;
  EXPECT_NE(r.sortie.find("  OPH218 (600) /dev/usb/a : connecté\n  OPH218 (600) /dev/usb b : non connecté\n"),
            std::string::npos)
      << r.sortie;
  EXPECT_NE(r.sortie.find("  Boîtier : absent\n"), std::string::npos);
  EXPECT_NE(r.erreurs.find("600 ; /dev/usb b non connecté"), std::string::npos) << r.erreurs;
}

TEST_F(Simulateurs, BibliothequeIncompleteOuIllisibleNonChargee) {
  // The USB meters' library under the box's name lacks every box entry point; a file
  // that is no library does not load. Neither is called, neither crashes.
  fs::create_directories("faux");
  fs::copy_file(fs::path(PELITRAX_SIMULATEURS) / "libOrigaMeterUSB.so", "faux/libProgrammationSYSAM_SP5.so",
                fs::copy_options::overwrite_existing);
  Ecrit("faux/libOrigaMeterUSB.so", "pas une bibliothèque");
  const Resultat r = Lance({"demarrage"}, {{"PELITRAX_BIBLIOTHEQUES", QString::fromStdString(fs::absolute("faux").string())}});
  EXPECT_EQ(r.statut, 0) << r.erreurs;
  EXPECT_NE(r.sortie.find("Bibliothèque des pH-mètres USB : absente\n"), std::string::npos) << r.sortie;
  EXPECT_NE(r.sortie.find("Bibliothèque du boîtier d'interface : non chargée (point d'entrée manquant)\n"),
            std::string::npos)
      << r.sortie;
}

struct Banc {
  QProcess processus;
  std::string port3;
  bool Demarre() {
    processus.start(PELITRAX_BANC, {"pH-metre=COM3"});
    if (!processus.waitForStarted(5000)) return false;
    std::string sortie;
    while (sortie.find("prêt\n") == std::string::npos) {
      if (!processus.waitForReadyRead(5000)) return false;
      sortie += processus.readAllStandardOutput().toStdString();
    }
    const auto debut = sortie.find("COM3=") + 5;
    port3 = sortie.substr(debut, sortie.find_first_of(" \n", debut) - debut);
    return true;
  }
  ~Banc() {
    processus.terminate();
    processus.waitForFinished(3000);
  }
};

TEST_F(Simulateurs, AcquisitionPhUSBBoitierEtBancCoteACote) {
  Banc banc;
  ASSERT_TRUE(banc.Demarre());
  // The database with one box input (Windows-1252: "î" is EE).
  std::string ini = Lit("programme/RS232.INI");
  const auto index = ini.find("[Index]\r\n");
  ASSERT_NE(index, std::string::npos);
  ini.insert(index + 9, "99=Bo\xeetier EA1\r\n");
  ini += "\r\n[Bo\xeetier EA1]\r\nisSysam=1\r\nNumero=1\r\nCalibre=1\r\nNom=tension\r\nSymbole=U\r\nUnit\xe9=V\r\n"
         "Mini=-5\r\nMaxi=5\r\nPrecision=4\r\n";
  Ecrit("base.ini", ini);
  Ecrit("cote.rs2", "[Acquisition]\r\nDeltat=1\r\nDuree=4\r\nNvoies=3\r\nMode=0\r\n"
                    "Nom0=OPH218 USB (pH)\r\nCOM0=1\r\nNom1=Bo\xeetier EA1\r\nCOM1=1\r\n"
                    "Nom2=Banc virtuel pH-m\xe8tre\r\nCOM2=3\r\n");
  Ecrit("usb.txt", "appareil 600 /dev/hidraw0\nmesure /dev/hidraw0 pH 6.50 0\nmesure /dev/hidraw0 mV 212.5 0\n");
  // 7 V on a ±5 V range: clipped as the box clips.
  Ecrit("sp5.txt", "EA1 constante 7\n");
  const std::map<QString, QString> env{{"PELITRAX_BIBLIOTHEQUES", Dossier()},
                                       {"PELITRAX_SIMULATEUR_USB", "usb.txt"},
                                       {"PELITRAX_SIMULATEUR_SP5", "sp5.txt"}};
  const QStringList commun{"acquire", "--ini", "base.ini", "--config", "cote.rs2", "--port",
                           QString::fromStdString("COM3=" + banc.port3)};
  Resultat r = Lance(commun + QStringList{"--sortie", "cote.csv"}, env);
  ASSERT_EQ(r.statut, 0) << r.erreurs;
  EXPECT_NE(r.erreurs.find("Ajout pHmètre OPH218"), std::string::npos);
  std::istringstream csv(Lit("cote.csv"));
  std::string ligne;
  std::getline(csv, ligne);
  EXPECT_EQ(ligne, "t\tpH\tU\tpH");
  std::getline(csv, ligne);
  EXPECT_EQ(ligne, "s\t\tV\t");
  int points = 0;
  while (std::getline(csv, ligne)) {
    std::istringstream champs(ligne);
    double t, ph, u, banc7;
    ASSERT_TRUE(champs >> t >> ph >> u >> banc7) << ligne;
    EXPECT_DOUBLE_EQ(ph, 6.5);
    EXPECT_NEAR(u, 5.0, 0.001);
    EXPECT_GT(banc7, 0);
    EXPECT_LT(banc7, 14);
    ++points;
  }
  EXPECT_GE(points, 4);

  // The quantity choice answered by the option: the meter's potential, in volts.
  r = Lance(commun + QStringList{"--sortie", "potentiel.csv", "--usb-ph", "potentiel"}, env);
  ASSERT_EQ(r.statut, 0) << r.erreurs;
  EXPECT_NE(r.erreurs.find("Ajout voltmètre OPH218"), std::string::npos);
  std::istringstream csv2(Lit("potentiel.csv"));
  std::getline(csv2, ligne);
  EXPECT_EQ(ligne, "t\tE\tU\tpH");
  std::getline(csv2, ligne);
  ASSERT_TRUE(std::getline(csv2, ligne));
  EXPECT_EQ(ligne.substr(ligne.find('\t') + 1, 6), "0.2125");

  r = Lance(commun + QStringList{"--usb-ph", "tension"}, env);
  EXPECT_EQ(r.statut, 2);
  EXPECT_NE(r.erreurs.find("Choix USB invalide : tension"), std::string::npos);
}
}  // namespace
