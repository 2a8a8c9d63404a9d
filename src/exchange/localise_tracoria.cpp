// Search of the analysis program's executable.
#include "exchange/localise_tracoria.h"

#include <filesystem>
#include <system_error>

#include "platform/reglages.h"
#include "platform/shell.h"

namespace {
bool EstFichier(const std::string& chemin) {
  std::error_code erreur;
  return !chemin.empty() && std::filesystem::is_regular_file(chemin, erreur);
}

// The stored folder is expected to end with its separator; one is added otherwise.
std::string DansDossier(std::string dossier, const std::string& nom) {
  if (!dossier.empty() && dossier.back() != '/' && dossier.back() != '\\') dossier += '/';
  return dossier + nom;
}
}  // namespace

std::vector<std::string> NomsExecutableTracoria() {
#ifdef _WIN32
  return {"tracoria.exe"};
#else
  return {"tracoria.exe", "tracoria"};
#endif
}

std::string LocaliseTracoria(const TReglages& reglages, const TShell& shell) {
  std::vector<std::string> dossiers;
  for (const char* cle : {"Software\\Tracoria\\Tracoria", "Software\\Tracoria"}) {
    const std::string dossier = reglages.LitTexte(cle, "Path", "");
    if (!dossier.empty()) dossiers.push_back(dossier);
  }
  const std::string programme = shell.DossierProgramme();
  if (!programme.empty()) dossiers.push_back(programme);
  for (const std::string& dossier : dossiers)
    for (const std::string& nom : NomsExecutableTracoria()) {
      const std::string chemin = DansDossier(dossier, nom);
      if (EstFichier(chemin)) return chemin;
    }
  for (const std::string& nom : NomsExecutableTracoria())
    if (EstFichier(nom)) {
      std::error_code erreur;
      const auto absolu = std::filesystem::absolute(nom, erreur);
      return erreur ? nom : absolu.string();
    }
  return {};
}
