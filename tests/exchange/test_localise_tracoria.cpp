// Where the analysis program is looked for: its two settings keys, the program's
// folder, the current folder; only an existing file counts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "exchange/localise_tracoria.h"
#include "platform/simule/services_simules.h"

namespace fs = std::filesystem;

namespace {
void Fichier(const fs::path& chemin) {
  fs::create_directories(chemin.parent_path());
  std::ofstream(chemin) << "";
}
}  // namespace

TEST(LocaliseTracoria, OrdreDesCandidats) {
  const fs::path racine = fs::current_path() / "localise";
  struct Cas {
    const char* nom;
    const char* cle1;                  // "Path" of Software\Tracoria\Tracoria (null: absent)
    const char* cle2;                  // "Path" of Software\Tracoria
    std::vector<std::string> fichiers; // created under the case's folder
    const char* attendu;               // relative to the case's folder; "" for none
  };
  const Cas cas[] = {
      {"premiere cle", "a/", "b/", {"a/tracoria.exe", "b/tracoria.exe", "prog/tracoria.exe"}, "a/tracoria.exe"},
      {"premiere cle vide", "", "b/", {"a/tracoria.exe", "b/tracoria.exe"}, "b/tracoria.exe"},
      {"premiere cle sans le programme", "a/", "b/", {"b/tracoria.exe"}, "b/tracoria.exe"},
      {"dossier sans separateur final", nullptr, "b", {"b/tracoria.exe"}, "b/tracoria.exe"},
      {"dossier du programme", "a/", nullptr, {"prog/tracoria.exe"}, "prog/tracoria.exe"},
      {"nom sans extension", nullptr, "b/", {"b/tracoria"}, "b/tracoria"},
      {"extension d'abord", nullptr, "b/", {"b/tracoria", "b/tracoria.exe"}, "b/tracoria.exe"},
      {"un dossier ne compte pas", nullptr, "b/", {"b/tracoria.exe/x"}, ""},
      {"rien", "a/", "b/", {}, ""},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    const fs::path dossier = racine / c.nom;
    fs::remove_all(dossier);
    fs::create_directories(dossier / "prog");
    for (const auto& f : c.fichiers) Fichier(dossier / f);
    TReglagesMemoire reglages;
    if (c.cle1) reglages.Ecrit("Software\\Tracoria\\Tracoria", "Path", c.cle1[0] ? (dossier / c.cle1).string() : "");
    if (c.cle2) reglages.Ecrit("Software\\Tracoria", "Path", (dossier / c.cle2).string());
    TShellSimule shell(racine.string(), (dossier / "prog").string());
    const std::string trouve = LocaliseTracoria(reglages, shell);
    EXPECT_EQ(trouve, c.attendu[0] ? fs::path(dossier / c.attendu).lexically_normal().string() : "");
  }
  fs::remove_all(racine);
}

TEST(LocaliseTracoria, DossierCourantEnDernier) {
  TReglagesMemoire reglages;
  TShellSimule shell(fs::current_path().string(), (fs::current_path() / "vide").string());
  EXPECT_EQ(LocaliseTracoria(reglages, shell), "");
  Fichier(fs::current_path() / "tracoria.exe");
  EXPECT_EQ(LocaliseTracoria(reglages, shell), (fs::current_path() / "tracoria.exe").string());
  fs::remove("tracoria.exe");
}
