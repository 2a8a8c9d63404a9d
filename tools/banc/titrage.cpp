// Acid-base chemistry and electrode response of the bench titration.
#include "banc/titrage.h"

#include <algorithm>

#include "banc/burette_simulee.h"
#include "banc/phmetre.h"

namespace {
constexpr double Ke = 1e-14;
}  // namespace

TTitrage::TTitrage(TSolutionTitree solution, double constanteTempsMs) : solution_(solution), tau_(constanteTempsMs) {}

double TTitrage::PhEquilibre(double volumeBase) const {
  const TSolutionTitree& s = solution_;
  const double total = s.volumeAcide + s.volumeEau + std::max(volumeBase, 0.0);
  const double acide = s.concentrationAcide * s.volumeAcide / total;               // mol/L, all forms
  const double sodium = s.concentrationBase * std::max(volumeBase, 0.0) / total;   // mol/L
  if (std::isnan(s.pKa)) {
    // [H+] - Ke/[H+] = [Cl-] - [Na+]
    const double d = acide - sodium;
    const double h = d >= 0 ? (d + std::sqrt(d * d + 4 * Ke)) / 2 : 2 * Ke / (-d + std::sqrt(d * d + 4 * Ke));
    return -std::log10(h);
  }
  // [H+] + [Na+] = [OH-] + [A-], increasing in [H+]: bisection on pH.
  const double ka = std::pow(10.0, -s.pKa);
  auto ecart = [&](double ph) {
    const double h = std::pow(10.0, -ph);
    return h + sodium - Ke / h - acide * ka / (ka + h);
  };
  double bas = -2, haut = 16;  // ecart(bas) > 0 > ecart(haut)
  for (int i = 0; i < 60; ++i) {
    const double milieu = (bas + haut) / 2;
    (ecart(milieu) > 0 ? bas : haut) = milieu;
  }
  return (bas + haut) / 2;
}

void TTitrage::Ajoute(std::int64_t debutMs, std::int64_t dureeMs, double volume) {
  if (!(volume > 0)) return;
  // An addition the electrode has already been read past starts now.
  if (instant_) debutMs = std::max(debutMs, *instant_);
  ajouts_.push_back({debutMs, std::max<std::int64_t>(dureeMs, 0), volume});
}

double TTitrage::VolumeAjoute(std::int64_t ms) const {
  double v = volumeAcquis_;
  for (const Ajout& a : ajouts_) {
    if (ms <= a.debut) continue;
    v += a.duree == 0 || ms >= a.debut + a.duree ? a.volume
                                                  : a.volume * static_cast<double>(ms - a.debut) / static_cast<double>(a.duree);
  }
  return v;
}

bool TTitrage::VolumeConstantJusqua(std::int64_t ms) const {
  return std::none_of(ajouts_.begin(), ajouts_.end(), [&](const Ajout& a) { return a.debut < ms; });
}

// Moves the reading along the fixed grid of PasMs up to `ms`, so that it does not
// depend on when it is read.
void TTitrage::Integre(std::int64_t ms) {
  const std::int64_t cible = ms - ms % PasMs;
  while (*instant_ < cible) {
    if (VolumeConstantJusqua(cible)) {
      // No addition under way: the exact exponential approach, in one step.
      const double palier = PhEquilibre(volumeAcquis_);
      lecture_ = palier + (lecture_ - palier) * std::exp(-static_cast<double>(cible - *instant_) / tau_);
      instant_ = cible;
      break;
    }
    const std::int64_t t = *instant_ + PasMs;
    const double palier = PhEquilibre(VolumeAjoute(t));
    lecture_ += (palier - lecture_) * (1 - std::exp(-static_cast<double>(PasMs) / tau_));
    instant_ = t;
    // Additions over by now become part of the beaker.
    std::erase_if(ajouts_, [&](const Ajout& a) {
      if (a.debut + a.duree > t) return false;
      volumeAcquis_ += a.volume;
      return true;
    });
  }
}

double TTitrage::Valeur(std::int64_t ms) {
  if (!instant_) {
    instant_ = ms - ms % PasMs;
    lecture_ = PhEquilibre(VolumeAjoute(*instant_));
  }
  if (ms < *instant_) return lecture_;
  Integre(ms);
  const double palier = PhEquilibre(VolumeAjoute(ms));
  return lecture_ + (palier - lecture_) * (1 - std::exp(-static_cast<double>(ms - *instant_) / tau_));
}

namespace {

// Titrations still waiting for their burette or their pH meter, one pair of slots per
// kind of titration.
struct TAttente {
  std::weak_ptr<TTitrage> sansBurette, sansPhMetre;
};
TAttente& Attente(bool court) {
  static TAttente normale, courte;
  return court ? courte : normale;
}

// The short titration of the demonstration: 5 mL of acid, so the jump comes at 5 mL,
// and a quick electrode.
std::shared_ptr<TTitrage> NouveauTitrage(bool court) {
  if (!court) return std::make_shared<TTitrage>();
  TSolutionTitree solution;
  solution.volumeAcide = 5.0;
  return std::make_shared<TTitrage>(solution, TitrageCourt::ConstanteTempsMs);
}

std::shared_ptr<TTitrage> Rejoint(bool court, bool burette) {
  TAttente& a = Attente(court);
  std::weak_ptr<TTitrage>& attendu = burette ? a.sansBurette : a.sansPhMetre;
  std::weak_ptr<TTitrage>& autre = burette ? a.sansPhMetre : a.sansBurette;
  std::shared_ptr<TTitrage> titrage = attendu.lock();
  attendu.reset();
  if (!titrage) {
    titrage = NouveauTitrage(court);
    autre = titrage;
  }
  return titrage;
}

}  // namespace

std::unique_ptr<TInstrumentBanc> CreeBuretteTitrage(bool court) {
  auto burette = std::make_unique<TBuretteSimulee>(Rejoint(court, true));
  if (court) burette->SetCapacite(TitrageCourt::CapaciteBurette);
  return burette;
}

std::unique_ptr<TInstrumentBanc> CreePhMetreTitrage(bool court) {
  return std::make_unique<TPhMetre>(Rejoint(court, false));
}
