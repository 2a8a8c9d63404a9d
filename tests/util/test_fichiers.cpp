// Safe whole-file writing: a failed write, even as root, leaves the old file intact.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "faux_util.h"
#include "util/fichiers.h"

namespace fs = std::filesystem;

namespace {

std::string Ecrit(const fs::path& chemin, const std::string& octets) {
  EXPECT_TRUE(EcritFichierSur(chemin.string(), octets));
  return octets;
}

// The names present in a folder, to see that no temporary file is left behind.
std::vector<std::string> Contenu(const fs::path& dossier) {
  std::vector<std::string> noms;
  for (const auto& e : fs::directory_iterator(dossier)) noms.push_back(e.path().filename().string());
  std::sort(noms.begin(), noms.end());
  return noms;
}

TEST(Fichiers, EcritPuisRelitOctetPourOctet) {
  const auto dossier = DossierDuTest();
  std::string octets;
  for (int i = 0; i < 3 * 256; ++i) octets += static_cast<char>(i);
  Ecrit(dossier / "a.bin", octets);
  EXPECT_EQ(octets, LitFichier((dossier / "a.bin").string()));
}

TEST(Fichiers, RemplaceEntierementSansResteNiTemporaire) {
  const auto dossier = DossierDuTest();
  Ecrit(dossier / "RS232.INI", std::string(5000, 'x'));
  Ecrit(dossier / "RS232.INI", "court");
  EXPECT_EQ("court", LitFichier((dossier / "RS232.INI").string()));
  EXPECT_EQ(std::vector<std::string>{"RS232.INI"}, Contenu(dossier));
}

TEST(Fichiers, GardeLesDroitsDuFichierRemplace) {
  const auto dossier = DossierDuTest();
  const auto chemin = dossier / "config.rs2";
  Ecrit(chemin, "ancien");
  fs::permissions(chemin, fs::perms::owner_read | fs::perms::owner_write);
  Ecrit(chemin, "nouveau");
  EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write, fs::status(chemin).permissions() & fs::perms::mask);
}

TEST(Fichiers, ParUnLienSymboliqueRemplaceLaCible) {
  const auto dossier = DossierDuTest();
  Ecrit(dossier / "vrai.ini", "ancien");
  fs::create_symlink("vrai.ini", dossier / "lien.ini");
  Ecrit(dossier / "lien.ini", "nouveau");
  EXPECT_TRUE(fs::is_symlink(dossier / "lien.ini"));
  EXPECT_EQ("nouveau", LitFichier((dossier / "vrai.ini").string()));
}

// Root ignores permission bits, so each failure below is one that no privilege
// overcomes.
TEST(Fichiers, EchecsSignalesSansRienCreer) {
  const auto dossier = DossierDuTest();
  struct Ligne {
    const char* nom;
    std::string chemin;
  };
  const std::vector<Ligne> lignes = {
      {"dossier_absent", (dossier / "absent" / "RS232.INI").string()},
      {"sous_proc", "/proc/pelitrax-essai.ini"},
      {"fichier_de_proc", "/proc/self/status"},
      {"chemin_vide", ""},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_FALSE(EcritFichierSur(l.chemin, "contenu"));
  }
  EXPECT_FALSE(fs::exists(dossier / "absent"));
  EXPECT_TRUE(Contenu(dossier).empty());
}

TEST(Fichiers, UnDossierALaPlaceDuFichierResteIntact) {
  const auto dossier = DossierDuTest();
  fs::create_directory(dossier / "RS232.INI");
  Ecrit(dossier / "RS232.INI" / "dedans", "garde");
  EXPECT_FALSE(EcritFichierSur((dossier / "RS232.INI").string(), "contenu"));
  EXPECT_TRUE(fs::is_directory(dossier / "RS232.INI"));
  EXPECT_EQ("garde", LitFichier((dossier / "RS232.INI" / "dedans").string()));
  EXPECT_EQ(std::vector<std::string>{"RS232.INI"}, Contenu(dossier));
}

TEST(Fichiers, EcritureInterrompueLaisseLAncienFichier) {
  const auto dossier = DossierDuTest();
  const auto chemin = dossier / "RS232.INI";
  const std::string ancien = Ecrit(chemin, "[Index]\r\nNombre=1\r\n");
  {
    TLimiteTailleFichiers limite(1024);  // the disk "fills up" after 1 KiB
    EXPECT_FALSE(EcritFichierSur(chemin.string(), std::string(64 * 1024, 'n')));
  }
  EXPECT_EQ(ancien, LitFichier(chemin.string()));
  EXPECT_EQ(std::vector<std::string>{"RS232.INI"}, Contenu(dossier));
}

TEST(Fichiers, LitFichierSansFichier) {
  const auto dossier = DossierDuTest();
  EXPECT_FALSE(LitFichier((dossier / "absent").string()).has_value());
  EXPECT_FALSE(LitFichier(dossier.string()).has_value());  // a folder is no file
  Ecrit(dossier / "vide", "");
  EXPECT_EQ(std::string(), LitFichier((dossier / "vide").string()));
}

// Only a regular file is read, and none larger than its reader allows: a FIFO or a
// device (/dev/zero behind a link) would hang the program or read without end.
TEST(Fichiers, LitSeulementUnFichierOrdinaireDeTailleBornee) {
  const auto dossier = DossierDuTest();
  errno = 0;
  EXPECT_FALSE(LitFichier(dossier.string()).has_value());
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(TexteErreurSysteme(EISDIR), "c'est un dossier");

  fs::create_symlink("/dev/zero", dossier / "zero.rs2");
  EXPECT_FALSE(LitFichier((dossier / "zero.rs2").string()).has_value());
  EXPECT_EQ(TexteErreurSysteme(errno), "ce n'est pas un fichier ordinaire");

  // A writer that comes and goes: read as a file, the FIFO would give its bytes.
  const auto fifo = (dossier / "tube.ini").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread ecrivain([&] {
    for (int essai = 0; essai < 200; ++essai) {
      const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        [[maybe_unused]] const auto n = ::write(fd, "[Index]\n", 8);
        ::close(fd);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  EXPECT_FALSE(LitFichier(fifo).has_value());
  ecrivain.join();

  const std::string mille(1000, 'x');
  Ecrit(dossier / "gros", mille);
  EXPECT_EQ(LitFichier((dossier / "gros").string()), mille);
  EXPECT_FALSE(LitFichier((dossier / "gros").string(), 999).has_value());
  EXPECT_EQ(errno, EFBIG);
}

TEST(Fichiers, AjouteAuFichier) {
  const auto dossier = DossierDuTest();
  const auto chemin = (dossier / "RS232.txt").string();
  EXPECT_TRUE(AjouteAuFichier(chemin, "1\t2\r\n"));
  EXPECT_TRUE(AjouteAuFichier(chemin, "3\t4\r\n"));
  EXPECT_EQ("1\t2\r\n3\t4\r\n", LitFichier(chemin));
  EXPECT_FALSE(AjouteAuFichier((dossier / "absent" / "RS232.txt").string(), "x"));
  {
    TLimiteTailleFichiers limite(16);
    EXPECT_FALSE(AjouteAuFichier(chemin, std::string(100, 'z')));
  }
}

}  // namespace
