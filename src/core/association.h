// The association of configuration files (.rs2) with the program on the Linux
// desktop: a MIME type (shared-mime-info) and a desktop entry in the user's data
// folder. Opening such a file starts the program with the file; the single-instance
// check then hands it to the running copy as the command "FILE|LOAD(" + path + ")".
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TAssociation {
  // The user's data folder ($XDG_DATA_HOME or ~/.local/share): the files go into its
  // "applications" and "mime/packages" folders.
  std::string dossierDonnees;
  // The running program's full path.
  std::string executable;
  // Runs a program (its name then its arguments) to refresh the desktop's caches
  // after a change; may be empty (tests).
  std::function<void(const std::vector<std::string>& commande)> lance;
};

// $XDG_DATA_HOME when set to an absolute path, else $HOME/.local/share; empty when
// neither is known. `environnement` reads a variable.
std::string DossierDonneesUtilisateur(
    const std::function<std::optional<std::string>(const std::string&)>& environnement);

// The program's name as the association shows it: the executable's file name without
// its extension.
std::string NomProgramme(const std::string& executable);
// The MIME type of the configuration files: "application/x-" + the name in lower case,
// each character a MIME type cannot hold replaced by '-'.
std::string TypeMimeConfiguration(const std::string& executable);

// The file texts (UTF-8, as the desktop standards want).
std::string TexteTypeMime(const std::string& executable);
// Nothing when the path cannot be written into a desktop entry (a line break in it).
std::optional<std::string> TexteEntreeBureau(const std::string& executable);
// Where they go.
std::string CheminTypeMime(const TAssociation& association);
std::string CheminEntreeBureau(const TAssociation& association);

// Writes both files when they differ from what is there, then refreshes the caches
// (update-mime-database, update-desktop-database). Every error is ignored: the
// program still closes. True when both files are in place.
bool EnregistreAssociation(const TAssociation& association);

// Runs a program and waits for it, its output thrown away; errors ignored.
void LanceEtAttend(const std::vector<std::string>& commande);
