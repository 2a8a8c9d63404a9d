// Axis of the live plot: tick layout, titles, mapping and the recorded column.
#include "plot/monde.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string_view>

#include "util/nombres.h"
#include "util/regional_courant.h"

namespace {

constexpr std::string_view Micro = "\xC2\xB5";  // U+00B5, the micro sign

// Decimal prefixes by power of 1000, from 10^-24 to 10^24.
constexpr std::array<std::string_view, 17> Prefixes = {
    "y", "z", "a", "f", "p", "n", Micro, "m", "", "k", "M", "G", "T", "P", "E", "Z", "Y"};
constexpr int PrefixeZero = 8;

// The step ladder of the tick interval, as a fraction of the power of ten.
constexpr std::array<double, 6> Pas = {0.1, 0.2, 0.5, 1, 2, 5};

}  // namespace

void Tmonde::SetMinMax(double bas, double haut) {
  OrdonneBornes(bas, haut);
  mini = bas;
  maxi = haut;
}

void Tmonde::setDelta() {
  const double amax = std::max(std::fabs(mini), std::fabs(maxi));
  axeDateTime = Unite == "s" && amax > 900;

  // Without a finite, non-empty range there is nothing to lay out; the axis is then
  // drawn bare rather than with a tick loop that could never end.
  const double etendue = maxi - mini;
  if (!(std::isfinite(etendue) && etendue > 0)) {
    deltaAxe = 0;
    pointDebut = mini;
    exposant = 1;
    NbreChiffres = 3;
    return;
  }

  const double c = std::floor(std::log10(etendue));
  double e = etendue * std::pow(10.0, -c);
  if (!std::isfinite(e)) e = etendue / std::pow(10.0, c);  // 10^-c beyond the reals
  std::size_t position = 0;
  while (position + 1 < Pas.size() && e / Pas[position] >= 10) ++position;
  deltaAxe = std::pow(10.0, c) * Pas[position];

  double chiffres = std::ceil(std::log10(amax)) - std::floor(std::log10(deltaAxe));
  pointDebut = std::ceil(mini / deltaAxe) * deltaAxe;
  exposant = std::pow(10.0, 3 * std::floor(c / 3));
  const double o = std::ceil(std::log10(amax / exposant));
  if (o > chiffres) chiffres = o;
  NbreChiffres = std::isfinite(chiffres) ? static_cast<std::uint8_t>(std::clamp(chiffres, 3.0, 4.0)) : 3;

  // Below the smallest normal reals the step can round to nothing.
  if (!(std::isfinite(deltaAxe) && deltaAxe > 0 && std::isfinite(pointDebut))) {
    deltaAxe = 0;
    pointDebut = mini;
  }
  if (!(std::isfinite(exposant) && exposant > 0)) exposant = 1;
}

std::string Tmonde::FormatAxe(double x) const {
  return FormatGeneral(x, std::max<int>(NbreChiffres, 1), 0, SeparateurDecimal());
}

std::string Tmonde::NomAxe(double exposantAxe) const {
  if (Unite.empty()) return Nom;
  std::string u = Unite;
  int k = 0;
  if (exposantAxe > 0 && std::isfinite(exposantAxe))
    k = static_cast<int>(std::lround(std::log10(exposantAxe) / 3));
  // A unit that already carries a prefix letter has it folded into the factor
  // (which also catches "mol/L" and "min": their first letter reads as a prefix).
  if (u.starts_with(Micro)) {
    k -= 2;
    u.erase(0, Micro.size());
  } else if (!u.empty()) {
    switch (u[0]) {
      case 'm': k -= 1; u.erase(0, 1); break;
      case 'M': k += 2; u.erase(0, 1); break;
      case 'k': k += 1; u.erase(0, 1); break;
      default: break;
    }
  }
  if (k == 0) return Nom + "(" + u + ")";
  if (k >= -PrefixeZero && k <= PrefixeZero)
    return Nom + "(" + std::string(Prefixes[k + PrefixeZero]) + u + ")";
  // Beyond the named prefixes the factor is written out.
  return Nom + "(1E" + std::to_string(3 * k) + " " + u + ")";
}

std::int32_t Tmonde::PosWindow(double x) const {
  const double p = std::nearbyint(PixelReel(x));
  if (!(p >= std::numeric_limits<std::int32_t>::min() && p <= std::numeric_limits<std::int32_t>::max()))
    return -1;
  return static_cast<std::int32_t>(p);
}

void Tmonde::chercheMinmax(indiceVecteur n, double& lo, double& hi) const {
  const std::size_t fin = std::min<std::size_t>(n, valeur.size());
  lo = hi = std::numeric_limits<double>::quiet_NaN();
  // A missing value is skipped wherever it stands: one hole at the start must not
  // turn the whole range into no value.
  for (std::size_t i = 0; i < fin; ++i) {
    const double v = valeur[i];
    if (std::isnan(v)) continue;
    if (std::isnan(lo)) {
      lo = hi = v;
    } else if (v < lo) {
      lo = v;
    } else if (v > hi) {
      hi = v;
    }
  }
  if (std::isnan(lo)) {
    lo = mini;
    hi = maxi;
    return;
  }
  const double marge = (maxi - mini) / 50;
  lo -= marge;
  if (lo < mini) lo = mini;
  hi += marge;
  if (hi > maxi) hi = maxi;
}

std::vector<double> Tmonde::Graduations(double fractionZero) const {
  std::vector<double> t;
  if (!(deltaAxe > 0)) return t;
  const double seuil = (maxi - mini) / fractionZero;
  // Each tick is a whole multiple of the step rather than a running sum, so the
  // values stay exact and the loop ends even where adding the step changes nothing.
  const double premier = std::ceil(mini / deltaAxe);
  for (int k = 0; k < MaxGraduations; ++k) {
    double v = k == 0 ? pointDebut : (premier + k) * deltaAxe;
    if (k > 0 && !(v < maxi)) break;
    if (std::fabs(v) < seuil) v = 0;
    t.push_back(v);
  }
  return t;
}

void Tmonde::BornesDeTrace(double bas, double haut, double& lo, double& hi) {
  lo = bas;
  hi = haut;
  if (lo > hi) std::swap(lo, hi);
  if (lo == hi) {
    const double d = lo == 0 ? 1 : std::fabs(lo) / 2;
    lo -= d;
    hi += d;
  }
  if (!(std::isfinite(lo) && std::isfinite(hi) && lo < hi)) {
    lo = 0;
    hi = 1;
  }
}

void Tmonde::SetEchelle(double lo, double hi, int pixelLo, int pixelHi) {
  // Halves on both sides: the same quotient, and a range wider than the largest
  // real (-1e308..1e308) still gives a finite scale.
  a = (static_cast<double>(pixelHi - pixelLo) / 2) / (hi / 2 - lo / 2);
  b = pixelLo - lo * a;
}

double Tmonde::MondeDePixel(double pixel) const {
  if (a == 0 || !std::isfinite(a) || !std::isfinite(b)) return std::numeric_limits<double>::quiet_NaN();
  const double x = (pixel - b) / a;
  return std::isfinite(x) ? x : std::numeric_limits<double>::quiet_NaN();
}
