// The real platform's services: message boxes, QSettings, QLocale, the shell,
// the clipboard, lock files and QLibrary.
#pragma once

#include <QString>

#include "platform/dialogue.h"
#include "platform/divers.h"
#include "platform/regional.h"
#include "platform/reglages.h"
#include "platform/shell.h"

QString VersQString(const std::string& texte);
std::string DepuisQString(const QString& texte);

class TDialogueQt final : public TDialogueUtilisateur {
public:
  // `titre`: the caption of every box ("Acquisition RS232").
  explicit TDialogueQt(std::string titre) : titre_(std::move(titre)) {}
  void Information(const std::string& texte) override;
  void Erreur(const std::string& texte) override;
  void Signale(const std::string& texte) override;
  bool Confirme(const std::string& question) override;
  bool Saisie(const std::string& titre, const std::string& invite, std::string& valeur) override;
  std::optional<std::string> ChoisitFichier(bool enregistrer, const std::string& titre, const std::string& filtre,
                                            const std::string& extension) override;
  void Bip(TBip bip) override;
  bool ToucheEnfoncee(TTouche touche) const override;

private:
  std::string titre_;
};

// Registry keys map to an INI file in the user's configuration folder on Linux
// ("Software\\RS232" -> group "Software/RS232").
class TReglagesQt final : public TReglages {
public:
  TReglagesQt();
  std::optional<std::string> Lit(const std::string& cle, const std::string& nom) const override;
  void Ecrit(const std::string& cle, const std::string& nom, const std::string& valeur) override;
  void Supprime(const std::string& cle, const std::string& nom) override;
  std::vector<std::string> Noms(const std::string& cle) const override;
};

class TRegionalQt final : public TParametresRegionaux {
public:
  char SeparateurDecimal() const override;
  std::string DateCourte(double dateHeure) const override;
  std::string HeureLongue(double dateHeure) const override;
};

class TShellQt final : public TShell {
public:
  std::optional<std::string> Dossier(TDossierShell dossier) const override;
  bool CreeDossier(const std::string& chemin) override;
  bool Ouvre(const std::string& cible) override;
  std::string DossierProgramme() const override;
  std::string DossierPartage() const override;
};

class TPressePapiersQt final : public TPressePapiers {
public:
  void SetTexte(const std::string& texte) override;
  std::string Texte() const override;
};

// Locks are lock files in the runtime folder; a lock left by a dead process is stale
// and taken over.
class TVerrousQt final : public TVerrous {
public:
  bool Existe(const std::string& nom) const override;
  std::unique_ptr<TVerrou> Prend(const std::string& nom) override;
};

class TBibliothequesQt final : public TBibliotheques {
public:
  // The folder looked in first (the simulator libraries, for tests and the demo).
  static constexpr const char* VariableBibliotheques = "PELITRAX_BIBLIOTHEQUES";
  // Looks for "lib" + name + ".so" in that folder when it is set, then beside the
  // program, then in the system's library path.
  std::unique_ptr<TBibliotheque> Charge(const std::string& nomDeBase) override;
};
