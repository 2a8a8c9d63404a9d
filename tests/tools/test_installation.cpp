// The install into a scratch root, as the package lays it out: every file in its place,
// and the installed pelitrax-cli finding the shipped data from there, keeping the lab's
// own device file in the user's data folder across an update.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <filesystem>
#include <string>

#include "lance_programme.h"
#include "util/fichiers.h"

namespace fs = std::filesystem;

namespace {
using Resultat = TResultatProgramme;

Resultat Lance(const QString& programme, const QStringList& arguments, const QProcessEnvironment& env, int delaiMs) {
  return LanceProgramme(programme, arguments, env, delaiMs);
}

class Installation : public ::testing::Test {
protected:
  void SetUp() override {
    racine = fs::current_path() / "racine";
    fs::remove_all(racine);
    env = QProcessEnvironment::systemEnvironment();
    env.remove("PELITRAX_DOSSIER_PROGRAMME");
    env.insert("PELITRAX_PORTS", "COM3=/dev/pelitrax-absent");
    env.insert("DESTDIR", QString::fromStdString(racine.string()));
  }
  // Installs (or updates) the build under the scratch root, with the package's prefix.
  void Installe() {
    const Resultat r = Lance(PELITRAX_CMAKE, {"--install", PELITRAX_BINAIRES, "--prefix", "/usr"}, env, 60000);
    ASSERT_EQ(r.statut, 0) << r.sortie << r.erreurs;
  }
  Resultat Cli(const QStringList& arguments) {
    return Lance(QString::fromStdString((racine / "usr/bin/pelitrax-cli").string()), arguments, env, 20000);
  }

  fs::path racine;
  QProcessEnvironment env;
};

TEST_F(Installation, ChaqueFichierASaPlace) {
  Installe();
  const fs::path usr = racine / "usr";
  for (const char* f : {"bin/Pelitrax", "bin/pelitrax-cli", "bin/banc-virtuel", "share/pelitrax/RS232.INI",
                        "share/pelitrax/aide.html", "share/applications/org.pelitrax.Pelitrax.desktop",
                        "share/mime/packages/pelitrax.xml", "share/metainfo/org.pelitrax.Pelitrax.metainfo.xml",
                        "share/icons/hicolor/scalable/apps/pelitrax.svg", "share/icons/hicolor/16x16/apps/pelitrax.png",
                        "share/icons/hicolor/48x48/apps/pelitrax.png", "share/icons/hicolor/256x256/apps/pelitrax.png"})
    EXPECT_TRUE(fs::is_regular_file(usr / f)) << f;
  EXPECT_TRUE(fs::is_regular_file(usr / "share/man/man1/pelitrax-cli.1.gz") ||
              fs::is_regular_file(usr / "share/man/man1/pelitrax-cli.1"));
  // Nothing of the lab's beside the programs: an update must not find a file to replace.
  EXPECT_FALSE(fs::exists(usr / "bin/RS232.INI"));
  // The menu entry starts an installed program and names an installed icon and type.
  const std::string entree = LitFichier((usr / "share/applications/org.pelitrax.Pelitrax.desktop").string()).value_or("");
  EXPECT_NE(entree.find("\nExec=Pelitrax %f\n"), std::string::npos);
  EXPECT_NE(entree.find("\nIcon=pelitrax\n"), std::string::npos);
  EXPECT_NE(entree.find("\nCategories=Education;Science;"), std::string::npos);
  const std::string types = LitFichier((usr / "share/mime/packages/pelitrax.xml").string()).value_or("");
  EXPECT_NE(entree.find("MimeType=application/x-pelitrax;"), std::string::npos);
  EXPECT_NE(types.find("<mime-type type=\"application/x-pelitrax\">"), std::string::npos);
  EXPECT_NE(types.find("<glob pattern=\"*.rs2\"/>"), std::string::npos);
  EXPECT_NE(types.find("<glob pattern=\"*.qw3\"/>"), std::string::npos);

  const Resultat aide = Cli({"--help"});
  EXPECT_EQ(aide.statut, 0) << aide.erreurs;

  // The installed runner finds its picture module: a run with --image goes past it
  // (and stops at the absent port).
  ASSERT_TRUE(EcritFichierSur("installe.rs2", "[Acquisition]\r\nDeltat=1\r\nDuree=8\r\nNvoies=1\r\nMode=0\r\n"
                                              "Nom0=Banc virtuel pH-m\xe8tre\r\nCOM0=3\r\n"));
  const Resultat image = Cli({"acquire", "--ini", QString::fromStdString((usr / "share/pelitrax/RS232.INI").string()),
                              "--config", "installe.rs2", "--image", "installe.png"});
  EXPECT_NE(image.statut, 0);
  EXPECT_EQ(image.erreurs.find("module d'image"), std::string::npos) << image.erreurs;
  EXPECT_NE(image.erreurs.find("COM3"), std::string::npos) << image.erreurs;
}

TEST_F(Installation, LeProgrammeInstalleLitLaBaseLivreeEtGardeCelleDuLaboratoire) {
  Installe();
  const std::string livree = (racine / "usr/share/pelitrax/RS232.INI").string();
  // The lab's file goes to the user's data folder (the test's own, see main_test.cpp).
  const fs::path donnees = fs::path(env.value("XDG_DATA_HOME").toStdString()) / "pelitrax";
  fs::remove_all(donnees);
  const std::string laboratoire = (donnees / "RS232.INI").string();

  Resultat r = Cli({"demarrage"});
  ASSERT_EQ(r.statut, 0) << r.sortie << r.erreurs;
  EXPECT_NE(r.sortie.find("Base d'appareils : " + laboratoire + " ("), std::string::npos) << r.sortie;
  EXPECT_NE(r.sortie.find("Base d'appareils lue dans : " + livree + "\n"), std::string::npos) << r.sortie;
  EXPECT_NE(r.sortie.find("\n  Banc virtuel pH-mètre\n"), std::string::npos);

  // The lab's own file, then an update: the file stays and is the one read.
  fs::create_directories(donnees);
  ASSERT_TRUE(EcritFichierSur(laboratoire, "[Index]\r\n0=Conductimetre du labo\r\n\r\n[Conductimetre du labo]\r\n"
                                           "Nom=conductivite\r\nSymbole=s\r\nUnite=mS/cm\r\n"));
  const auto avant = LitFichier(laboratoire);
  Installe();
  r = Cli({"demarrage"});
  ASSERT_EQ(r.statut, 0) << r.sortie << r.erreurs;
  EXPECT_EQ(r.sortie.find("Base d'appareils lue dans"), std::string::npos) << r.sortie;
  EXPECT_NE(r.sortie.find("\n  Conductimetre du labo\n"), std::string::npos) << r.sortie;
  EXPECT_EQ(r.sortie.find("\n  Banc virtuel pH-mètre\n"), std::string::npos);
  EXPECT_EQ(LitFichier(laboratoire), avant);
}
}  // namespace
