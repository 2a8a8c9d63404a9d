// Configuration files (.rs2): a working set-up (channels, instruments, ports, mode,
// timing) saved and loaded, and their menu items. A file is read and checked whole
// into a TConfigLue before anything of the engine changes, so a file that cannot be
// used leaves the previous set-up as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/etats.h"
#include "plot/graphe.h"

class Tappareil;
class TBaseAppareils;
class TCinetiqueMain;
class TFichierIni;
class TReglages;

namespace configuration {
inline constexpr const char* SectionAcquisition = "Acquisition";
inline constexpr const char* SectionBalayage = "Balayage";
inline constexpr const char* SectionClavier = "Clavier";
inline constexpr const char* Extension = ".rs2";
inline constexpr const char* TitreLecture = "Lecture configuration";
inline constexpr const char* TitreSauvegarde = "Sauvegarde données";
inline constexpr const char* Filtre = "Configuration RS232 (*.rs2)|*.rs2";
inline constexpr const char* ExtensionLecture = "rs2";
inline constexpr const char* ExtensionSauvegarde = "RS2";
inline constexpr const char* MessageErreurEcriture = "Erreur écriture ";
// Bounds of the values read (a file may hold anything).
inline constexpr int DeltatMaxi = 60;
inline constexpr int ComMaxi = 50;
// Registry keys of the persistent settings (the engine reads and writes them at
// start-up and shut-down; the acquisition-mode dialog writes "Actif").
inline constexpr const char* CleAppareilRecent = "Software\\RS232\\AppareilRecent";
inline constexpr const char* CleFichierTrace = "Software\\RS232\\FichierTrace";
}  // namespace configuration

struct TVoieConfig {
  std::string nom;                    // the model's name, as the file gives it
  std::uint16_t com = 1;              // 1..50
  Tappareil* definition = nullptr;    // the model of the database named `nom`
  bool avecSection = false;           // the file holds that model's own section
};

struct TClavierConfig {
  double mini = 0;
  double maxi = 1;
  std::string nom;
  std::string unite;
};

// A configuration file once read and checked: every value in its range, every
// channel bound to a model of the database.
struct TConfigLue {
  std::uint16_t DeltatMesure = 1;
  std::int32_t DureeMesure = 128;
  TModeAcq ModeAcq = maTemps;
  std::int32_t CodeBeep = 0;
  TabscisseMaitre AbscisseMaitre = amTemps;
  // The channels that will be used, in the file's order; a channel whose model the
  // database lacks is left out (and said in `remarques`).
  std::vector<TVoieConfig> voies;
  std::optional<TClavierConfig> clavier;  // the keyboard mode's abscissa
  // What could not be used as it stood, in French, one line each.
  std::vector<std::string> remarques;

  // A configuration with no channel left cannot be applied.
  bool Utilisable() const { return !voies.empty(); }
};

// `nom` with its extension replaced by ".rs2" (or ".rs2" appended).
std::string NomConfiguration(const std::string& nom);
// The decimal form of a real that reads back to the same value: the general format
// with the fewest significant digits (at most 17) that does, with the user's
// decimal separator.
std::string TexteReelCourt(double x);

// Reads and checks `ini` against the database; changes nothing. `abscisse` gives
// the defaults of the keyboard section.
TConfigLue LitFichierConfig(const TFichierIni& ini, const TBaseAppareils& base, const Tmonde& abscisse);

// Loads a configuration file and prepares the acquisition (InitAttente). Nothing
// happens when the file does not exist. When the file cannot be read, or none of its
// channels names a model of the database, the user is told and the set-up stays as
// it was; values out of range or models missing are told too, and the rest applied.
// True when the configuration was applied.
bool LitConfig(TCinetiqueMain& moteur, const std::string& nom);
// Saves the set-up into `nom` (extension ".rs2"); an existing file keeps its other
// sections and keys. On failure "Erreur écriture " + the file's name; false.
bool SauveConfig(TCinetiqueMain& moteur, const std::string& nom);

// Menu item "Charge configuration": the engine is suspended while the open dialog is
// shown; loaded, the new set-up runs; cancelled or refused, the previous one goes on.
void ChargeconfigItemClick(TCinetiqueMain& moteur);
// Menu item "Enregistre configuration": the save dialog, then SauveConfig.
void SauveconfigItemClick(TCinetiqueMain& moteur);

// The trace check box of the acquisition-mode dialog, persisted as "Actif".
bool LitTraceActive(const TReglages& reglages);
void EcritTraceActive(TReglages& reglages, bool actif);
