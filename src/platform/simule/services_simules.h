// The simulated platform's other services: in-memory settings, fixed regional
// settings, a shell over a scratch folder, clipboard, named locks, vendor libraries.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/divers.h"
#include "platform/regional.h"
#include "platform/reglages.h"
#include "platform/shell.h"

class TReglagesMemoire final : public TReglages {
public:
  std::optional<std::string> Lit(const std::string& cle, const std::string& nom) const override;
  void Ecrit(const std::string& cle, const std::string& nom, const std::string& valeur) override;
  void Supprime(const std::string& cle, const std::string& nom) override;
  std::vector<std::string> Noms(const std::string& cle) const override;

private:
  // Registry names ignore case: stored under their lower-case form, with the first spelling.
  std::map<std::pair<std::string, std::string>, std::pair<std::string, std::string>> valeurs_;
};

class TRegionalFixe final : public TParametresRegionaux {
public:
  explicit TRegionalFixe(char separateur = ',') : separateur_(separateur) {}
  void SetSeparateur(char separateur) { separateur_ = separateur; }
  char SeparateurDecimal() const override { return separateur_; }
  std::string DateCourte(double dateHeure) const override;   // dd/mm/yyyy
  std::string HeureLongue(double dateHeure) const override;  // hh:mm:ss

private:
  char separateur_;
};

class TShellSimule final : public TShell {
public:
  // Every special folder lives under `racine` (a test's scratch folder).
  explicit TShellSimule(std::string racine, std::string dossierProgramme = {});
  std::optional<std::string> Dossier(TDossierShell dossier) const override;
  bool CreeDossier(const std::string& chemin) override;
  bool Ouvre(const std::string& cible) override;
  std::string DossierProgramme() const override { return dossierProgramme_; }

  void SetEchecDossiers(bool echec) { echecDossiers_ = echec; }
  void SetEchecOuverture(bool echec) { echecOuverture_ = echec; }
  const std::vector<std::string>& Ouverts() const { return ouverts_; }

private:
  std::string racine_;
  std::string dossierProgramme_;
  bool echecDossiers_ = false;
  bool echecOuverture_ = false;
  std::vector<std::string> ouverts_;
};

class TPressePapiersMemoire final : public TPressePapiers {
public:
  void SetTexte(const std::string& texte) override { texte_ = texte; }
  std::string Texte() const override { return texte_; }

private:
  std::string texte_;
};

class TVerrousMemoire final : public TVerrous {
public:
  bool Existe(const std::string& nom) const override { return tenus_->count(nom) != 0; }
  std::unique_ptr<TVerrou> Prend(const std::string& nom) override;

private:
  std::shared_ptr<std::set<std::string>> tenus_ = std::make_shared<std::set<std::string>>();
};

// Libraries registered by the test, each a table of entry points.
class TBibliothequesSimulees final : public TBibliotheques {
public:
  void Enregistre(const std::string& nomDeBase, std::map<std::string, void*> symboles) {
    bibliotheques_[nomDeBase] = std::move(symboles);
  }
  std::unique_ptr<TBibliotheque> Charge(const std::string& nomDeBase) override;

private:
  std::map<std::string, std::map<std::string, void*>> bibliotheques_;
};
