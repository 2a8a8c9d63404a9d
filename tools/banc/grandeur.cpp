// Readings that drift and settle.
#include "banc/grandeur.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double TDeriveAmortie::Valeur(std::int64_t ms) {
  if (!debut_) debut_ = ms;
  const double t = static_cast<double>(std::max<std::int64_t>(ms - *debut_, 0));
  const double amorti = tau_ > 0 ? std::exp(-t / tau_) : 0.0;
  // The ripple has a period of 1.7 s, unrelated to any polling interval.
  return palier_ + (depart_ - palier_) * amorti + ondulation_ * amorti * std::sin(t * 2 * std::numbers::pi / 1700.0);
}

void TDeriveAmortie::Plonge(std::int64_t ms, double palier) {
  depart_ = Valeur(ms);
  palier_ = palier;
  debut_ = ms;
}

std::int64_t TDeriveAmortie::InstantStable(double ecart) const {
  const double amplitude = std::fabs(depart_ - palier_) + std::fabs(ondulation_);
  const std::int64_t debut = debut_.value_or(0);
  if (amplitude <= ecart || tau_ <= 0) return debut;
  return debut + static_cast<std::int64_t>(std::ceil(tau_ * std::log(amplitude / ecart)));
}
