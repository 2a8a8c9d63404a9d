// In-memory services of the simulated platform.
#include "platform/simule/services_simules.h"

#include <cstdio>
#include <filesystem>

#include "util/durees.h"
#include "util/textes.h"

namespace {
std::pair<std::string, std::string> CleReglage(const std::string& cle, const std::string& nom) {
  return {MinusculesAscii(cle), MinusculesAscii(nom)};
}
}  // namespace

std::optional<std::string> TReglagesMemoire::Lit(const std::string& cle, const std::string& nom) const {
  auto it = valeurs_.find(CleReglage(cle, nom));
  if (it == valeurs_.end()) return std::nullopt;
  return it->second.second;
}

void TReglagesMemoire::Ecrit(const std::string& cle, const std::string& nom, const std::string& valeur) {
  auto& v = valeurs_[CleReglage(cle, nom)];
  if (v.first.empty()) v.first = nom;
  v.second = valeur;
}

void TReglagesMemoire::Supprime(const std::string& cle, const std::string& nom) { valeurs_.erase(CleReglage(cle, nom)); }

std::vector<std::string> TReglagesMemoire::Noms(const std::string& cle) const {
  std::vector<std::string> noms;
  const std::string c = MinusculesAscii(cle);
  for (const auto& [k, v] : valeurs_)
    if (k.first == c) noms.push_back(v.first);
  return noms;
}

std::string TRegionalFixe::DateCourte(double dateHeure) const {
  // Civil date of a day number (days since 1899-12-30; 1970-01-01 is day 25569),
  // by the usual days-to-civil conversion over 400-year eras.
  long z = static_cast<long>(dateHeure) - 25569 + 719468;
  long era = (z >= 0 ? z : z - 146096) / 146097;
  long doe = z - era * 146097;
  long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long y = yoe + era * 400;
  long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long mp = (5 * doy + 2) / 153;
  long d = doy - (153 * mp + 2) / 5 + 1;
  long m = mp + (mp < 10 ? 3 : -9);
  if (m <= 2) ++y;
  char texte[64];
  std::snprintf(texte, sizeof texte, "%02d/%02d/%04d", static_cast<int>(d), static_cast<int>(m), static_cast<int>(y));
  return texte;
}

std::string TRegionalFixe::HeureLongue(double dateHeure) const {
  const THeureDecodee h = DecodeHeure(dateHeure);
  char texte[48];
  std::snprintf(texte, sizeof texte, "%02d:%02d:%02d", h.heure, h.minute, h.seconde);
  return texte;
}

TShellSimule::TShellSimule(std::string racine, std::string dossierProgramme)
    : racine_(std::move(racine)), dossierProgramme_(std::move(dossierProgramme)) {
  if (dossierProgramme_.empty()) dossierProgramme_ = racine_ + "/programme";
}

std::optional<std::string> TShellSimule::Dossier(TDossierShell dossier) const {
  if (echecDossiers_) return std::nullopt;
  switch (dossier) {
    case TDossierShell::Documents: return racine_ + "/Documents";
    case TDossierShell::DonneesUtilisateur: return racine_ + "/donnees";
  }
  return std::nullopt;
}

bool TShellSimule::CreeDossier(const std::string& chemin) {
  std::error_code erreur;
  std::filesystem::create_directories(chemin, erreur);
  return !erreur && std::filesystem::is_directory(chemin);
}

bool TShellSimule::Ouvre(const std::string& cible) {
  ouverts_.push_back(cible);
  return !echecOuverture_;
}

namespace {
class TVerrouMemoire final : public TVerrou {
public:
  TVerrouMemoire(std::shared_ptr<std::set<std::string>> tenus, std::string nom)
      : tenus_(std::move(tenus)), nom_(std::move(nom)) {}
  ~TVerrouMemoire() override { tenus_->erase(nom_); }

private:
  std::shared_ptr<std::set<std::string>> tenus_;
  std::string nom_;
};

class TBibliothequeSimulee final : public TBibliotheque {
public:
  explicit TBibliothequeSimulee(std::map<std::string, void*> symboles) : symboles_(std::move(symboles)) {}
  void* Symbole(const std::string& nom) override {
    auto it = symboles_.find(nom);
    return it == symboles_.end() ? nullptr : it->second;
  }

private:
  std::map<std::string, void*> symboles_;
};
}  // namespace

std::unique_ptr<TVerrou> TVerrousMemoire::Prend(const std::string& nom) {
  if (!tenus_->insert(nom).second) return nullptr;
  return std::make_unique<TVerrouMemoire>(tenus_, nom);
}

std::unique_ptr<TBibliotheque> TBibliothequesSimulees::Charge(const std::string& nomDeBase) {
  auto it = bibliotheques_.find(nomDeBase);
  if (it == bibliotheques_.end()) return nullptr;
  return std::make_unique<TBibliothequeSimulee>(it->second);
}
