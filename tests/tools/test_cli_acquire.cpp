// pelitrax-cli acquire run as a lab's script runs it, against banc-virtuel on
// pseudo-terminals: the table written, the exit status, the French messages.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "lance_programme.h"
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

using Resultat = TResultatProgramme;

Resultat Acquiert(const QStringList& arguments, const std::string& entree = {}, int delaiMs = 60000,
                  const QProcessEnvironment& environnement = QProcessEnvironment::systemEnvironment()) {
  return LanceProgramme(PELITRAX_CLI, QStringList{"acquire"} + arguments, environnement, delaiMs, entree);
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

// A run followed while it goes: `pendant` runs once the live line shows `temoin`.
struct Suivi {
  QProcess p;
  std::string erreurs;
  void Lance(const QStringList& arguments, const QProcessEnvironment& environnement) {
    p.setProcessEnvironment(environnement);
    p.start(PELITRAX_CLI, QStringList{"acquire"} + arguments);
    EXPECT_TRUE(p.waitForStarted(5000));
    p.closeWriteChannel();
  }
  bool Attend(const std::string& temoin, int delaiMs = 30000) {
    QElapsedTimer t;
    t.start();
    while (erreurs.find(temoin) == std::string::npos) {
      if (t.elapsed() > delaiMs || p.state() == QProcess::NotRunning) return false;
      p.waitForReadyRead(200);
      erreurs += p.readAllStandardError().toStdString();
    }
    return true;
  }
  int Fin() {
    EXPECT_TRUE(p.waitForFinished(60000));
    erreurs += p.readAllStandardError().toStdString();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }
};
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

// Without a picture the run loads Qt Core alone: no graphics or network library,
// neither linked nor loaded later (a laptop on battery, a dozen runs in a classroom).
TEST(CliAcquire, SansImageAucuneBibliothequeGraphiqueNiReseau) {
  AssureApplicationQt();
  Banc banc;
  ASSERT_TRUE(banc.Demarre({"pH-metre=COM3"}));
  Configuration("sobre.rs2", 0, 2, 3);
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("LD_DEBUG", "files");
  const Resultat r = Acquiert({"--ini", Base, "--config", "sobre.rs2", "--port", QString::fromStdString("COM3=" + banc.ports[3]),
                               "--sortie", "sobre.csv"},
                              {}, 60000, env);
  EXPECT_EQ(r.statut, 0) << r.erreurs;
  ASSERT_NE(r.erreurs.find("file=libQt6Core.so"), std::string::npos) << "LD_DEBUG sans effet";
  for (const char* bibliotheque : {"libQt6Gui", "libQt6Widgets", "libQt6Network", "libpelitrax-image"})
    EXPECT_EQ(r.erreurs.find(bibliotheque), std::string::npos) << bibliotheque;
}

// A runner copied without its picture module says so before acquiring anything.
TEST(CliAcquire, ModuleImageAbsentRefuseAvantLAcquisition) {
  AssureApplicationQt();
  std::filesystem::remove_all("seul");
  std::filesystem::create_directories("seul");
  std::filesystem::copy_file(PELITRAX_CLI, "seul/pelitrax-cli");
  Configuration("seul.rs2", 0, 8, 3);
  const Resultat r = LanceProgramme("seul/pelitrax-cli",
                                    {"acquire", "--ini", Base, "--config", "seul.rs2", "--image", "seul.png"},
                                    QProcessEnvironment::systemEnvironment(), 20000);
  EXPECT_EQ(r.statut, 2);
  const std::string dossier = std::filesystem::absolute("seul").string();
  EXPECT_NE(r.erreurs.find("Image impossible : seul.png (module d'image introuvable (" + dossier +
                           "/libpelitrax-image.so, "),
            std::string::npos)
      << r.erreurs;
  EXPECT_FALSE(std::filesystem::exists("seul.png"));
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
      {"dossier pour configuration", {"--ini", Base, "--config", "."}, "Fichier illisible : . (c'est un dossier)"},
      {"port donné deux fois", {"--ini", Base, "--config", "x.rs2", "--port", "COM3=/dev/a", "--port", "com3=/dev/b"},
       "Port donné deux fois : COM3"},
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

// Nothing is sent to a device nobody named: a --port that is no serial device is
// refused with its reason, and so is a channel whose port was not given (the system's
// own serial ports are not the run's).
TEST(CliAcquire, SeulsLesPortsDonnesServent) {
  AssureApplicationQt();
  std::filesystem::create_directories("un-dossier");
  std::ofstream("un-fichier") << "x";
  Configuration("ports.rs2", 0, 8, 3);
  const std::pair<const char*, const char*> refuses[] = {
      {"/dev/null", "ce n'est pas une voie série"},
      {"un-fichier", "ce n'est pas une voie série"},
      {"un-dossier", "c'est un dossier"},
      {"/dev/absent-pelitrax", "périphérique introuvable"},
  };
  for (const auto& [chemin, raison] : refuses) {
    SCOPED_TRACE(chemin);
    const Resultat r = Acquiert({"--ini", Base, "--config", "ports.rs2", "--port", QString("COM3=") + chemin});
    EXPECT_EQ(r.statut, 2);
    EXPECT_NE(r.erreurs.find(std::string("Port refusé : COM3=") + chemin + " (" + raison + ")"), std::string::npos)
        << r.erreurs;
  }
  Banc banc;
  ASSERT_TRUE(banc.Demarre({"pH-metre=COM3"}));
  Configuration("com9.rs2", 0, 8, 9);
  const Resultat r = Acquiert({"--ini", Base, "--config", "com9.rs2", "--port", QString::fromStdString("COM3=" + banc.ports[3])});
  EXPECT_EQ(r.statut, 2);
  EXPECT_NE(r.erreurs.find("Aucun port donné pour COM9 (voie 0 : Banc virtuel pH-mètre)"), std::string::npos) << r.erreurs;
  // A port named twice in the variable is no choice to make silently.
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("PELITRAX_PORTS", QString::fromStdString("COM3=" + banc.ports[3] + ";COM3=/dev/null"));
  const Resultat deux = Acquiert({"--ini", Base, "--config", "ports.rs2"}, {}, 60000, env);
  EXPECT_EQ(deux.statut, 2);
  EXPECT_NE(deux.erreurs.find("PELITRAX_PORTS : COM3 donné deux fois"), std::string::npos) << deux.erreurs;
}

// Where the results go is checked before anything is acquired.
TEST(CliAcquire, SortieImpossibleRefuseeAvantLAcquisition) {
  AssureApplicationQt();
  std::filesystem::create_directories("un-dossier");
  std::filesystem::remove("vers-full.png");
  std::filesystem::create_symlink("/dev/full", "vers-full.png");
  Configuration("sortie.rs2", 0, 8, 3);
  struct Cas {
    QStringList options;
    std::string message;
  };
  const Cas cas[] = {
      {{"--sortie", ""}, "Sortie impossible :  (nom de fichier vide)"},
      {{"--sortie", "absent/t.csv"}, "Sortie impossible : absent/t.csv (dossier absent : fichier ou dossier introuvable)"},
      {{"--sortie", "un-dossier"}, "Sortie impossible : un-dossier (c'est un dossier)"},
      {{"--sortie", "/dev/full"}, "Sortie impossible : /dev/full (ce n'est pas un fichier ordinaire)"},
      {{"--image", "vers-full.png"}, "Image impossible : vers-full.png (ce n'est pas un fichier ordinaire)"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.message);
    const Resultat r = Acquiert(QStringList{"--ini", Base, "--config", "sortie.rs2"} + c.options);
    EXPECT_EQ(r.statut, 2);
    EXPECT_NE(r.erreurs.find(c.message), std::string::npos) << r.erreurs;
  }
}

// A write that fails at the end says why and keeps the table beside the text copy.
TEST(CliAcquire, EcritureFinaleEnEchecDitPourquoiEtGardeLaTable) {
  AssureApplicationQt();
  Banc banc;
  ASSERT_TRUE(banc.Demarre({"pH-metre=COM3"}));
  Configuration("disparu.rs2", 0, 8, 3);
  const auto programme = std::filesystem::absolute("programme-disparu");
  std::filesystem::remove_all(programme);
  std::filesystem::create_directories(programme);
  std::filesystem::create_directories("disparu");
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("PELITRAX_DOSSIER_PROGRAMME", QString::fromStdString(programme.string()));
  Suivi suivi;
  suivi.Lance({"--ini", Base, "--config", "disparu.rs2", "--port", QString::fromStdString("COM3=" + banc.ports[3]),
               "--sortie", "disparu/t.csv", "--image", "disparu/t.png"},
              env);
  ASSERT_TRUE(suivi.Attend("N=1")) << suivi.erreurs;
  std::filesystem::remove_all("disparu");
  EXPECT_EQ(suivi.Fin(), 1) << suivi.erreurs;
  EXPECT_NE(suivi.erreurs.find("Erreur d'écriture de disparu/t.csv (fichier ou dossier introuvable) ; la table de "),
            std::string::npos)
      << suivi.erreurs;
  EXPECT_NE(suivi.erreurs.find("Erreur d'écriture de disparu/t.png (fichier ou dossier introuvable)"), std::string::npos)
      << suivi.erreurs;
  std::string secours;
  for (const auto& e : std::filesystem::directory_iterator(programme))
    if (e.path().filename().string().rfind("RS232-secours-", 0) == 0) secours = e.path().string();
  ASSERT_FALSE(secours.empty()) << suivi.erreurs;
  EXPECT_NE(suivi.erreurs.find("écrite dans " + secours), std::string::npos) << suivi.erreurs;
  EXPECT_EQ(Lit(secours).substr(0, 5), "t\tpH\n");
}

// Ctrl-C keeps what was recorded, however little.
TEST(CliAcquire, InterruptionGardeLesPointsEnregistres) {
  AssureApplicationQt();
  Banc banc;
  ASSERT_TRUE(banc.Demarre({"pH-metre=COM3"}));
  Configuration("interrompu.rs2", 0, 60, 3);
  std::filesystem::remove("interrompu.csv");
  Suivi suivi;
  suivi.Lance({"--ini", Base, "--config", "interrompu.rs2", "--port", QString::fromStdString("COM3=" + banc.ports[3]),
               "--sortie", "interrompu.csv"},
              QProcessEnvironment::systemEnvironment());
  ASSERT_TRUE(suivi.Attend("N=1")) << suivi.erreurs;
  ::kill(static_cast<pid_t>(suivi.p.processId()), SIGINT);
  EXPECT_EQ(suivi.Fin(), 0) << suivi.erreurs;
  const std::string csv = Lit("interrompu.csv");
  EXPECT_GE(Lignes(csv), 2 + 1) << suivi.erreurs;
  EXPECT_LE(Lignes(csv), 2 + 2) << suivi.erreurs;
}

// A port the serial layer cannot open is reported with the layer's reason.
TEST(CliAcquire, PortInutilisableAvecSaRaison) {
  AssureApplicationQt();
  Banc banc;
  ASSERT_TRUE(banc.Demarre({"pH-metre=COM3"}));
  Configuration("occupe.rs2", 0, 8, 3);
  const int fd = ::open(banc.ports[3].c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  const Resultat r = Acquiert({"--ini", Base, "--config", "occupe.rs2", "--port", QString::fromStdString("COM3=" + banc.ports[3])});
  ::close(fd);
  EXPECT_EQ(r.statut, 1);
  EXPECT_NE(r.erreurs.find("Voie série inutilisable pour : Banc virtuel pH-mètre (COM3 : " + banc.ports[3] +
                           " est utilisé par un autre programme)"),
            std::string::npos)
      << r.erreurs;
}
