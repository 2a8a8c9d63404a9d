// The device database: the instrument models of RS232.INI beside the program (or,
// for an installed program that has no file of its own yet, the shipped one), the
// built-in USB-meter models, the burette, and the file of another device set opened
// for import. One object, built at start-up and handed to whoever needs it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "instruments/appareil.h"
#include "instruments/burette.h"

class TBoucleEvenements;
class TFichierIni;

class TBaseAppareils {
public:
  using TListeAppareils = std::vector<std::unique_ptr<Tappareil>>;

  // `dossierProgramme`: the program's folder (TShell::DossierProgramme), where the
  // database, the help file and the text copy live. The loop serves the burette's
  // waits and outlives the database.
  TBaseAppareils(TBoucleEvenements& boucle, const std::string& dossierProgramme);
  TBaseAppareils(const TBaseAppareils&) = delete;
  TBaseAppareils& operator=(const TBaseAppareils&) = delete;

  // The database carried inside the program for a missing RS232.INI (Windows-1252
  // bytes, as on disk); tests replace it, an empty text means none.
  void SetBaseParDefaut(std::string octets1252) { baseParDefaut_ = std::move(octets1252); }
  // Another device file in place of the program folder's RS232.INI (a headless run
  // given its file); the help file and the text copy stay in the program folder.
  void SetNomFichierIni(std::string chemin) { nomFichierIni_ = std::move(chemin); }
  // The installed program's shared folder (TShell::DossierPartage), read only. While
  // NomFichierIni() does not exist, the models are read from the RS232.INI shipped
  // there (and saved to NomFichierIni(), so the lab's edits survive every update); the
  // help is taken from there when the program folder has none. Empty: none.
  void SetDossierPartage(const std::string& dossier);
  // The file the last load read: NomFichierIni(), the shipped file of the shared
  // folder, or empty for the database carried inside the program.
  const std::string& FichierLu() const { return fichierLu_; }

  // Start-up loading: the models of the file (or of the carried default when the file
  // does not exist), then the built-in USB meters, names made unique, sorted; then the
  // burette. False when the file lists no model or exists and cannot be read:
  // `messageArret` then holds the text the caller shows before stopping the program.
  bool ChargeAppareils(std::string& messageArret);
  // Writes ListeAppareils and the index to NomFichierIni(), erasing the sections of
  // models that are gone. The built-in USB meters are not written (the file cannot
  // say what they are); names are first made unique, so two models never share one
  // section. The burette's section is written when the file has none. False when the
  // file could not be written (the previous one is then left as it was).
  bool SauveAppareils();
  // Writes the burette's section (its settings dialog); false when the file could
  // not be written.
  bool SauveBurette();
  // Fills ListeAppareilsFichier and ListeGrandeursFichier from another device file (a
  // missing file reads as empty).
  void LitFichierAppareils(const std::string& chemin);
  // The first model of ListeAppareils named exactly `nom`, or null.
  Tappareil* ChercheAppareil(const std::string& nom) const;

  const std::string& NomFichierIni() const { return nomFichierIni_; }
  const std::string& NomFichierAide() const { return nomFichierAide_; }
  const std::string& NomFichierTexte() const { return nomFichierTexte_; }

  TburetteRS232& Burette() { return *burette_; }
  const TburetteRS232& Burette() const { return *burette_; }

  // Sorted by NomAppareil; owned. The device dialogs add, edit and remove models here;
  // removing a built-in USB meter must clear the reference below that names it.
  TListeAppareils ListeAppareils;
  // Distinct quantity names of the file's models, in first-seen order.
  std::vector<std::string> ListeGrandeurs;
  TListeAppareils ListeAppareilsFichier;
  std::vector<std::string> ListeGrandeursFichier;
  // Three of the built-in USB meters, inside ListeAppareils (null before loading).
  Tappareil* AppareilPH = nullptr;
  Tappareil* AppareilTension = nullptr;
  Tappareil* AppareilConductivite = nullptr;

  static constexpr const char* SectionIndex = "Index";
  // The help: the user guide in HTML, where Windows had its compiled help file.
  static constexpr const char* NomAide = "aide.html";
  static constexpr const char* SectionBurette = "BuretteRS232";

private:
  // The file; when it does not exist, the shipped file under its name, else the
  // carried default. `lu` receives what was read (see FichierLu).
  TFichierIni OuvreBase(std::string* lu = nullptr) const;
  void AjouteBuiltins();

  std::string nomFichierIni_;
  std::string fichierPartage_;
  std::string fichierLu_;
  std::string nomFichierAide_;
  std::string nomFichierTexte_;
  std::string baseParDefaut_;
  std::unique_ptr<TburetteRS232> burette_;
};

// The database carried inside the program for a missing RS232.INI: the bytes of the
// shipped file (Windows-1252), compiled in when the program is built.
std::string_view FichierCapteurId();

// The quantity as the database shows it: its name in lower case, "conductance" as
// "conductivité", "ph" as "pH", σ and λ for the conductivity and wavelength symbols.
void NormaliseGrandeur(Tappareil& a);
// Reads the models named by the index of `ini` into `liste` and their quantity names
// into `grandeurs`, normalised (lower case, "pH", conductance and wavelength symbols).
void LitModeles(const TFichierIni& ini, TBaseAppareils::TListeAppareils& liste, std::vector<std::string>& grandeurs);
// Gives every model a name no other model has, without regard to case (the section
// names of the file), and none of the reserved section names. A model whose name
// comes again further down the list, or is a built-in USB meter's, gets " (" + its
// symbol + ")", then a number if that is taken too; built-in meters keep theirs.
void RendNomsUniques(TBaseAppareils::TListeAppareils& liste);
