// Shell services: special folders, creating a folder, opening a document or address.
#pragma once

#include <optional>
#include <string>

enum class TDossierShell { Documents = 5, DonneesUtilisateur = 26 };

class TShell {
public:
  virtual ~TShell() = default;
  // The folder's path without a trailing separator, or nothing when the shell fails.
  virtual std::optional<std::string> Dossier(TDossierShell dossier) const = 0;
  virtual bool CreeDossier(const std::string& chemin) = 0;
  // Performs "open" on a document, a program or an address; false on failure.
  virtual bool Ouvre(const std::string& cible) = 0;
  // Folder of the running program, where the device database and help live.
  virtual std::string DossierProgramme() const = 0;
};
