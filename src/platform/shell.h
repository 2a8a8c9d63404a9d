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
  // Folder of the running program, where the lab's device database and the text copy
  // live (writable).
  virtual std::string DossierProgramme() const = 0;
  // The installed program's shared data (the shipped device database, the help), read
  // only and replaced by each update; empty when the program is not installed (a build
  // folder, a portable copy), whose files are all in DossierProgramme.
  virtual std::string DossierPartage() const { return {}; }
};
