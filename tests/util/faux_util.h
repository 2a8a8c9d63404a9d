// Small stand-ins for the platform seams the helpers use: regional settings, the
// shell and the user's answers, plus a per-test scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "platform/dialogue.h"
#include "platform/regional.h"
#include "platform/shell.h"
#include "util/regional_courant.h"

class TRegionalFaux : public TParametresRegionaux {
public:
  explicit TRegionalFaux(char separateur) : separateur_(separateur) {}
  char SeparateurDecimal() const override { return separateur_; }
  std::string DateCourte(double) const override { return {}; }
  std::string HeureLongue(double) const override { return {}; }
  void SetSeparateur(char separateur) { separateur_ = separateur; }

private:
  char separateur_;
};

// Installs a separator for the life of the object, then puts back the default.
class TRegionalInstalle {
public:
  explicit TRegionalInstalle(char separateur) : regional_(separateur) { InstalleRegional(&regional_); }
  ~TRegionalInstalle() { InstalleRegional(nullptr); }
  TRegionalInstalle(const TRegionalInstalle&) = delete;
  TRegionalInstalle& operator=(const TRegionalInstalle&) = delete;
  TRegionalFaux& Regional() { return regional_; }

private:
  TRegionalFaux regional_;
};

class TShellFaux : public TShell {
public:
  std::map<TDossierShell, std::string> dossiers;  // a missing entry is a shell failure
  bool ouvertureReussie = true;
  std::vector<std::string> ouverts, crees;

  std::optional<std::string> Dossier(TDossierShell d) const override {
    const auto it = dossiers.find(d);
    if (it == dossiers.end()) return std::nullopt;
    return it->second;
  }
  bool CreeDossier(const std::string& chemin) override {
    crees.push_back(chemin);
    return false;
  }
  bool Ouvre(const std::string& cible) override {
    ouverts.push_back(cible);
    return ouvertureReussie;
  }
  std::string DossierProgramme() const override { return "/programme"; }
};

class TDialogueFaux : public TDialogueUtilisateur {
public:
  bool reponse = false;
  std::vector<std::string> informations, erreurs, questions;

  void Information(const std::string& texte) override { informations.push_back(texte); }
  void Erreur(const std::string& texte) override { erreurs.push_back(texte); }
  void Signale(const std::string& texte) override { erreurs.push_back(texte); }
  bool Confirme(const std::string& question) override {
    questions.push_back(question);
    return reponse;
  }
  bool Saisie(const std::string&, const std::string&, std::string&) override { return false; }
  std::optional<std::string> ChoisitFichier(bool, const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void Bip(TBip) override {}
  bool ToucheEnfoncee(TTouche) const override { return false; }
};

// Names the instances of a test run once per decimal separator.
inline std::string NomSeparateur(const ::testing::TestParamInfo<char>& info) {
  return info.param == ',' ? "Virgule" : "Point";
}

// A fresh folder for each test inside the scratch working folder of the program.
inline std::filesystem::path DossierDuTest() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string nom = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : nom)
    if (c == '/') c = '_';
  // Under the system temporary folder, so a test run by hand from any folder writes
  // nothing there.
  const auto dossier = std::filesystem::temp_directory_path() / "pelitrax-essais" / nom;
  std::filesystem::remove_all(dossier);
  std::filesystem::create_directories(dossier);
  return dossier;
}

// Makes every write past `octets` fail, as a full disk would, even for root; the
// previous limit comes back at the end of the scope.
class TLimiteTailleFichiers {
public:
  explicit TLimiteTailleFichiers(rlim_t octets) {
    getrlimit(RLIMIT_FSIZE, &avant_);
    ancienSignal_ = std::signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed program
    rlimit limite = avant_;
    limite.rlim_cur = octets;
    setrlimit(RLIMIT_FSIZE, &limite);
  }
  ~TLimiteTailleFichiers() {
    setrlimit(RLIMIT_FSIZE, &avant_);
    std::signal(SIGXFSZ, ancienSignal_);
  }
  TLimiteTailleFichiers(const TLimiteTailleFichiers&) = delete;
  TLimiteTailleFichiers& operator=(const TLimiteTailleFichiers&) = delete;

private:
  rlimit avant_{};
  void (*ancienSignal_)(int) = nullptr;
};
